// Where the parts of a skinned frame go: caption band, caption buttons, icon
// and title. Pure arithmetic on numbers the frame reads from the window, so
// that the layout is tested without one.
#pragma once

#include "core/scale.h"

namespace engine {

// Right and bottom exclusive, as the system's rectangles.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The system's hit-test codes of the caption buttons (HTMINBUTTON,
// HTMAXBUTTON, HTCLOSE), so that the frame passes them on as they are.
enum CaptionButton : int { kNoButton = 0, kMinButton = 8, kMaxButton = 9, kCloseButton = 20 };

struct FrameInput {
    Box window;                    // screen coordinates
    int clientX = 0, clientY = 0;  // the client area's origin on the screen
    int clientWidth = 0, clientHeight = 0;
    int clientEdge = 0;                   // width of a sunken client edge, 0 without
    bool menuBar = false;                 // the menu bar's top is known
    int menuBarTop = 0;                   // on the screen
    bool defaultInner = false;            // a menu or scroll bars: the default paints them
    bool sysMenu = false;                 // the close button; the style's maximise and
    bool maxBox = false, minBox = false;  // minimise buttons come only with it
    bool icon = false;                    // the window shows its small icon
    int iconSize = 0;                     // the small icon's width
    int buttonSize = 0;                   // the skin's caption button size
    int textIndent = 0;                   // the skin's gap before the icon or title
    int dpi = tolvane::kDesignDpi;        // the scale of the gaps between the parts
};

constexpr int kMaxCaptionButtons = 3;

// Window coordinates throughout.
struct FrameGeometry {
    bool fits = false;  // room for a skinned caption; else the default frame
    int width = 0, height = 0;
    Box client;
    Box inner;       // inside the border and below caption (and menu)
    int border = 0;  // frame thickness, without the client edge
    int captionBottom = 0;
    bool defaultInner = false;
    Box buttons[kMaxCaptionButtons];
    int buttonHit[kMaxCaptionButtons] = {};
    int buttonCount = 0;
    Box icon;
    Box text;

    // Returns the caption button at a point of the window, or kNoButton if none.
    int ButtonAt(int x, int y) const;
};

FrameGeometry MeasureFrame(const FrameInput& in);

// Puts the small icon at the start of the title, which moves after it; for a
// caption that fits. MeasureFrame does it when `in.icon` is set; the frame
// does it itself, so that it asks the window for its icon only for a caption
// that fits, and lays the caption out once.
void PlaceIcon(FrameGeometry* g, int iconSize, int dpi = tolvane::kDesignDpi);

}  // namespace engine
