// The real main window, built in this process, driven through thousands of
// repaints: every GDI object a paint creates must be gone again afterwards.
// A leak of one object per paint would exhaust the process's GDI handles
// after a few hours of hovering over the tabs.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "tests/inproc/program_window.h"
#include "toolkit/control_table.h"
#include "toolkit/win/control_services.h"
#include "winutil/gdi_objects.h"

using namespace tolvane;

namespace {

constexpr int kRounds = 1000;
constexpr int kWarmUpRounds = 50;

class WindowSoak : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(inproc::DropStaleSkinFiles());
        const DWORD start = GetTickCount();
        ASSERT_TRUE(window_.Build());
        main_ = window_.hwnd;
        std::printf("window built in %lu ms\n", static_cast<unsigned long>(GetTickCount() - start));
        std::fflush(stdout);
        page_ = PageControlWindow();
        ASSERT_TRUE(page_);
        const e2e::TabGeometry g = e2e::DesignTabs();
        for (int t = 0; t < design::kPageCount; ++t)
            points_[t] = MAKELPARAM((g.tabs[t].left + g.tabs[t].right) / 2, (g.tabs[t].top + g.tabs[t].bottom) / 2);
        points_[design::kPageCount] = MAKELPARAM(200, 120);  // the page body, off the tabs
        Drain();
    }

    void Drain() {
        UpdateWindow(main_);
        inproc::Drain(main_);
    }

public:
    void SwitchPages(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            SelectPage(i % design::kPageCount);
            Drain();
        }
        SelectPage(0);
        Drain();
    }

    void Hover(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            SendMessageA(page_, WM_MOUSEMOVE, 0, points_[i % (design::kPageCount + 1)]);
            if (i % 3 == 2) SendMessageA(page_, WM_MOUSELEAVE, 0, 0);
            Drain();
        }
    }

    void RewriteClock(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            char text[64];
            std::snprintf(text, sizeof text, "2024年%d月%d日 %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                          (i * 7) % 60);
            SetLabelCaption(kClockLabel, text);
            Drain();
        }
    }

protected:
    inproc::ProgramWindow window_;
    HWND main_ = nullptr;
    HWND page_ = nullptr;
    LPARAM points_[design::kPageCount + 1] = {};
};

TEST_F(WindowSoak, ThousandsOfRepaintsLeaveGdiAndWindowsUnchanged) {
    // Seen from inside, since Wine does not give class icons to other processes.
    EXPECT_NE(GetClassLongPtrA(main_, GCLP_HICON), 0u) << "the main window's class has no icon";
    EXPECT_NE(GetClassLongPtrA(main_, GCLP_HICONSM), 0u) << "the main window's class has no small icon";

    SetVisibleFlag(kClockLabel, true);  // as after the first clock tick, so the label paints

    // Wine fills caches of its own (fonts, brushes) on first use; count after that.
    SwitchPages(kWarmUpRounds);
    Hover(kWarmUpRounds);
    RewriteClock(kWarmUpRounds);
    const DWORD pid = GetCurrentProcessId();
    const int gdiBaseline = e2e::GdiHeadroom();
    const int windowsBaseline = e2e::WindowCountOfProcess(pid);
    std::printf("GDI headroom after warm-up: %d objects; windows of the process: %d\n", gdiBaseline, windowsBaseline);
    std::fflush(stdout);
    ASSERT_GT(gdiBaseline, 1000) << "headroom too small to measure anything";

    struct Phase {
        const char* name;
        void (WindowSoak::*run)(int);
    };
    const Phase phases[] = {
        {"page switches", &WindowSoak::SwitchPages},
        {"hover changes", &WindowSoak::Hover},
        {"clock caption changes", &WindowSoak::RewriteClock},
    };
    for (const Phase& phase : phases) {
        const DWORD start = GetTickCount();
        (this->*phase.run)(kRounds);
        const DWORD took = GetTickCount() - start;
        const int gdi = e2e::GdiHeadroom();
        const int windows = e2e::WindowCountOfProcess(pid);
        std::printf("%d %s: %lu ms, GDI headroom %d, windows %d\n", kRounds, phase.name,
                    static_cast<unsigned long>(took), gdi, windows);
        std::fflush(stdout);
        EXPECT_EQ(gdi, gdiBaseline) << kRounds << " " << phase.name << " changed the GDI headroom by "
                                    << (gdiBaseline - gdi) << " objects";
        EXPECT_EQ(windows, windowsBaseline) << kRounds << " " << phase.name << " changed the window count";
        ASSERT_TRUE(IsWindow(main_)) << "the main window died during " << phase.name;
    }

    // What the window holds goes with it: never less headroom than while it
    // lived, and a second window, built, drawn and destroyed, leaves the
    // headroom where the first left it (the first filled the system's caches).
    window_.Destroy();
    EXPECT_FALSE(IsWindow(main_));
    const int afterDestroy = e2e::GdiHeadroom();
    std::printf("GDI headroom after the window was destroyed: %d\n", afterDestroy);
    EXPECT_GE(afterDestroy, gdiBaseline);
    ASSERT_TRUE(window_.Build());
    main_ = window_.hwnd;
    page_ = PageControlWindow();
    SwitchPages(2);
    window_.Destroy();
    const int afterSecond = e2e::GdiHeadroom();
    EXPECT_EQ(afterSecond, afterDestroy) << "a window built and destroyed kept " << (afterDestroy - afterSecond)
                                         << " GDI objects";
}

// What the box hands on to the edit control's own procedure.
WNDPROC g_editProc = nullptr;
std::string g_handedOn;
LRESULT CALLBACK RecordHandedOn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_IME_SETCONTEXT) g_handedOn += "context " + std::to_string(lp & ISC_SHOWUIALL) + ";";
    if (msg == WM_IME_STARTCOMPOSITION || msg == WM_IME_ENDCOMPOSITION) g_handedOn += std::to_string(msg) + ";";
    return CallWindowProcA(g_editProc, hwnd, msg, wp, lp);
}

// An input method's composition replaces the box's selection: on the shown
// box it does, while the box is hidden with its page nothing of it arrives,
// and the input method is asked for no window of its own (Wine has none, so
// what the box hands on is what shows it).
TEST(PathBox, CompositionReachesItOnlyWhileItShows) {
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    ShowWindow(window.hwnd, SW_SHOW);
    HWND box = ControlWindow(kInstallFolderBox);
    ASSERT_TRUE(box);
    const std::string shown = "context " + std::to_string(ISC_SHOWUIALL) + ";269;270;";
    const struct {
        int page;
        const char* text;
        std::string handedOn;
    } rows[] = {{0, "XY", shown}, {1, "C:\\e\\", "context 0;"}};
    for (const auto& row : rows) {
        SelectPage(row.page);
        SetFocus(box);
        SetWindowTextA(box, "C:\\e\\");
        SendMessageA(box, EM_SETSEL, 0, -1);
        HIMC ime = ImmGetContext(box);
        ASSERT_TRUE(ime);
        ImmSetOpenStatus(ime, TRUE);
        ImmSetCompositionStringW(ime, SCS_SETSTR, const_cast<wchar_t*>(L"XY"), 4, nullptr, 0);
        ImmNotifyIME(ime, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        ImmReleaseContext(box, ime);
        inproc::Drain(window.hwnd);
        char text[16] = "";
        GetWindowTextA(box, text, sizeof text);
        EXPECT_STREQ(text, row.text) << "page " << row.page;
        g_editProc = reinterpret_cast<WNDPROC>(GetPropA(box, "TolvaneEditBoxProcedure"));
        ASSERT_TRUE(g_editProc);
        SetPropA(box, "TolvaneEditBoxProcedure", reinterpret_cast<HANDLE>(RecordHandedOn));
        g_handedOn.clear();
        for (UINT msg : {WM_IME_SETCONTEXT, WM_IME_STARTCOMPOSITION, WM_IME_ENDCOMPOSITION})
            SendMessageA(box, msg, TRUE, ISC_SHOWUIALL);
        SetPropA(box, "TolvaneEditBoxProcedure", reinterpret_cast<HANDLE>(g_editProc));
        EXPECT_EQ(g_handedOn, row.handedOn) << "page " << row.page;
    }
}

// The measure itself must see one object: otherwise an unchanged headroom
// above would prove nothing.
TEST(GdiHeadroom, SeesASingleLeakedObject) {
    const int before = e2e::GdiHeadroom();
    GdiObject<HBRUSH> held(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(held);
    EXPECT_EQ(e2e::GdiHeadroom(), before - 1);
    held.Reset();
    EXPECT_EQ(e2e::GdiHeadroom(), before);
}

}  // namespace
