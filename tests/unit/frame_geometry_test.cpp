#include "skin_engine/frame_geometry.h"

#include <gtest/gtest.h>

#include <tuple>

namespace engine {
namespace {

auto T(const Box& b) { return std::make_tuple(b.left, b.top, b.right, b.bottom); }

// A 400x300 window at (100, 50): 3-pixel border, 19-pixel caption band.
FrameInput Dialog() {
    FrameInput in;
    in.window = {100, 50, 500, 350};
    in.clientX = 103, in.clientY = 72, in.clientWidth = 394, in.clientHeight = 275;
    in.sysMenu = in.maxBox = in.minBox = in.icon = true;
    in.iconSize = 16, in.buttonSize = 16, in.textIndent = 4;
    return in;
}

TEST(FrameGeometry, CloseButtonAndTitleOrTheDefaultFrame) {
    struct Case {
        const char* what;
        void (*change)(FrameInput&);
        bool fits;
        Box close, text;
    };
    // clang-format off
    const Case cases[] = {
        {"dialog", [](FrameInput&) {}, true, {379, 4, 395, 20}, {27, 3, 339, 22}},
        {"big buttons shrink", [](FrameInput& in) { in.buttonSize = 30; }, true, {378, 4, 395, 21}, {27, 3, 336, 22}},
        {"no system menu", [](FrameInput& in) { in.sysMenu = in.icon = false; }, true, {}, {7, 3, 393, 22}},
        {"menu bar", [](FrameInput& in) { in.clientY = 92, in.menuBar = true, in.menuBarTop = 72; }, true,
         {379, 4, 395, 20}, {27, 3, 339, 22}},
        {"menu bar not known", [](FrameInput& in) { in.clientY = 92; }, true, {379, 14, 395, 30}, {27, 3, 339, 42}},
        {"narrowest", [](FrameInput& in) { in.window.right = 122, in.sysMenu = in.icon = false; }, true, {}, {7, 3, 15, 22}},
        {"too narrow", [](FrameInput& in) { in.window.right = 121; }, false, {}, {}},
        {"caption too low", [](FrameInput& in) { in.clientY = 60; }, false, {}, {}},
        {"client edge wider than the frame", [](FrameInput& in) { in.clientEdge = 4; }, false, {}, {}},
        // At 192 dpi the gaps double: 4 beside the buttons, 8 after the icon.
        {"gaps at 192 dpi", [](FrameInput& in) { in.dpi = 192; }, true, {378, 5, 393, 20}, {31, 3, 332, 22}},
    };
    // clang-format on
    for (const Case& c : cases) {
        FrameInput in = Dialog();
        c.change(in);
        const FrameGeometry g = MeasureFrame(in);
        ASSERT_EQ(g.fits, c.fits) << c.what;
        EXPECT_EQ(T(g.buttonCount ? g.buttons[0] : Box{}), T(c.close)) << c.what;
        EXPECT_EQ(T(g.text), T(c.text)) << c.what;
    }
}

TEST(FrameGeometry, ButtonsRightToLeftHitOnlyInside) {
    const FrameGeometry g = MeasureFrame(Dialog());
    EXPECT_EQ(T(g.icon), T({7, 4, 23, 20}));
    struct Hit {
        int x, y, button;
    };
    for (Hit h :
         {Hit{379, 4, kCloseButton}, Hit{394, 19, kCloseButton}, Hit{395, 10, kNoButton}, Hit{378, 10, kNoButton},
          Hit{370, 20, kNoButton}, Hit{370, 10, kMaxButton}, Hit{343, 10, kMinButton}, Hit{342, 10, kNoButton}})
        EXPECT_EQ(g.ButtonAt(h.x, h.y), h.button) << h.x << "," << h.y;
}

}  // namespace
}  // namespace engine
