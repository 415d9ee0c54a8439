#include <cstdio>

#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/mouse_input.h"
#include "tests/e2e/driver/owners.h"

namespace e2e {

namespace {
void SendOne(INPUT& input) { SendInput(1, &input, sizeof(INPUT)); }

void Key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendOne(in);
}

void UnicodeKey(wchar_t ch) {
    INPUT in[2] = {};
    for (int i = 0; i < 2; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wScan = ch;
        in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
}

// Let the injected input reach the program's queue before the next step.
void Breathe() { Pump(30); }

// Wine warps the X pointer under a pointer grab on the virtual desktop, and
// the grab sends the desktop's process a crossing event that still carries the
// pointer's old position; that process feeds it back as a move of its own.
// Landing after ours, it put the pointer back on the spot just left (a tab
// stayed hovered), while GetCursorPos, which asks X once the position is
// 100 ms old, reported the target. Such echoes come as uninjected moves: while
// the driver moves the pointer, they are dropped.
LRESULT CALLBACK DropEchoedMoves(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_MOUSEMOVE &&
        !(reinterpret_cast<const MSLLHOOKSTRUCT*>(lp)->flags & LLMHF_INJECTED))
        return 1;
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

bool BringToForeground(HWND hwnd, DWORD timeoutMs) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (!top) return false;
    if (GetForegroundWindow() == top) return true;
    // Sharing the input state with the target's thread lifts the foreground
    // lock where one applies; Wine needs no more than SetForegroundWindow.
    const DWORD mine = GetCurrentThreadId();
    const DWORD theirs = ThreadOf(top);
    const bool attached = theirs != mine && AttachThreadInput(mine, theirs, TRUE);
    SetForegroundWindow(top);
    BringWindowToTop(top);
    if (attached) AttachThreadInput(mine, theirs, FALSE);
    return WaitFor([top] { return GetForegroundWindow() == top; }, timeoutMs);
}

bool MoveMouse(POINT screen) {
    auto there = [&] {
        POINT now;
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    };
    const Hook filter(SetWindowsHookExA(WH_MOUSE_LL, DropEchoedMoves, GetModuleHandleA(nullptr), 0));
    for (int attempt = 0; attempt < 4; ++attempt) {
        // Warp first: under Wine's X11 driver an injected move alone leaves the
        // X pointer behind, and the next X crossing event snaps the cursor back
        // to it. The injected move then gives the window its WM_MOUSEMOVE.
        SetCursorPos(screen.x, screen.y);
        MouseAt(screen, 0);
        // The grab's crossing events reach the desktop's process, which feeds
        // them back only when it reads them: a message round trip makes it read
        // them while the hook is in place.
        DWORD_PTR ignored;
        SendMessageTimeoutA(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
        if (WaitFor(there, 300) && (Pump(30), there())) return true;
    }
    POINT now = {};
    GetCursorPos(&now);
    std::printf("the pointer went to (%ld, %ld), not (%ld, %ld)\n", now.x, now.y, screen.x, screen.y);
    return false;
}

bool ClickAt(POINT screen) {
    if (!MoveMouse(screen)) return false;
    // The press carries its position too, so that it lands where aimed even
    // if the pointer was pulled away in between.
    MouseAt(screen, MOUSEEVENTF_LEFTDOWN);
    Breathe();
    MouseAt(screen, MOUSEEVENTF_LEFTUP);
    Breathe();
    return true;
}

bool ClickControl(HWND control) {
    if (!BringToForeground(control)) return false;
    return ClickAt(CentreOf(control));
}

void PressKey(WORD vk) {
    Key(vk, false);
    Key(vk, true);
    Breathe();
}

void KeyCombo(const std::vector<WORD>& keys) {
    for (WORD vk : keys) Key(vk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) Key(*it, true);
    Breathe();
}

void TypeText(const std::string& text) {
    const int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    for (wchar_t ch : wide) {
        const SHORT scan = ch < 0x80 ? VkKeyScanA(static_cast<char>(ch)) : -1;
        if (scan == -1 || (scan & 0x0600)) {  // no key, or needs Ctrl/Alt
            UnicodeKey(ch);
        } else {
            const bool shift = (scan & 0x0100) != 0;
            if (shift) Key(VK_SHIFT, false);
            Key(LOBYTE(scan), false);
            Key(LOBYTE(scan), true);
            if (shift) Key(VK_SHIFT, true);
        }
    }
    Breathe();
}

bool SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (copy) {
        lstrcpyA(static_cast<char*>(GlobalLock(copy)), text.c_str());
        GlobalUnlock(copy);
        // The clipboard owns it once it is set.
        if (!SetClipboardData(CF_TEXT, copy)) copy = GlobalFree(copy);
    }
    CloseClipboard();
    return copy != nullptr;
}

}  // namespace e2e
