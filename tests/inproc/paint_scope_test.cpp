// What a clock tick and a hover change repaint, seen from inside: the update
// region of every WM_PAINT and WM_NCPAINT the change causes. Equal pixels
// cannot show that a whole strip or page was repainted where one tab or one
// label would have done. And what a tick writes after the time zone changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

#include "navigation/win/navigation.h"
#include "tests/inproc/program_window.h"
#include "toolkit/control_table.h"
#include "toolkit/win/control_services.h"
#include "winutil/gdi_objects.h"

using namespace tolvane;

namespace {

// Screen region of everything painted while recording, and who painted.
struct PaintLog {
    bool recording = false;
    GdiObject<HRGN> painted;
    std::vector<HWND> windows;
} g_log;

void AddUpdateRegion(HWND hwnd, bool nonClient) {
    const GdiObject<HRGN> r(CreateRectRgn(0, 0, 0, 0));
    if (GetUpdateRgn(hwnd, r.Get(), FALSE) > NULLREGION) {
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        OffsetRgn(r.Get(), origin.x, origin.y);
        CombineRgn(g_log.painted.Get(), g_log.painted.Get(), r.Get(), RGN_OR);
        g_log.windows.push_back(hwnd);
    } else if (nonClient) {
        // A frame repaint: all of the window counts.
        RECT w;
        GetWindowRect(hwnd, &w);
        const GdiObject<HRGN> whole(CreateRectRgnIndirect(&w));
        CombineRgn(g_log.painted.Get(), g_log.painted.Get(), whole.Get(), RGN_OR);
        g_log.windows.push_back(hwnd);
    }
}

// Called before the window procedure: the update region is still whole.
LRESULT CALLBACK BeforeProcedure(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && g_log.recording && (m->message == WM_PAINT || m->message == WM_NCPAINT))
        AddUpdateRegion(m->hwnd, m->message == WM_NCPAINT);
    return CallNextHookEx(nullptr, code, wp, lp);
}

RECT ScreenRectOf(HWND page, const RECT& client) {
    RECT r = client;
    MapWindowPoints(page, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class PaintScope : public ::testing::Test {
protected:
    // Once, before this process binds the engine.
    static void SetUpTestSuite() { inproc::DropStaleSkinFiles(); }
    void SetUp() override {
        ASSERT_TRUE(window_.Build());
        main_ = window_.hwnd;
        page_ = PageControlWindow();
        hook_.Reset(SetWindowsHookExA(WH_CALLWNDPROC, BeforeProcedure, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(hook_);
        g_log.painted.Reset(CreateRectRgn(0, 0, 0, 0));
        inproc::Drain(main_);
    }
    void TearDown() override {
        hook_.Reset();
        g_log = PaintLog{};
    }

    // Runs `change` and everything it queues, recording what gets painted.
    template <typename F>
    void Record(F change) {
        SetRectRgn(g_log.painted.Get(), 0, 0, 0, 0);
        g_log.windows.clear();
        g_log.recording = true;
        change();
        inproc::Drain(main_);
        g_log.recording = false;
    }

    // Fails unless everything painted lies inside `allowed`, and `mustPaint` was painted.
    void ExpectPaintedWithin(HRGN allowed, const RECT& mustPaint, const char* what) {
        const GdiObject<HRGN> outside(CreateRectRgn(0, 0, 0, 0));
        const int kind = CombineRgn(outside.Get(), g_log.painted.Get(), allowed, RGN_DIFF);
        RECT box{};
        GetRgnBox(outside.Get(), &box);
        EXPECT_EQ(kind, NULLREGION) << what << " painted outside what it changes, within (" << box.left << ","
                                    << box.top << ")-(" << box.right << "," << box.bottom << ") on screen";
        EXPECT_TRUE(RectInRegion(g_log.painted.Get(), &mustPaint)) << what << " did not repaint what it changed";
    }

    inproc::ProgramWindow window_;
    HWND main_ = nullptr, page_ = nullptr;
    e2e::Hook hook_;
};

// The label paints itself at once: no window goes through WM_PAINT, the
// windows beneath it least of all. Emptied after longer texts, it shows just
// what lay beneath it before it was first shown.
TEST_F(PaintScope, ClockTickPaintsTheLabelAloneAndLeavesNoTrace) {
    KillTimer(main_, kClockTimerId);
    SetVisibleFlag(kClockLabel, false);
    inproc::Drain(main_);
    RECT label;
    GetWindowRect(ControlWindow(kClockLabel), &label);
    const e2e::Capture beneath = e2e::CaptureScreen(label);
    SetVisibleFlag(kClockLabel, true);
    for (const char* text : {"2026年12月31日18时40分22秒", "2026年1月7日8时", ""}) {
        Record([&] { SetLabelCaption(kClockLabel, text); });
        EXPECT_EQ(g_log.windows.size(), 0u) << "windows sent WM_PAINT at a tick to \"" << text << "\"";
    }
    const e2e::Capture emptied = e2e::CaptureScreen(label);
    int differ = 0;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x) differ += !(emptied.At(x, y) == beneath.At(x, y));
    EXPECT_EQ(differ, 0) << "pixels of the emptied label that differ from what lies beneath it";
}

TEST_F(PaintScope, HoverChangeRepaintsOnlyTheTabsConcerned) {
    const e2e::TabGeometry g = e2e::DesignTabs();
    auto centre = [](const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); };
    const RECT tab0 = ScreenRectOf(page_, g.tabs[0]), tab1 = ScreenRectOf(page_, g.tabs[1]);
    const GdiObject<HRGN> both(CreateRectRgnIndirect(&tab0)), second(CreateRectRgnIndirect(&tab1));
    CombineRgn(both.Get(), both.Get(), second.Get(), RGN_OR);
    // Onto the other tab, from there back to the current one, then off the
    // strip: each change touches the tab left, the tab entered and the
    // current tab, never the page body or the strip around them.
    struct Step {
        LPARAM at;
        UINT message;
        RECT changed;
        const char* what;
    } steps[] = {
        {centre(g.tabs[1]), WM_MOUSEMOVE, tab1, "moving onto the second tab"},
        {centre(g.tabs[0]), WM_MOUSEMOVE, tab0, "moving back onto the current tab"},
        {MAKELPARAM(200, 120), WM_MOUSEMOVE, tab0, "moving onto the page body"},
        {centre(g.tabs[1]), WM_MOUSEMOVE, tab1, "moving onto the second tab again"},
        {0, WM_MOUSELEAVE, tab1, "leaving the control"},
    };
    for (const Step& s : steps) {
        Record([&] { SendMessageA(page_, s.message, 0, s.at); });
        ExpectPaintedWithin(both.Get(), s.changed, s.what);
    }
}

// The C library reads the time zone once: a running window's clock takes a new
// zone when the system announces it, by either message, and not before.
TEST_F(PaintScope, ClockTakesANewTimeZoneTheSystemAnnounces) {
    auto hourEast = [](int hours) {
        SYSTEMTIME now;
        GetSystemTime(&now);
        return (now.wHour + hours + 24) % 24;
    };
    // The first zone goes straight to the C library, as at a start.
    const std::tuple<const char*, int, UINT> steps[] = {
        {"TZ=UTC0", 0, 0}, {"TZ=EAS-5", 5, WM_TIMECHANGE}, {"TZ=WES+3", -3, WM_SETTINGCHANGE}};
    for (const auto& [zone, east, message] : steps) {
        _putenv(zone);
        if (message) SendMessageA(main_, message, 0, 0);
        else _tzset();
        const int before = hourEast(east);
        UpdateClock();
        const std::string caption = e2e::TextOf(ControlWindow(kClockLabel));
        const size_t hour = caption.find("日") + std::strlen("日");
        const int shown = hour < caption.size() ? std::atoi(caption.c_str() + hour) : 0;  // 0:00:00 shows no time
        EXPECT_TRUE(shown == before || shown == hourEast(east)) << zone << ": " << caption;
    }
    _putenv("TZ=");
    _tzset();
}

}  // namespace
