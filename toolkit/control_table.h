// The main window's form as data: its pages, and every control, in control
// order, with the settings the window code builds it from. What each kind of
// control is, its window class, styles and colours, is the kind table's
// (toolkit/win/control_kinds.h). The in-process tests and the bench read it
// too; the end-to-end tests see the form only through the running window.
#pragma once

#include "controls/options.h"
#include "core/window_classes.h"

namespace tolvane {

enum class Kind : unsigned char { Window, PageControl, Button, EditBox, TransLabel, PicBox, Timer, CommonDlg, Count };

// The pages, in the order of their tabs; kPageCaptions has one per page.
enum Page { kRepairPage, kAboutPage, kPageCount };
extern const char* const kPageCaptions[kPageCount];  // code page 936

// Control order: the order of the page control's child list, repair page first.
// It is also the stacking order, front to back. Each control is named for what
// it does; its name on the form stands beside it.
enum ControlIndex {
    kFileDialog,        // 通用对话框1: the browse dialog
    kContactLabel,      // 透明标签1: the contact line
    kBrowseButton,      // 按钮2: browse for the installation
    kLinkConfigButton,  // 按钮1: names the link configuration box, disabled
    kBanner,            // 图片框1: the credits banner
    kClockTimer,        // 时钟1: ticks the clock line
    kClockLabel,        // 透明标签3: the clock line
    kAboutButton,       // 关于: shows the about page
    kRepairButton,      // 修复: confirms the repair
    kLinkConfigBox,     // 编辑框2: the path of tools\link.ini
    kInstallFolderBox,  // 编辑框1: the installation folder
    kReturnButton,      // 关于返回: back to the repair page
    kAboutText,         // 透明标签2: the about text, the home-page link
    kControlCount
};

enum ControlFlags : unsigned {
    kVisible = 1u << 0,
    kDisabled = 1u << 1,
    kTabStop = 1u << 2,
    kDefaultButton = 1u << 3,
};

// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding): the fields are the columns of the table, in its order
struct ControlSpec {
    const char* name;  // form name, code page 936
    // Narrow types: the table ships in the executable, and the executable stays small.
    Kind kind;
    signed char page;                // a Page
    short left, top, width, height;  // relative to the page control, in 96-dpi pixels
    unsigned flags;
    const char* caption;  // initial caption or content, code page 936
    FontChoice font;
    LabelLayout labelLayout;  // TransLabel only
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
    int tabRowHeight;
};
extern const PageControlSpec kPageControl;

struct MainWindowSpec {
    const char* caption;
    int width, height;
};
extern const MainWindowSpec kMainWindow;

constexpr int kTimerIntervalMs = 1000;

// The form as read at start: every control named, on one of the pages, with
// a size that is not negative.
bool FormTableIsValid();

}  // namespace tolvane
