#include <tlhelp32.h>

#include <cstdlib>

#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/driver.h"

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

std::wstring WideOf(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

namespace {

// The linked token of this process's own: under Wine 8 every process holds an
// elevated administrator's token, whose linked token is a limited one, and
// CreateProcessAsUser honours it (the child reports TokenElevationTypeLimited).
tolvane::KernelHandle LimitedToken() {
    tolvane::KernelHandle own;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, own.Receive())) return {};
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    return tolvane::KernelHandle(
        GetTokenInformation(own.Get(), TokenLinkedToken, &linked, sizeof linked, &size) ? linked.LinkedToken : nullptr);
}

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
    // Wide from here on: the program may lie in a folder code page 936 cannot spell.
    const std::wstring wide = options.wideExe.empty() ? WideOf(exe) : options.wideExe;
    std::wstring command = L"\"" + wide + L"\"";
    if (!options.arguments.empty()) command += L" " + WideOf(options.arguments);
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    const std::wstring dir = WideOf(options.workingDir);

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    tolvane::KernelHandle token;
    if (options.limitedToken && !(token = LimitedToken())) {
        if (error) *error = "no limited token: error " + std::to_string(GetLastError());
        return nullptr;
    }
    const BOOL started =
        token ? CreateProcessAsUserW(token.Get(), wide.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                     nullptr, dir.empty() ? nullptr : dir.c_str(), &si, &pi)
              : CreateProcessW(wide.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                               dir.empty() ? nullptr : dir.c_str(), &si, &pi);
    const DWORD failure = GetLastError();
    if (!started) {
        if (error) *error = "CreateProcess(" + exe + ") failed, error " + std::to_string(failure);
        return nullptr;
    }
    std::unique_ptr<Process> p(new Process);
    p->process_.Reset(pi.hProcess);
    const tolvane::KernelHandle thread(pi.hThread);
    p->pid_ = pi.dwProcessId;
    // The job ends the child too if this test process dies without running
    // its destructors (a crash, a ctest timeout).
    p->job_.Reset(CreateJobObjectA(nullptr, nullptr));
    if (p->job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(p->job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(p->job_.Get(), pi.hProcess);
    }
    ResumeThread(pi.hThread);
    if (options.lifetimeMs)
        CreateTimerQueueTimer(p->watchdog_.Receive(), nullptr, KillOnDeadline, pi.hProcess, options.lifetimeMs, 0,
                              WT_EXECUTEONLYONCE);
    return p;
}

Process::~Process() {
    watchdog_.Reset();
    Kill();
}

int Process::ChildrenStarted() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    if (!job_ ||
        !QueryInformationJobObject(job_.Get(), JobObjectBasicAccountingInformation, &info, sizeof info, nullptr))
        return -1;
    return static_cast<int>(info.TotalProcesses) - 1;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_) return false;
    // Pump while waiting: the program may be sending us nothing, but a
    // non-pumping waiter can stall broadcasts that the program's shutdown sends.
    const bool ended = WaitFor([this] { return !Running(); }, timeoutMs, 20);
    if (!ended) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
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

std::unique_ptr<Process> LaunchSelf(const std::string& arguments, std::string* error) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    LaunchOptions options;
    options.exe = self;
    options.arguments = arguments;
    return Process::Launch(options, error);
}

std::vector<ProcessEntry> ProcessSnapshot() {
    std::vector<ProcessEntry> all;
    const tolvane::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return all;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        all.push_back(ProcessEntry{entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    return all;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(process_.Get(), 0xDEAD);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

}  // namespace e2e
