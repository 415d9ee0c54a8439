// Loaded into another process (a remote LoadLibraryA), its export runs as a
// thread there and answers with that process's GDI headroom as the thread's
// exit code: GetGuiResources answers 0 under Wine, and headroom can only be
// counted from inside the process that owns the objects.
#include "tests/e2e/driver/driver.h"

extern "C" __declspec(dllexport) DWORD WINAPI GdiHeadroomOfThisProcess(void*) {
    return static_cast<DWORD>(e2e::GdiHeadroom());
}
