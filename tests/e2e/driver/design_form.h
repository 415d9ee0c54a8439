// The main window as designed, written down here on its own: the tests compare
// the running program with this, never with the program's own tables, so that a
// wrong number, caption or flag there disagrees with something here.
#pragma once
#include <windows.h>

namespace design {

enum Flag : unsigned { V = 1, D = 2, T = 4, DEF = 8 };  // visible, disabled, tab stop, default button

struct Control {
    const char* name;         // form name, code page 936
    const char* windowClass;  // null: a component, which has no window
    int page;
    int left, top, width, height;  // page-control coordinates; the banner's width before it is widened
    unsigned flags;
    const char* caption;  // null: not a fixed text (the edit boxes)
};

// clang-format off
// Control order, which is also the stacking order from the front.
enum Index { kFileDialog, kContactLabel, kBrowseButton, kLinkConfigButton, kBanner, kClockTimer, kClockLabel,
             kAboutButton, kRepairButton, kLinkConfigBox, kInstallFolderBox, kReturnButton, kAboutText, kCount };

// The about text: three fixed paragraphs and a contact line of the program's choosing.
#define DESIGN_ABOUT_TEXT                                                       \
    "TolvaneV1.0\r\n\r\n本程序适用于易语言5.0与5.0以上版本使用\r\n\r\n"         \
    "希望可以广交易有共同学习\r\n\r\n主页:https://tolvane.example.org/"

inline constexpr Control kControls[kCount] = {
    {"通用对话框1", nullptr,             0, 216,   0,  40,  32, 0,             ""},
    {"透明标签1",   "TolvaneTransLabel", 0, 270, 192,  83,  16, V,             "联系:Tolvane"},
    {"按钮2",       "Button",            0,   9,  88,  78,  24, V | T,         "易语言路径"},
    {"按钮1",       "Button",            0,   9, 128,  78,  24, V | D | T | DEF, "静态配置文件"},
    {"图片框1",     "TolvanePicBox",     0,   1,  23, 191,  60, V,             ""},
    {"时钟1",       nullptr,             0, 280,   0,  24,  32, 0,             ""},
    {"透明标签3",   "TolvaneTransLabel", 0,   1, 192, 360,  16, 0,             "透明标签"},
    {"关于",        "Button",            0,  41, 162,  64,  24, V | T,         "关 于"},
    {"修复",        "Button",            0, 273, 162,  64,  24, V | T,         "修 复"},
    {"编辑框2",     "Edit",              0,  89, 132, 260,  17, V | T,         nullptr},
    {"编辑框1",     "Edit",              0,  89,  92, 260,  17, V | T,         nullptr},
    {"关于返回",    "Button",            1, 288, 168,  56,  24, V | T,         "返 回"},
    {"透明标签2",   "TolvaneTransLabel", 1,  44,  71, 272,  96, V,             DESIGN_ABOUT_TEXT},
};
// clang-format on

// Tab and Shift+Tab walk these, in this order, on the repair page.
inline constexpr Index kTabOrder[] = {kInstallFolderBox, kLinkConfigBox, kRepairButton, kAboutButton, kBrowseButton};
constexpr int kTabStopCount = sizeof kTabOrder / sizeof kTabOrder[0];

// FitBanner widens the banner to the page control's width minus 5.
constexpr int kBannerWidthAfterStart = 355;

// The page control, relative to the main window's client area.
constexpr const char* kPageName = "高级选择夹1";
constexpr const char* kPageClass = "TolvanePageControl";
constexpr RECT kPageRect = {8, 8, 8 + 360, 8 + 208};
inline constexpr const char* kPageCaptions[] = {"Tolvane", "关于本程序"};
constexpr int kPageCount = sizeof kPageCaptions / sizeof kPageCaptions[0];
// One row of tabs from y = 2 to 22; the page body is the rest.
constexpr int kTabTop = 2, kTabBottom = 22, kFirstTabLeft = 1;
constexpr RECT kPageBody = {0, 22, 360, 208};

constexpr const char* kMainClass = "TolvaneMainWindow";
constexpr const char* kMainTitle = "TolvaneV1.0";
constexpr int kMainWidth = 380, kMainHeight = 250;

// How the driver finds the program's windows: child ids, 1000 + place in the
// control order, 999 for the page control.
constexpr int kPageId = 999;
constexpr int Id(int index) { return 1000 + index; }

// The one web address the program opens (its own choice, pinned here so that
// a change is a deliberate one).
constexpr const char* kHomePage = "https://tolvane.example.org/";

}  // namespace design
