// The main window's form as data: every control, in control order, with the
// settings the window code builds it from. Pure data, shared with the tests so
// that the end-to-end driver finds controls by the same ids the program uses.
#pragma once

#include "controls/options.h"
#include "core/window_classes.h"

namespace tolvane {

enum class Kind { Window, PageControl, Button, EditBox, TransLabel, PicBox, Timer, CommonDlg };

// Control order: the order of the page control's child list, repair page first.
// It is also the stacking order, front to back.
enum ControlIndex {
    kDialog1,     // 通用对话框1
    kLabel1,      // 透明标签1
    kButton2,     // 按钮2
    kButton1,     // 按钮1
    kPicture1,    // 图片框1
    kTimer1,      // 时钟1
    kLabel3,      // 透明标签3
    kAbout,       // 关于
    kRepair,      // 修复
    kEdit2,       // 编辑框2
    kEdit1,       // 编辑框1
    kAboutBack,   // 关于返回
    kLabel2,      // 透明标签2
    kControlCount
};

enum ControlFlags : unsigned {
    kVisible = 1u << 0,
    kDisabled = 1u << 1,
    kTabStop = 1u << 2,
    kDefaultButton = 1u << 3,
};

struct ControlSpec {
    const char* name;        // form name, code page 936
    Kind kind;
    int page;                // 0 = repair page, 1 = about page
    int left, top, width, height;  // relative to the page control, in 96-dpi pixels
    unsigned flags;
    const char* caption;     // initial caption or content, code page 936
    FontChoice font;
    LabelLayout labelLayout; // TransLabel only
};

extern const ControlSpec kControls[kControlCount];

// Child-window ids: the driver and the program address controls by them.
constexpr int kControlIdBase = 1000;
constexpr int ControlId(int index) { return kControlIdBase + index; }
constexpr int kPageControlId = 999;
constexpr int kClockTimerId = 1;

struct PageControlSpec {
    const char* name;
    int left, top, width, height;
    const char* pageCaptions[2];
    int tabRowHeight;
};
extern const PageControlSpec kPageControl;

struct MainWindowSpec {
    const char* caption;
    int width, height;
};
extern const MainWindowSpec kMainWindow;

constexpr int kTimerIntervalMs = 1000;

// The form as read at start: every control named, on one of the two pages,
// with a size that is not negative.
bool FormTableIsValid();

// Tab and Shift+Tab walk the controls in the reverse of the control order.
bool IsWindowedKind(Kind kind);
bool CanTakeFocus(Kind kind);

}  // namespace tolvane
