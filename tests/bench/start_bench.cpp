// Start-up cost of tolvane.exe against its floor (OLE, the home page, a plain
// window) and a bare window, each started as a process of its own in one Wine
// session, alternating, and closed with WM_CLOSE once visible. Prints medians
// and the ratios to the floor. Not a test: it asserts nothing.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/driver.h"

namespace {

struct Sample {
    double visibleMs, peakMiB, cpuMs;
};

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double FileTimeMs(const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
}

bool RunOnce(const std::string& exe, Sample* out) {
    e2e::LaunchOptions options;
    options.exe = exe;
    options.lifetimeMs = 30000;
    const double start = NowMs();
    auto program = e2e::Process::Launch(options);
    if (!program) return false;
    HWND shown = nullptr;
    // A short poll: the window's appearance is the measure.
    while (!shown && program->Running() && NowMs() - start < 20000) {
        shown = e2e::FindMainWindow(program->Id());
        if (!shown) Sleep(1);
    }
    if (!shown) return false;
    out->visibleMs = NowMs() - start;
    // Read while the process lives: an ended process has no counters here.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(program->Handle(), &memory, sizeof memory)) return false;
    out->peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    PostMessageA(shown, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (!program->WaitForExit(10000, &code)) return false;
    FILETIME created, exited, kernel, user;
    GetProcessTimes(program->Handle(), &created, &exited, &kernel, &user);
    out->cpuMs = FileTimeMs(kernel) + FileTimeMs(user);
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (!e2e::UseFakeBrowser()) return 1;  // the home page must not reach a real browser
    const std::string bin = e2e::ToWinePath(e2e::EnvVar("TOLVANE_TEST_BIN"));
    struct Subject {
        const char* name;
        std::string exe;
        std::vector<double> visible, peak, cpu;
    } subjects[] = {{"bare window", bin + "\\bench_bare_window.exe"},
                    {"floor (OLE, home page, plain window)", bin + "\\bench_floor.exe"},
                    {"tolvane.exe", e2e::ProgramPath()}};
    for (Subject& s : subjects) {  // warm the file cache once, unmeasured
        Sample ignored;
        RunOnce(s.exe, &ignored);
    }
    for (int i = 0; i < runs; ++i) {
        for (Subject& s : subjects) {
            Sample sample;
            if (!RunOnce(s.exe, &sample)) {
                std::fprintf(stderr, "%s: no visible window\n", s.name);
                return 1;
            }
            s.visible.push_back(sample.visibleMs);
            s.peak.push_back(sample.peakMiB);
            s.cpu.push_back(sample.cpuMs);
        }
    }
    const Subject& floor = subjects[1];
    const double fv = Median(floor.visible), fp = Median(floor.peak), fc = Median(floor.cpu);
    std::printf("| start, medians of %d alternating runs | to visible | peak working set | CPU |\n", runs);
    std::printf("|---|---|---|---|\n");
    for (const Subject& s : subjects) {
        const double v = Median(s.visible), p = Median(s.peak), c = Median(s.cpu);
        std::printf("| %s | %.0f ms (%.2f) | %.1f MiB (%.2f) | %.0f ms (%.2f) |\n", s.name, v, v / fv, p, p / fp, c,
                    c / fc);
    }
    std::printf("\nratios of tolvane.exe to the floor: start %.2f (goal <= 1.25), memory %.2f (goal <= 1.25), "
                "CPU %.2f (goal <= 1.10)\n",
                Median(subjects[2].visible) / fv, Median(subjects[2].peak) / fp, Median(subjects[2].cpu) / fc);
    return 0;
}
