#include "tests/e2e/driver/driver.h"
#include "winutil/gdi_objects.h"
#include "winutil/handles.h"

namespace e2e {

int GdiHeadroom(int ceiling) {
    std::vector<tolvane::GdiObject<HBRUSH>> brushes;
    brushes.reserve(20000);
    while (static_cast<int>(brushes.size()) < ceiling) {
        // Distinct colours, in case a GDI ever returns one shared object
        // for identical solid brushes.
        tolvane::GdiObject<HBRUSH> b(CreateSolidBrush(static_cast<COLORREF>(brushes.size() & 0xFFFFFF)));
        if (!b) break;
        brushes.push_back(std::move(b));
    }
    return static_cast<int>(brushes.size());
}

namespace {
DWORD RunRemote(HANDLE process, void* start, void* argument) {
    const tolvane::KernelHandle thread(
        CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), argument, 0, nullptr));
    DWORD code = 0;
    if (!thread || WaitForSingleObject(thread.Get(), 30000) != WAIT_OBJECT_0 || !GetExitCodeThread(thread.Get(), &code))
        code = 0;
    return code;
}
}  // namespace

int GdiHeadroomOf(HANDLE process) {
    const std::string dll = ToWinePath(EnvVar("TOLVANE_TEST_BIN") + "/gdi_probe.dll");
    const tolvane::Module local(LoadLibraryA(dll.c_str()));
    if (!local) return -1;
    const auto* probe = reinterpret_cast<const BYTE*>(GetProcAddress(local.Get(), "GdiHeadroomOfThisProcess"));
    const DWORD offset = probe ? static_cast<DWORD>(probe - reinterpret_cast<const BYTE*>(local.Get())) : 0;
    void* name = VirtualAllocEx(process, nullptr, dll.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    if (!offset || !name || !WriteProcessMemory(process, name, dll.c_str(), dll.size() + 1, nullptr)) return -1;
    // kernel32 lies at one address in every process of a session; a 32-bit
    // module handle fits the thread's exit code.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const DWORD base = RunRemote(process, reinterpret_cast<void*>(GetProcAddress(kernel, "LoadLibraryA")), name);
    VirtualFreeEx(process, name, 0, MEM_RELEASE);
    if (!base) return -1;
    const DWORD headroom = RunRemote(process, reinterpret_cast<void*>(base + offset), nullptr);
    RunRemote(process, reinterpret_cast<void*>(GetProcAddress(kernel, "FreeLibrary")), reinterpret_cast<void*>(base));
    return static_cast<int>(headroom);
}

}  // namespace e2e
