// Owners for the handles that only the tests hold, so winutil has none for
// them: each is the handle and the function that lets it go, called on every
// way out of the scope, an ASSERT's early return included.
#pragma once
#include <windows.h>

#include "winutil/handles.h"

namespace e2e {

template <typename H, BOOL(WINAPI* Free)(H)>
struct FreedBy {
    using Type = H;
    static H Empty() { return nullptr; }
    static bool Valid(H h) { return h != nullptr; }
    static bool Close(H h) { return Free(h) != FALSE; }
};
template <typename H, BOOL(WINAPI* Free)(H)>
using Held = tolvane::Owned<FreedBy<H, Free>>;

using Hook = Held<HHOOK, UnhookWindowsHookEx>;
using WinEventHook = Held<HWINEVENTHOOK, UnhookWinEvent>;
// Only the thread that made a window may destroy it: keep the owner on that thread.
using Window = Held<HWND, DestroyWindow>;
// Waits for a callback that is running, which may still use what it was given.
inline BOOL WINAPI DeleteQueueTimer(HANDLE timer) {
    return DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
}
using QueueTimer = Held<HANDLE, DeleteQueueTimer>;

}  // namespace e2e
