#include "toolkit/win/control_kinds.h"

#include "core/window_classes.h"

namespace tolvane {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

// clang-format off
constexpr KindRow kKinds[] = {
    /* Window      */ {nullptr,           0, 0, false, false, Part::Skin, kBlack},
    /* PageControl */ {kPageControlClass, 0, 0, false, false, Part::PageBody, kBlack},
    /* Button      */ {"BUTTON", 0, BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, true, true, Part::Skin, kBlack},
    /* EditBox     */ {"EDIT", WS_EX_CLIENTEDGE, ES_LEFT | ES_AUTOHSCROLL, true, false, Part::Skin, kBlack},
    /* TransLabel  */ {kTransLabelClass,  0, 0, false, false, Part::Label, kBlack},
    /* PicBox      */ {kPicBoxClass,      0, 0, false, false, Part::Banner, kBlack},
    /* Timer       */ {nullptr,           0, 0, false, false, Part::Skin, kBlack},
    /* CommonDlg   */ {nullptr,           0, 0, false, false, Part::Skin, kBlack},
};
// clang-format on
static_assert(sizeof kKinds / sizeof kKinds[0] == static_cast<int>(Kind::Count), "one row per kind");

}  // namespace

const KindRow& KindOf(Kind kind) { return kKinds[static_cast<int>(kind)]; }

}  // namespace tolvane
