#include "toolkit/win/accessible_names.h"

#include "controls/win/pic_box.h"
#include "toolkit/control_table.h"

namespace tolvane {

namespace {

// The path boxes have no label of their own: the button beside each says
// what it holds. Every Windows from XP on (and Wine) names an edit box after
// the static text control before it in the stacking order (GW_HWNDPREV),
// shown or not, as Microsoft advises for a control without a visible label.
// A hidden static is no control of the form: it takes no focus, no page
// switch shows it and no other control moves.
struct EditLabel {
    int edit;
    int button;
};
constexpr EditLabel kEditLabels[] = {{kInstallFolderBox, kBrowseButton}, {kLinkConfigBox, kLinkConfigButton}};

// What the banner (resources/banner.jpg) says, line by line.
constexpr char kBannerWords[] = "Tolvane 修复工具，编写: Tolvane 开发组 · 感谢所有测试者";

constexpr int kEditLabelCount = sizeof kEditLabels / sizeof kEditLabels[0];
static_assert(kEditLabelCount == sizeof Form::pathNames / sizeof(HWND), "one hidden name per path box");

HWND LabelEdit(const Form& form, const EditLabel& l, HINSTANCE instance) {
    HWND edit = form.controls[l.edit].hwnd;
    if (!edit) return nullptr;
    const ControlSpec& c = kControls[l.edit];
    HWND label = CreateWindowExA(0, "STATIC", kControls[l.button].caption, WS_CHILD | SS_LEFT | SS_NOPREFIX,
                                 ScaleToDpi(c.left, form.dpi), ScaleToDpi(c.top, form.dpi), 0, 0, GetParent(edit),
                                 reinterpret_cast<HMENU>(-1), instance, nullptr);
    if (!label) return nullptr;
    HWND before = GetWindow(edit, GW_HWNDPREV);
    SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return label;
}

}  // namespace

void NameFormControls(Form& form, HINSTANCE instance) {
    for (int i = 0; i < kEditLabelCount; ++i) form.pathNames[i] = LabelEdit(form, kEditLabels[i], instance);
    SetPicBoxWords(form.controls[kBanner].hwnd, kBannerWords);
}

void PlaceFormNames(const Form& form) {
    for (int i = 0; i < kEditLabelCount; ++i) {
        const ControlSpec& c = kControls[kEditLabels[i].edit];
        if (form.pathNames[i])
            SetWindowPos(form.pathNames[i], nullptr, ScaleToDpi(c.left, form.dpi), ScaleToDpi(c.top, form.dpi), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace tolvane
