#include <cstdlib>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/browser.h"

namespace e2e {

std::string EnvVar(const char* name) {
    char buf[4096];
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return (n == 0 || n >= sizeof buf) ? std::string() : std::string(buf, n);
}

std::string ToWinePath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/') return unixPath;
    std::string out = "Z:" + unixPath;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string ProgramPath() { return ToWinePath(EnvVar("TOLVANE_EXE")); }

namespace {
VOID CALLBACK KillOnDeadline(PVOID process, BOOLEAN) {
    // A program that outlives its test would keep the shared desktop busy for
    // every later test; end it rather than wait.
    TerminateProcess(static_cast<HANDLE>(process), 0xDEAD);
}
}  // namespace

std::unique_ptr<Process> Process::Launch(const LaunchOptions& options, std::string* error) {
    const std::string exe = options.exe.empty() ? ProgramPath() : options.exe;
    if (exe.empty()) {
        if (error) *error = "no program: TOLVANE_EXE is not set";
        return nullptr;
    }
    // No program started from a test may ever reach a real web browser.
    if (!UseFakeBrowser(error)) return nullptr;
    std::string command = "\"" + exe + "\"";
    if (!options.arguments.empty()) command += " " + options.arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const char* dir = options.workingDir.empty() ? nullptr : options.workingDir.c_str();
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        dir, &si, &pi)) {
        if (error) *error = "CreateProcess(" + exe + ") failed, error " + std::to_string(GetLastError());
        return nullptr;
    }
    std::unique_ptr<Process> p(new Process);
    p->process_ = pi.hProcess;
    p->pid_ = pi.dwProcessId;
    // The job ends the child too if this test process dies without running
    // its destructors (a crash, a ctest timeout).
    p->job_ = CreateJobObjectA(nullptr, nullptr);
    if (p->job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(p->job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(p->job_, pi.hProcess);
    }
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    if (options.lifetimeMs)
        CreateTimerQueueTimer(&p->watchdog_, nullptr, KillOnDeadline, p->process_, options.lifetimeMs, 0,
                              WT_EXECUTEONLYONCE);
    return p;
}

Process::~Process() {
    if (watchdog_) DeleteTimerQueueTimer(nullptr, watchdog_, INVALID_HANDLE_VALUE);
    Kill();
    if (job_) CloseHandle(job_);
    if (process_) CloseHandle(process_);
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_) return false;
    // Pump while waiting: the program may be sending us nothing, but a
    // non-pumping waiter can stall broadcasts that the program's shutdown sends.
    const bool ended = WaitFor([this] { return !Running(); }, timeoutMs, 20);
    if (!ended) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (exitCode) *exitCode = code;
    return true;
}

HWND Process::WaitForMainWindow(DWORD timeoutMs, DWORD pollMs, std::vector<HWND>* boxes) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            found = FindMainWindow(pid_);
            if (boxes) *boxes = MessageBoxes(pid_);
            return found != nullptr || (boxes && !boxes->empty()) || !Running();
        },
        timeoutMs, pollMs);
    return found;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
}

}  // namespace e2e
