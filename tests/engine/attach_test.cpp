// Loads the built Skin.dll into this process, as the program does, and looks
// at real windows of this thread: pixels, hit tests, hook and GDI lifetime.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/driver/mouse_input.h"
#include "tests/inproc/forced_high_contrast.h"
#include "tests/inproc/import_slot.h"
#include "tests/linker_map.h"
#include "winutil/dpi.h"
#include "winutil/gdi_objects.h"

namespace {

using e2e::MouseAt;

using AttachFn = int(__stdcall*)(const char*, const char*);

constexpr COLORREF kCaption = RGB(0xC8, 0x1E, 0x50);
constexpr COLORREF kOtherCaption = RGB(0x1E, 0xC8, 0x50);
constexpr COLORREF kCloseNormal = RGB(0x10, 0xE0, 0x10);
constexpr COLORREF kClosePressed = RGB(0x10, 0x10, 0xE0);
constexpr COLORREF kButtonFace = RGB(0x30, 0xA0, 0xF0);
constexpr COLORREF kButtonBorder = RGB(0x80, 0x20, 0x80);
constexpr COLORREF kEditFocus = RGB(0xF0, 0xF0, 0x10);

std::string Hex(COLORREF c) {
    char buf[8];
    wsprintfA(buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

// A complete skin with flat colours, so single pixels can be compared.
std::string SkinText(COLORREF caption, const char* password = nullptr, COLORREF inactive = CLR_INVALID,
                     COLORREF buttonHot = kButtonFace) {
    std::string c = Hex(caption);
    std::string ic = Hex(inactive == CLR_INVALID ? caption : inactive);
    std::string s = ".SHE 1\nname = test\n";
    if (password) s += std::string("password = ") + password + "\n";
    s += "[caption]\nactive_top = " + c + "\nactive_bottom = " + c + "\ninactive_top = " + ic +
         "\ninactive_bottom = " + ic +
         "\nactive_text = #FFFFFF\ninactive_text = #FFFFFF\ntext_height = 12\ntext_bold = 1\n"
         "text_indent = 4\n"
         "[caption_buttons]\nnormal = " +
         Hex(kCloseNormal) + "\nhot = " + Hex(kCloseNormal) + "\npressed = " + Hex(kClosePressed) +
         "\nclose_hot = " + Hex(kCloseNormal) + "\nclose_pressed = " + Hex(kClosePressed) +
         "\nglyph = #FFFFFF\nsize = 16\nradius = 0\nglyph_width = 1\n"
         "[frame]\nactive_outline = #000000\ninactive_outline = #000000\n"
         "active_fill = #203040\ninactive_fill = #203040\noutline_width = 1\n"
         "[button]\ntop = " +
         Hex(kButtonFace) + "\nbottom = " + Hex(kButtonFace) + "\nhot_top = " + Hex(buttonHot) +
         "\nhot_bottom = " + Hex(buttonHot) +
         "\npressed_top = #000080\npressed_bottom = #000080\ndisabled_face = #808080\n"
         "border = " +
         Hex(kButtonBorder) +
         "\ndefault_border = #0000FF\ndisabled_border = #404040\n"
         "focus = #000000\ntext = #000000\ndisabled_text = #606060\nradius = 0\n"
         "default_border_width = 2\n"
         "[edit]\nborder = #F01010\nfocus_border = " +
         Hex(kEditFocus) + "\ndisabled_border = #808080\ninner = #FFFFFF\nborder_width = 1\n";
    return s;
}

std::string WriteTemp(const char* name, const std::string& content) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    const tolvane::KernelHandle f(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(f) << path;
    DWORD written = 0;
    WriteFile(f.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    return path;
}

// The plain skin most tests attach, written afresh.
std::string PlainSkin() { return WriteTemp("engine_test_a.she", SkinText(kCaption)); }

std::string ExeDir() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string DllPath() { return ExeDir() + "Skin.dll"; }

struct DwmCall {
    HWND hwnd;
    DWORD attribute, value;
    bool operator==(const DwmCall& o) const { return hwnd == o.hwnd && attribute == o.attribute && value == o.value; }
    bool operator<(const DwmCall& o) const {
        return std::tie(hwnd, attribute, value) < std::tie(o.hwnd, o.attribute, o.value);
    }
};
void PrintTo(const DwmCall& c, std::ostream* os) {
    *os << "{" << c.hwnd << ", attribute " << c.attribute << ", value " << c.value << "}";
}
using DwmCalls = std::vector<DwmCall>;

// The recording dwmapi stand-in. The engine takes dwmapi from the system
// folder only, so the stand-in answers its load of that path. Where Wine is
// told to load no dwmapi (as on XP, which has none) it does not load either.
std::string StandInPath() { return ExeDir() + "dwm_standin\\dwmapi.dll"; }
HMODULE WINAPI LoadWithDwmStandIn(LPCSTR path) {
    const size_t n = std::strlen(path);
    return LoadLibraryA(n >= 11 && lstrcmpiA(path + n - 11, "\\dwmapi.dll") == 0 ? StandInPath().c_str() : path);
}
struct DwmStandIn {
    HMODULE module = LoadLibraryA(StandInPath().c_str());
    using TakeFn = int (*)(DWORD (*)[3], int);
    TakeFn take =
        module ? reinterpret_cast<TakeFn>(reinterpret_cast<void*>(GetProcAddress(module, "TakeDwmCalls"))) : nullptr;

    // The calls since the last look, in order.
    DwmCalls Take() {
        DWORD raw[64][3];
        int n = take ? take(raw, 64) : 0;
        DwmCalls calls;
        for (int i = 0; i < n; ++i)
            calls.push_back({reinterpret_cast<HWND>(static_cast<UINT_PTR>(raw[i][0])), raw[i][1], raw[i][2]});
        return calls;
    }
} g_dwm;

struct Engine {
    tolvane::Module module;
    AttachFn attach = nullptr;
    Engine() {
        module.Reset(LoadLibraryA(DllPath().c_str()));
        if (!module) return;
        attach = reinterpret_cast<AttachFn>(reinterpret_cast<void*>(GetProcAddress(module.Get(), "SkinH_Attach_Ex")));
        inproc::SwapImport(module.Get(),
                           reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")),
                           reinterpret_cast<void*>(LoadWithDwmStandIn));
    }
    void Unload() {
        module.Reset();
        attach = nullptr;
    }
};

// True when anything was queued.
bool DispatchQueued() {
    MSG msg;
    bool any = false;
    for (; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); any = true) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return any;
}

// Runs the message loop until nothing has arrived for a while.
void Settle(DWORD maxMs = 2000) {
    const DWORD start = GetTickCount();
    for (int quiet = 0; GetTickCount() - start < maxMs && quiet < 3;) {
        quiet = DispatchQueued() ? 0 : quiet + 1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT);
    }
}

// Pumps for a fixed time: some notices come from a polling timer (Wine
// checks for WM_MOUSELEAVE every hover interval, 400 ms by default).
void PumpFor(DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        DispatchQueued();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

COLORREF PixelOf(HWND hwnd, int x, int y, bool windowDc) {
    return GetPixel((windowDc ? tolvane::ScopedDc::OfWindow(hwnd) : tolvane::ScopedDc(hwnd)).Get(), x, y);
}

// A point on the middle line of the caption band, in window coordinates.
POINT CaptionPoint(HWND hwnd, int x) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    return {x, (origin.y - wr.top) / 2};
}

int WidthOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.right - r.left;
}

COLORREF CaptionPixel(HWND hwnd) {
    const POINT p = CaptionPoint(hwnd, WidthOf(hwnd) / 2);
    return PixelOf(hwnd, p.x, p.y, true);
}

// A button's face `y` pixels below its top edge, half way across.
COLORREF FacePixel(HWND button, int y = 3) {
    RECT br;
    GetClientRect(button, &br);
    return PixelOf(button, br.right / 2, y, false);
}

int g_closeCommands = 0;

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE) {
        ++g_closeCommands;
        return 0;
    }
    // As a window that takes the system's rectangle at a new scale does.
    if (msg == tolvane::kWmDpiChanged) return reinterpret_cast<const RECT*>(lp)->left;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

struct TestWindow {
    HWND hwnd = nullptr, button = nullptr, edit = nullptr, check = nullptr;
    TestWindow() {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = TestWndProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = "EngineTestWindow";
            registered = RegisterClassA(&wc) != 0;
        }
        hwnd = CreateWindowExA(0, "EngineTestWindow", "T", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100, 320, 220,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 100, 30, hwnd,
                                 reinterpret_cast<HMENU>(1), nullptr, nullptr);
        edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "text", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20, 70, 150,
                               24, hwnd, reinterpret_cast<HMENU>(2), nullptr, nullptr);
        check = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20, 110, 100, 24, hwnd,
                                reinterpret_cast<HMENU>(3), nullptr, nullptr);
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    void Show() {
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        SetFocus(edit);
        UpdateWindow(hwnd);
        Settle();
    }
    RECT WindowRect() const {
        RECT r;
        GetWindowRect(hwnd, &r);
        return r;
    }
};

COLORREF CaptionPixel(const TestWindow& w) { return CaptionPixel(w.hwnd); }

// Live GDI objects cannot be counted under Wine; the room left for new ones
// can. Each leaked object shows as one brush less.
int GdiHeadroom() {
    std::vector<tolvane::GdiObject<HBRUSH>> brushes(100000);
    int n = 0;
    while (n < 100000 && (brushes[n] = tolvane::GdiObject<HBRUSH>(CreateSolidBrush(RGB(n & 255, 0, 0))))) ++n;
    return n;
}

TEST(Engine, ExportsTheAttachFunctionUndecorated) {
    Engine e;
    ASSERT_TRUE(e.module) << DllPath();
    EXPECT_NE(e.attach, nullptr);
    EXPECT_EQ(GetProcAddress(e.module.Get(), "_SkinH_Attach_Ex@8"), nullptr);
}

// The engine's stack guard, read where the linker's map of Skin.dll puts it.
DWORD StackGuardOf(HMODULE engine) {
    const unsigned long guard = tests::SymbolOffset(ExeDir() + "Skin.map", "__stack_chk_guard");
    return guard ? *reinterpret_cast<const DWORD*>(reinterpret_cast<const char*>(engine) + guard) : 0;
}

extern "C" void* __stack_chk_guard;  // this program's, set by the C runtime's start-up as in tolvane.exe

// Nothing of the C runtime sets the engine's guard: its entry point does, at
// each load, with another value each time.
TEST(Engine, SetsItsStackGuardAtEachLoad) {
    EXPECT_NE(__stack_chk_guard, nullptr) << "the C runtime's start-up left this program's guard 0";
    DWORD guards[2] = {};
    for (DWORD& guard : guards) {
        ASSERT_EQ(GetModuleHandleA(DllPath().c_str()), nullptr) << "the engine is loaded already";
        Engine e;
        ASSERT_TRUE(e.module) << DllPath();
        guard = StackGuardOf(e.module.Get());
        EXPECT_NE(guard, 0u) << "no guard set, or none found through " << ExeDir() << "Skin.map";
    }
    EXPECT_NE(guards[0], guards[1]) << "the same guard at two loads";
}

TEST(Engine, SkinsFrameButtonAndEditAndAnswersHitTests) {
    Engine e;
    ASSERT_NE(e.attach, nullptr);
    TestWindow w;
    w.Show();
    EXPECT_NE(CaptionPixel(w), kCaption) << "the check could not tell the skin from the default";

    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    Settle();
    EXPECT_EQ(CaptionPixel(w), kCaption);

    EXPECT_EQ(FacePixel(w.button), kButtonFace);
    EXPECT_EQ(FacePixel(w.button, 0), kButtonBorder);
    RECT er;
    GetWindowRect(w.edit, &er);
    EXPECT_EQ(PixelOf(w.edit, 0, (er.bottom - er.top) / 2, true), kEditFocus);
    // Check boxes share the class but keep their own look.
    RECT cr;
    GetClientRect(w.check, &cr);
    EXPECT_NE(PixelOf(w.check, cr.right - 3, cr.bottom / 2, false), kButtonFace);

    // Find the painted close button from the right along the caption's middle.
    POINT mid = CaptionPoint(w.hwnd, 0);
    int closeX = -1;
    for (int x = WidthOf(w.hwnd) - 1; x > WidthOf(w.hwnd) / 2; --x) {
        if (PixelOf(w.hwnd, x, mid.y, true) == kCloseNormal) {
            closeX = x - 2;
            break;
        }
    }
    ASSERT_GT(closeX, 0) << "no close button in the caption";
    RECT wr = w.WindowRect();
    POINT closeScreen = {wr.left + closeX, wr.top + mid.y};
    EXPECT_EQ(SendMessageA(w.hwnd, WM_NCHITTEST, 0, MAKELPARAM(closeScreen.x, closeScreen.y)), HTCLOSE);
    EXPECT_EQ(SendMessageA(w.hwnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + WidthOf(w.hwnd) / 2, closeScreen.y)),
              HTCAPTION);

    // A real click: pressed look while held, SC_CLOSE on release inside.
    g_closeCommands = 0;
    SetCursorPos(closeScreen.x, closeScreen.y);
    Settle(500);
    MouseAt(closeScreen, MOUSEEVENTF_LEFTDOWN);
    Settle(500);
    EXPECT_EQ(PixelOf(w.hwnd, closeX, mid.y, true), kClosePressed);
    MouseAt(closeScreen, MOUSEEVENTF_LEFTUP);
    Settle(500);
    EXPECT_EQ(g_closeCommands, 1);
    EXPECT_EQ(PixelOf(w.hwnd, closeX, mid.y, true), kCloseNormal);

    // Released outside: no command.
    g_closeCommands = 0;
    MouseAt(closeScreen, MOUSEEVENTF_LEFTDOWN);
    Settle(300);
    const POINT outside = {wr.left + WidthOf(w.hwnd) / 2, wr.top + 120};
    SetCursorPos(outside.x, outside.y);
    Settle(300);
    MouseAt(outside, MOUSEEVENTF_LEFTUP);
    Settle(300);
    EXPECT_EQ(g_closeCommands, 0);
    SetCursorPos(0, 0);
}

TEST(Engine, NewWindowsAndSecondAttachFollowTheSkin) {
    Engine e;
    ASSERT_NE(e.attach, nullptr);
    std::string a = PlainSkin();
    std::string b = WriteTemp("engine_test_b.she", SkinText(kOtherCaption));
    ASSERT_EQ(e.attach(a.c_str(), ""), 0);
    ASSERT_EQ(e.attach(a.c_str(), ""), 0);  // twice: harmless
    TestWindow w;                           // created after: the hook skins it
    w.Show();
    EXPECT_EQ(CaptionPixel(w), kCaption);
    EXPECT_EQ(FacePixel(w.button), kButtonFace);
    ASSERT_EQ(e.attach(b.c_str(), ""), 0);
    Settle();
    EXPECT_EQ(CaptionPixel(w), kOtherCaption);
    SetWindowTextA(w.hwnd, "A longer title");
    Settle();
    EXPECT_EQ(CaptionPixel(w), kOtherCaption) << "the default repainted the caption on WM_SETTEXT";
}

TEST(Engine, WmPrintDrawsTheSkinnedFrame) {
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    TestWindow w;
    w.Show();
    RECT wr = w.WindowRect();
    tolvane::BitmapDc image;
    {
        const tolvane::ScopedDc screen(nullptr);
        image.Adopt(
            tolvane::GdiObject<HBITMAP>(CreateCompatibleBitmap(screen.Get(), wr.right - wr.left, wr.bottom - wr.top)),
            screen.Get());
    }
    const HDC mem = image.Dc();
    PatBlt(mem, 0, 0, wr.right - wr.left, wr.bottom - wr.top, BLACKNESS);
    // Wine's PrintWindow does not go through WM_PRINT; ask for it directly.
    SendMessageA(w.hwnd, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    POINT p = CaptionPoint(w.hwnd, WidthOf(w.hwnd) / 2);
    EXPECT_EQ(GetPixel(mem, p.x, p.y), kCaption);
    // The client part lands below the frame, not over it.
    POINT origin = {0, 0};
    ClientToScreen(w.hwnd, &origin);
    EXPECT_EQ(GetPixel(mem, origin.x - wr.left + 5, origin.y - wr.top + 5), GetSysColor(COLOR_BTNFACE));
}

TEST(Engine, CaptionFollowsActivationAndButtonsLightUpUnderTheMouse) {
    const COLORREF inactive = RGB(0x60, 0x60, 0x90);
    const COLORREF hot = RGB(0xF0, 0x90, 0x30);
    Engine e;
    std::string path = WriteTemp("engine_test_states.she", SkinText(kCaption, nullptr, inactive, hot));
    ASSERT_EQ(e.attach(path.c_str(), ""), 0);
    TestWindow first;
    first.Show();
    EXPECT_EQ(CaptionPixel(first), kCaption);
    TestWindow second;
    second.Show();
    EXPECT_EQ(CaptionPixel(second), kCaption);
    EXPECT_EQ(CaptionPixel(first), inactive);
    SetForegroundWindow(first.hwnd);
    Settle();
    EXPECT_EQ(CaptionPixel(first), kCaption);
    EXPECT_EQ(CaptionPixel(second), inactive);

    RECT br;
    GetWindowRect(first.button, &br);
    SetCursorPos(br.left + 5, br.top + 5);
    Settle();
    EXPECT_EQ(PixelOf(first.button, (br.right - br.left) / 2, 3, false), hot);
    SetCursorPos(0, 0);
    PumpFor(1200);
    EXPECT_EQ(PixelOf(first.button, (br.right - br.left) / 2, 3, false), kButtonFace);
}

TEST(Engine, FaultySkinsAttachNothing) {
    Engine e;
    ASSERT_NE(e.attach, nullptr);
    std::string good = SkinText(kCaption);
    std::string truncated = WriteTemp("engine_test_trunc.she", good.substr(0, good.find('\n', good.size() / 2) + 1));
    std::string foreign = WriteTemp("engine_test_foreign.she", "MZ this is no skin");
    std::string badColour = good;
    badColour.replace(badColour.find("#203040"), 7, "#2030G0");
    std::string bad = WriteTemp("engine_test_bad.she", badColour);
    std::string huge = WriteTemp("engine_test_huge.she", good + std::string(70000, '#'));
    EXPECT_EQ(e.attach(truncated.c_str(), ""), 13);
    EXPECT_EQ(e.attach(foreign.c_str(), ""), 3);
    EXPECT_EQ(e.attach(bad.c_str(), ""), 12);
    EXPECT_EQ(e.attach(huge.c_str(), ""), 2);
    EXPECT_EQ(e.attach("C:\\no\\such\\skin.she", ""), 1);
    EXPECT_EQ(e.attach(nullptr, nullptr), 1);
    EXPECT_EQ(e.attach("", ""), 1);

    std::string locked = WriteTemp("engine_test_locked.she", SkinText(kCaption, "open sesame"));
    EXPECT_EQ(e.attach(locked.c_str(), ""), 14);
    EXPECT_EQ(e.attach(locked.c_str(), "open sesamE"), 14);

    TestWindow w;
    w.Show();
    EXPECT_NE(CaptionPixel(w), kCaption);
    EXPECT_NE(FacePixel(w.button), kButtonFace);

    EXPECT_EQ(e.attach(locked.c_str(), "open sesame"), 0);
    Settle();
    EXPECT_EQ(CaptionPixel(w), kCaption);
}

TEST(Engine, ReleasingTheLibraryRemovesHookAndSubclasses) {
    TestWindow before;
    {
        Engine e;
        ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
        before.Show();
        ASSERT_EQ(CaptionPixel(before), kCaption);
        e.Unload();
    }
    ASSERT_EQ(GetModuleHandleA(DllPath().c_str()), nullptr) << "the engine is still loaded";
    // The old window lives on in its default look; had a subclass stayed, the
    // next message would run unmapped code.
    SetWindowTextA(before.hwnd, "after");
    RedrawWindow(before.hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    EXPECT_NE(CaptionPixel(before), kCaption);
    EXPECT_NE(FacePixel(before.button), kButtonFace);
    // A window created now meets no hook.
    TestWindow after;
    after.Show();
    EXPECT_NE(CaptionPixel(after), kCaption);
}

// Another program may send a pointer that is not one. The fault it raises in
// the window's own procedure is swallowed around the procedure (by Wine, and
// by 64-bit Windows in a program that declares no Windows 7 support), so the
// engine's procedure under it never returns: the next messages must, and the
// release must still free the window's record.
DWORD WINAPI SendBadRectThenMore(void* param) {
    const auto& w = *static_cast<const TestWindow*>(param);
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w.hwnd, tolvane::kWmDpiChanged, MAKEWPARAM(96, 96), 0x10, SMTO_NORMAL, 5000, &r);
    for (HWND h : {w.hwnd, w.button, w.edit})
        if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &r)) {
            std::printf("FAILED: the message after the swallowed fault never returned\n");
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    return 0;
}

TEST(Engine, ADispatchEndedByASwallowedFaultLeavesNothingBehind) {
    TestWindow w;
    w.Show();
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    const tolvane::KernelHandle sender(CreateThread(nullptr, 0, SendBadRectThenMore, &w, 0, nullptr));
    ASSERT_TRUE(sender);
    const HANDLE waited[] = {sender.Get()};
    while (MsgWaitForMultipleObjects(1, waited, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) DispatchQueued();
    // wine-quirk: Wine swallows the fault; Windows does so only for a 32-bit program on 64-bit Windows that
    // declares no Windows 7 support, and otherwise the process ends there.
    EXPECT_EQ(SendMessageA(w.hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after")), TRUE);
    e.Unload();
    EXPECT_EQ(GetWindowLongPtrA(w.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(TestWndProc));
    EXPECT_EQ(GetPropA(w.hwnd, "TolvaneSkinSubclass"), nullptr) << "the window's record was never freed";
}

// Windows of either character set whose own procedure keeps a text exactly
// as it arrived: a conversion anywhere on the way would show in the bytes.
// The ANSI text ends in a lone lead byte, which no trip through Unicode
// survives; the Unicode text holds a letter that code page 936 lacks.
const std::string kAnsiText = "\xD6\xD0\xCE\xC4 text \x81";
const std::wstring kWideText = L"Z\u00FCrich \u4E2D\u6587 \u0E01";

// What the window procedure of that character set was last given.
template <typename Char>
std::basic_string<Char> g_kept;

template <typename Char>
LRESULT CALLBACK KeepTextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // WM_APP n nests n + 1 dispatches deep; each counts itself.
    if (msg == WM_APP) return wp ? 1 + (sizeof(Char) == 2 ? SendMessageW : SendMessageA)(hwnd, msg, wp - 1, 0) : 1;
    std::basic_string<Char>& kept = g_kept<Char>;
    if (msg == WM_SETTEXT) kept = reinterpret_cast<const Char*>(lp);
    if (msg == WM_GETTEXT && wp > 0) {
        const size_t n = kept.copy(reinterpret_cast<Char*>(lp), wp - 1);
        reinterpret_cast<Char*>(lp)[n] = 0;
        return static_cast<LRESULT>(n);
    }
    return (sizeof(Char) == 2 ? DefWindowProcW : DefWindowProcA)(hwnd, msg, wp, lp);
}

// Sends the text and reads it back, each in the window's own character set;
// true when the window's procedure got it, and gave it back, unchanged.
template <typename Char>
bool PassesUnchanged(HWND hwnd, const std::basic_string<Char>& text) {
    const auto send = sizeof(Char) == 2 ? SendMessageW : SendMessageA;
    g_kept<Char>.clear();
    send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Char back[64] = {};
    send(hwnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(back));
    return g_kept<Char> == text && back == text;
}

struct CharsetWindow {
    bool unicode;
    HWND hwnd = nullptr;
    explicit CharsetWindow(bool wide) : unicode(wide) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA a = {};
            a.lpfnWndProc = KeepTextProc<char>;
            a.hInstance = GetModuleHandleA(nullptr);
            a.lpszClassName = "EngineAnsiWindow";
            WNDCLASSW w = {};
            w.lpfnWndProc = KeepTextProc<wchar_t>;
            w.hInstance = GetModuleHandleA(nullptr);
            w.lpszClassName = L"EngineWideWindow";
            registered = RegisterClassA(&a) && RegisterClassW(&w);
        }
        hwnd = unicode ? CreateWindowExW(0, L"EngineWideWindow", L"W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300,
                                         200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)
                       : CreateWindowExA(0, "EngineAnsiWindow", "A", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 200,
                                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~CharsetWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    LONG_PTR Proc() const { return (unicode ? GetWindowLongPtrW : GetWindowLongPtrA)(hwnd, GWLP_WNDPROC); }
    // Returns the procedure replaced.
    LONG_PTR SetProc(LONG_PTR proc) const {
        return (unicode ? SetWindowLongPtrW : SetWindowLongPtrA)(hwnd, GWLP_WNDPROC, proc);
    }
    bool TextPassesUnchanged() const {
        return unicode ? PassesUnchanged(hwnd, kWideText) : PassesUnchanged(hwnd, kAnsiText);
    }
};

// The engine's subclass sits between the system and each window's own
// procedure: messages must pass in the window's character set, and release
// must restore exactly the procedure it found.
// Nested as deep as the engine lists its dispatches, and one deeper.
TEST(Engine, SubclassPassesTextsInTheWindowsCharacterSetAndGivesTheProcedureBack) {
    std::string path = PlainSkin();
    const std::pair<bool, int> rows[] = {{false, 1}, {true, 1}, {false, 64}, {true, 65}};
    for (const auto& [unicode, depth] : rows) {
        CharsetWindow w(unicode);
        SCOPED_TRACE(std::string(unicode ? "Unicode window" : "ANSI window") + ", " + std::to_string(depth) + " deep");
        ASSERT_NE(w.hwnd, nullptr);
        ASSERT_EQ(IsWindowUnicode(w.hwnd) != FALSE, unicode);
        const LONG_PTR original = w.Proc();
        Engine e;
        ASSERT_EQ(e.attach(path.c_str(), ""), 0);
        EXPECT_NE(w.Proc(), original) << "not subclassed";
        EXPECT_EQ((unicode ? SendMessageW : SendMessageA)(w.hwnd, WM_APP, depth - 1, 0), depth);
        EXPECT_TRUE(w.TextPassesUnchanged());
        EXPECT_EQ(IsWindowUnicode(w.hwnd) != FALSE, unicode);
        e.Unload();
        EXPECT_EQ(w.Proc(), original);
        EXPECT_TRUE(w.TextPassesUnchanged());
    }
}

// Each window the engine skins still answers WM_GETOBJECT itself, so that a
// screen reader hears its name, role and state: the subclass passes the
// request on as it came and returns the window's result.
LRESULT CALLBACK AnswerObjects(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETOBJECT && wp == 7 && static_cast<LONG>(lp) == OBJID_CLIENT) return 0x51A7;
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(hwnd, "AnswerObjectsNext")), hwnd, msg, wp, lp);
}

TEST(Engine, SkinnedWindowsStillAnswerScreenReadersThemselves) {
    TestWindow w;
    const HWND skinned[] = {w.hwnd, w.button, w.edit, w.check};  // frame, push button, edit, check box
    for (HWND h : skinned)
        SetPropA(
            h, "AnswerObjectsNext",
            reinterpret_cast<HANDLE>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerObjects))));
    w.Show();
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    for (HWND h : skinned) {
        EXPECT_NE(GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(AnswerObjects)) << h << " not skinned";
        EXPECT_EQ(SendMessageA(h, WM_GETOBJECT, 7, static_cast<LPARAM>(OBJID_CLIENT)), 0x51A7) << h;
    }
}

// Whoever subclasses a window after the engine keeps calling the engine's
// procedure as the one before it, also after the program releases the
// engine, up to the window's end. Run by a ctest entry of its own: the
// engine then stays mapped for the rest of the process.
const char kBeforeForeign[] = "TestBeforeForeign";
int g_foreignCalls = 0;
int g_foreignNcDestroys = 0;
LRESULT ForeignProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool unicode) {
    ++g_foreignCalls;
    if (msg == WM_NCDESTROY) ++g_foreignNcDestroys;
    const auto before = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBeforeForeign));
    return unicode ? CallWindowProcW(before, hwnd, msg, wp, lp) : CallWindowProcA(before, hwnd, msg, wp, lp);
}
LRESULT CALLBACK ForeignProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return ForeignProc(hwnd, msg, wp, lp, false);
}
LRESULT CALLBACK ForeignProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return ForeignProc(hwnd, msg, wp, lp, true);
}

TEST(EngineUnderAnotherSubclass, TheLaterSubclassOutlivesTheReleasedEngine) {
    // No message passes between the later subclass and the release, so the
    // release itself meets it on top.
    const struct {
        const char* name;
        bool unicode, foreignLeaves;
    } rows[] = {{"ANSI, destroyed under it", false, false},
                {"Unicode, destroyed under it", true, false},
                {"ANSI, it leaves first", false, true},
                {"Unicode, it leaves first", true, true}};
    const auto foreignOf = [](bool unicode) {
        return reinterpret_cast<LONG_PTR>(unicode ? ForeignProcW : ForeignProcA);
    };
    std::vector<std::unique_ptr<CharsetWindow>> windows;
    for (const auto& row : rows) windows.push_back(std::make_unique<CharsetWindow>(row.unicode));
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    for (const auto& w : windows) {
        ASSERT_NE(w->hwnd, nullptr);
        const LONG_PTR engineProc = w->Proc();
        SetPropA(w->hwnd, kBeforeForeign, reinterpret_cast<HANDLE>(engineProc));
        ASSERT_EQ(w->SetProc(foreignOf(w->unicode)), engineProc);
    }
    e.Unload();
    for (size_t i = 0; i < windows.size(); ++i)
        EXPECT_EQ(windows[i]->Proc(), foreignOf(rows[i].unicode)) << rows[i].name << ": cut out of the chain";
    ASSERT_NE(GetModuleHandleA(DllPath().c_str()), nullptr) << "unmapped under a later subclass";
    for (size_t i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        CharsetWindow& w = *windows[i];
        g_foreignCalls = 0;
        EXPECT_TRUE(w.TextPassesUnchanged());
        EXPECT_GT(g_foreignCalls, 0);
        Settle();
        // The later subclass leaves; the engine's procedure passes messages on.
        if (rows[i].foreignLeaves) {
            w.SetProc(reinterpret_cast<LONG_PTR>(GetPropA(w.hwnd, kBeforeForeign)));
            EXPECT_TRUE(w.TextPassesUnchanged());
        }
        g_foreignNcDestroys = 0;
        EXPECT_TRUE(DestroyWindow(w.hwnd));
        EXPECT_EQ(g_foreignNcDestroys, rows[i].foreignLeaves ? 0 : 1);
    }
}

// With desktop composition the system draws a window's frame itself unless
// told otherwise, window by window, before the frame is first painted.
TEST(Engine, SkinnedFramesTakeTheFrameFromDesktopCompositionAndGiveItBack) {
    constexpr DWORD kPolicy = 2, kDisabled = 1, kByStyle = 0;  // DWMWA_NCRENDERING_POLICY, DWMNCRP_*
    ASSERT_NE(g_dwm.take, nullptr) << "the dwmapi stand-in did not load";
    TestWindow existing;
    existing.Show();
    g_dwm.Take();
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    TestWindow created;  // not shown: its frame has never been painted
    // Top-level frames only: the buttons and edits skinned meanwhile are absent.
    EXPECT_EQ(g_dwm.Take(), (DwmCalls{{existing.hwnd, kPolicy, kDisabled}, {created.hwnd, kPolicy, kDisabled}}));
    created.Show();
    EXPECT_EQ(CaptionPixel(created), kCaption);
    EXPECT_EQ(g_dwm.Take(), DwmCalls{}) << "a frame was set twice";

    // High contrast gives every frame back to the system, and its end takes them
    // again. A window made while it is on gets no frame; a frame painted between
    // the switch and the broadcast must not take the news from the broadcast.
    const struct {
        const char* name;
        bool on, paintFirst, make;
    } rows[] = {{"on", true, false, false},
                {"off", false, false, false},
                {"on, a paint first, a window made", true, true, true},
                {"off, with the window made", false, false, false}};
    std::unique_ptr<TestWindow> made;
    for (const auto& row : rows) {
        const inproc::ForcedHighContrast forced{{e.module.Get()}};
        inproc::ForcedHighContrast::on = row.on;
        if (row.paintFirst) RedrawWindow(existing.hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(existing.hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        const DWORD policy = row.on ? kByStyle : kDisabled;
        DwmCalls calls{{created.hwnd, kPolicy, policy}, {existing.hwnd, kPolicy, policy}};
        if (made) calls.insert(calls.begin(), {made->hwnd, kPolicy, policy});
        EXPECT_EQ(g_dwm.Take(), calls) << row.name;
        EXPECT_EQ(CaptionPixel(created) == kCaption, !row.on) << row.name;
        if (row.make) {
            made = std::make_unique<TestWindow>();
            made->Show();
            EXPECT_EQ(g_dwm.Take(), DwmCalls{}) << "a frame taken while high contrast is on";
            EXPECT_NE(CaptionPixel(*made), kCaption) << "a skinned caption while high contrast is on";
        }
    }
    made.reset();
    {  // a change of the caption's face: the font is made again at the next paint
        const inproc::ForcedHighContrast forced{{e.module.Get()}};
        inproc::ForcedHighContrast::captionFaceAsked = 0;
        SendMessageA(existing.hwnd, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
        RedrawWindow(created.hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(CaptionPixel(created), kCaption);
        EXPECT_GT(inproc::ForcedHighContrast::captionFaceAsked, 0) << "a caption font kept from before the change";
    }

    e.Unload();
    DwmCalls restored = g_dwm.Take();
    std::sort(restored.begin(), restored.end());
    DwmCalls expected = {{existing.hwnd, kPolicy, kByStyle}, {created.hwnd, kPolicy, kByStyle}};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(restored, expected);
}

// Run by a ctest entry of its own, in a process where no dwmapi.dll loads.
TEST(Engine, WithoutDwmapiFramesAreSkinnedAndReleasedAsBefore) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_EQ(LoadLibraryA((std::string(system) + "\\dwmapi.dll").c_str()), nullptr)
        << "this test needs a process in which dwmapi.dll cannot load";
    TestWindow existing;
    existing.Show();
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    TestWindow created;
    created.Show();
    Settle();
    EXPECT_EQ(CaptionPixel(existing), kCaption);
    EXPECT_EQ(CaptionPixel(created), kCaption);
    e.Unload();
    RedrawWindow(existing.hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    EXPECT_NE(CaptionPixel(existing), kCaption);
}

// Of a dialog's children the engine takes buttons and edits only; statics,
// list and combo boxes, list views... keep their own procedure, never the
// frame. The classes of the children, "skinned " before those it took.
BOOL CALLBACK NoteChild(HWND child, LPARAM classes) {
    char cls[64] = "";
    GetClassNameA(child, cls, sizeof cls);
    MEMORY_BASIC_INFORMATION m = {};
    const LONG_PTR proc = (IsWindowUnicode(child) ? GetWindowLongPtrW : GetWindowLongPtrA)(child, GWLP_WNDPROC);
    VirtualQuery(reinterpret_cast<void*>(proc), &m, sizeof m);
    const bool skinned = m.AllocationBase == GetModuleHandleA(DllPath().c_str());
    reinterpret_cast<std::set<std::string>*>(classes)->insert((skinned ? "skinned " : "") + std::string(cls));
    return TRUE;
}

std::set<std::string> ChildrenOf(HWND dialog) {
    std::set<std::string> classes;
    EnumChildWindows(dialog, NoteChild, reinterpret_cast<LPARAM>(&classes));
    return classes;
}

void ExpectLeftAlone(const std::set<std::string>& children, const std::set<std::string>& classes) {
    for (const std::string& c : children)
        EXPECT_TRUE(c.rfind("skinned ", 0) != 0 || c == "skinned Button" || c == "skinned Edit") << c;
    for (const std::string& c : classes) EXPECT_EQ(children.count(c), 1u) << "no " << c << " left alone";
}

// The message box runs its own loop; look at it from a timer inside that loop.
COLORREF g_boxCaption = CLR_INVALID;
std::set<std::string> g_boxChildren;
void CALLBACK InspectMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND box = FindWindowA("#32770", "Skinned box");
    if (box == nullptr) return;
    RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    g_boxCaption = CaptionPixel(box);
    g_boxChildren = ChildrenOf(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(Engine, MessageBoxesOfTheThreadAreSkinned) {
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    g_boxCaption = CLR_INVALID;
    SetTimer(nullptr, 0, 500, InspectMessageBox);
    MessageBoxA(nullptr, "A long enough message text", "Skinned box", MB_OK | MB_ICONERROR);
    EXPECT_EQ(g_boxCaption, kCaption);
    ExpectLeftAlone(g_boxChildren, {"Static"});
}

// The Open dialog takes a moment to build; look again until it is there.
COLORREF g_dialogCaption = CLR_INVALID;
COLORREF g_dialogButton = CLR_INVALID;
int g_dialogTries = 0;
std::set<std::string> g_dialogChildren;
void CALLBACK InspectOpenDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowA("#32770", "Pick a skin");
    if (dlg == nullptr || !IsWindowVisible(dlg)) {
        if (++g_dialogTries > 40) KillTimer(nullptr, id);
        return;
    }
    KillTimer(nullptr, id);
    g_dialogCaption = CaptionPixel(dlg);
    if (HWND cancel = GetDlgItem(dlg, IDCANCEL)) g_dialogButton = FacePixel(cancel);
    g_dialogChildren = ChildrenOf(dlg);
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
}

TEST(Engine, OpenDialogOfTheThreadIsSkinned) {
    Engine e;
    ASSERT_EQ(e.attach(PlainSkin().c_str(), ""), 0);
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrTitle = "Pick a skin";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
    g_dialogCaption = g_dialogButton = CLR_INVALID;
    g_dialogTries = 0;
    SetTimer(nullptr, 0, 250, InspectOpenDialog);
    GetOpenFileNameA(&ofn);
    EXPECT_EQ(g_dialogCaption, kCaption);
    EXPECT_EQ(g_dialogButton, kButtonFace);
    ExpectLeftAlone(g_dialogChildren, {"Static", "ComboBox", "ListBox", "SysListView32"});
}

TEST(Engine, AttachAndReleaseLeakNoGdiObjects) {
    std::string path = PlainSkin();
    TestWindow w;
    w.Show();
    auto cycle = [&] {
        Engine e;
        ASSERT_EQ(e.attach(path.c_str(), ""), 0);
        // Paint with the skin so that painting's own objects are covered too.
        RedrawWindow(w.hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    cycle();  // first use fills caches of the system, not ours
    Settle();
    int before = GdiHeadroom();
    for (int i = 0; i < 200; ++i) cycle();
    Settle();
    int after = GdiHeadroom();
    // One leaked object per cycle would show as 200.
    EXPECT_LE(before - after, 2) << "before " << before << ", after " << after;
}

}  // namespace
