// Timings of the window's hot paths and of a start, for scripts/bench.sh.
// Not a test: it prints numbers and asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/inproc/program_window.h"
#include "toolkit/control_table.h"
#include "toolkit/win/control_services.h"

using namespace tolvane;

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Median of `rounds` timed runs of `step`, in microseconds, the paint included.
template <typename F>
double Median(HWND main, int rounds, F step) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        const double start = Now();
        step(i);
        inproc::Drain(main);
        samples.push_back(Now() - start);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace

int main() {
    const int rounds = 500;
    if (!e2e::UseFakeBrowser()) return 1;  // the window opens its home page as it is built
    double start = Now();
    inproc::ProgramWindow window{BuildProgramWindow(GetModuleHandleA(nullptr))};
    const double build = Now() - start;
    HWND main = window.hwnd;
    if (!main) return 1;
    inproc::Drain(main);
    HWND page = PageControlWindow();
    SetVisibleFlag(kClockLabel, true);

    const double pageSwitch = Median(main, rounds, [](int i) { SelectPage((i + 1) % kPageCount); });
    SelectPage(0);
    const LPARAM spots[2] = {MAKELPARAM(30, 12), MAKELPARAM(100, 12)};
    const double hover = Median(main, rounds, [&](int i) { SendMessageA(page, WM_MOUSEMOVE, 0, spots[i % 2]); });
    const double caption = Median(main, rounds, [](int i) {
        char text[48];
        std::snprintf(text, sizeof text, "2026年12月7日8时%d分%d秒", i % 60, (i * 7) % 60);
        SetLabelCaption(kClockLabel, text);
    });
    HWND about = ControlWindow(kAboutButton);
    const double buttonRepaint =
        Median(main, rounds, [&](int) { RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    const double focus = Median(main, rounds, [](int i) { FocusControl(i % 2 ? kAboutButton : kInstallFolderBox); });
    window.Destroy();

    // A whole start, as the user sees it: process creation to a visible window.
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) {
        start = Now();
        auto program = e2e::Process::Launch(e2e::LaunchOptions{});
        HWND shown = program ? program->WaitForMainWindow(30000) : nullptr;
        if (shown) starts.push_back(Now() - start);
        if (shown) PostMessageA(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
        DWORD code;
        if (program) program->WaitForExit(10000, &code);
    }
    std::sort(starts.begin(), starts.end());

    std::printf("| what | median |\n|---|---|\n");
    std::printf("| build the window in-process (skin, registry, banner, home page) | %.1f ms |\n", build / 1000);
    std::printf("| page switch, painted | %.0f us |\n", pageSwitch);
    std::printf("| hover change of a tab, painted | %.0f us |\n", hover);
    std::printf("| clock caption change, painted with what lies beneath | %.0f us |\n", caption);
    std::printf("| push button repaint (the About button) | %.0f us |\n", buttonRepaint);
    std::printf("| focus change between edit box 1 and the About button, painted | %.0f us |\n", focus);
    if (!starts.empty())
        std::printf("| start of tolvane.exe to a visible window (%zu runs) | %.0f ms |\n", starts.size(),
                    starts[starts.size() / 2] / 1000);
    return 0;
}
