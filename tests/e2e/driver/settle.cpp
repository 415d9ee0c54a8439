#include <algorithm>

#include "tests/e2e/driver/driver.h"

namespace e2e {

namespace {
void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
}  // namespace

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        DrainQueue();
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DrainQueue();
        if (condition()) return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(pollMs, timeoutMs - spent), QS_ALLINPUT);
    }
}

void Settle(HANDLE process, DWORD quietMs) {
    if (process) WaitForInputIdle(process, 2000);
    Pump(quietMs);
}

}  // namespace e2e
