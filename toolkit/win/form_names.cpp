#include "toolkit/win/form_names.h"

#include "toolkit/form_table.h"
#include "controls/win/pic_box.h"

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
constexpr EditLabel kEditLabels[] = {{kEdit1, kButton2}, {kEdit2, kButton1}};

// What the banner (resources/banner.jpg) says, line by line.
constexpr char kBannerWords[] = "Tolvane 修复工具，编写: Tolvane 开发组 · 感谢所有测试者";

void LabelEdit(const Form& form, const EditLabel& l, HINSTANCE instance) {
    HWND edit = form.controls[l.edit].hwnd;
    if (!edit) return;
    const ControlSpec& c = kControls[l.edit];
    HWND label = CreateWindowExA(0, "STATIC", kControls[l.button].caption, WS_CHILD | SS_LEFT | SS_NOPREFIX, c.left,
                                 c.top, 0, 0, GetParent(edit), reinterpret_cast<HMENU>(-1), instance, nullptr);
    if (!label) return;
    HWND before = GetWindow(edit, GW_HWNDPREV);
    SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void NameFormControls(const Form& form, HINSTANCE instance) {
    for (const EditLabel& l : kEditLabels) LabelEdit(form, l, instance);
    SetPicBoxWords(form.controls[kPicture1].hwnd, kBannerWords);
}

}  // namespace tolvane
