// What each part of the window is painted in. Without high contrast every
// part keeps its own look: the design's colours, the skin's frame. With it,
// Windows asks for matched pairs of system colours only, a pair's text on
// that pair's background, and for the skin to leave drawing to the system.
#pragma once

namespace tolvane {

// The system colours of those pairs; the values are Windows' COLOR_ indices.
enum class SysColour : int {
    Highlight = 13,
    HighlightText = 14,
    ButtonFace = 15,
    GrayText = 17,
    ButtonText = 18,
};

enum class Part {
    TabStrip,  // behind the tabs
    Tab,       // a tab that is not current
    CurrentTab,
    DisabledTab,  // any tab of a disabled strip
    PageBody,
    Label,   // a transparent label's text, over the page body
    Banner,  // its picture, or in its place its words
    Skin,    // the skin engine's frames, push buttons and edit borders
};

struct Look {
    enum Kind { kOwn, kPair, kSystem } kind = kOwn;  // kSystem: the skin stands aside
    SysColour text = SysColour::ButtonText;          // the pair, for kPair
    SysColour back = SysColour::ButtonFace;
};

Look LookOf(Part part, bool highContrast);

}  // namespace tolvane
