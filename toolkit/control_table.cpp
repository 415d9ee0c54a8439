#include "toolkit/control_table.h"

namespace tolvane {

namespace {
constexpr unsigned V = kVisible, D = kDisabled, T = kTabStop, DEF = kDefaultButton;
constexpr auto SL = LabelLayout::SingleLineCentred;
constexpr auto WW = LabelLayout::WordWrapTop;
constexpr auto GUI = FontChoice::DefaultGui;
}  // namespace

// clang-format off
const ControlSpec kControls[kControlCount] = {
    {"通用对话框1", Kind::CommonDlg,  0, 216,   0,  40,  32, 0,           "",            GUI, SL},
    {"透明标签1",   Kind::TransLabel, 0, 270, 192,  83,  16, V,           "联系:Tolvane", GUI, SL},
    {"按钮2",       Kind::Button,     0,   9,  88,  78,  24, V | T,       "易语言路径",   FontChoice::SongTiPlain, SL},
    {"按钮1",       Kind::Button,     0,   9, 128,  78,  24, V | D | T | DEF, "静态配置文件", GUI, SL},
    {"图片框1",     Kind::PicBox,     0,   1,  23, 191,  60, V,           "",            GUI, SL},
    {"时钟1",       Kind::Timer,      0, 280,   0,  24,  32, 0,           "",            GUI, SL},
    {"透明标签3",   Kind::TransLabel, 0,   1, 192, 360,  16, 0,           "透明标签",     GUI, SL},
    {"关于",        Kind::Button,     0,  41, 162,  64,  24, V | T,       "关 于",        GUI, SL},
    {"修复",        Kind::Button,     0, 273, 162,  64,  24, V | T,       "修 复",        GUI, SL},
    {"编辑框2",     Kind::EditBox,    0,  89, 132, 260,  17, V | T,       "",            GUI, SL},
    {"编辑框1",     Kind::EditBox,    0,  89,  92, 260,  17, V | T,       "",            GUI, SL},
    {"关于返回",    Kind::Button,     1, 288, 168,  56,  24, V | T,       "返 回",        GUI, SL},
    {"透明标签2",   Kind::TransLabel, 1,  44,  71, 272,  96, V,
     "TolvaneV1.0\r\n\r\n"
     "本程序适用于易语言5.0与5.0以上版本使用\r\n\r\n"
     "希望可以广交易有共同学习\r\n\r\n"
     "主页:https://tolvane.example.org/",                                    GUI, WW},
};
// clang-format on

const char* const kPageCaptions[kPageCount] = {"Tolvane", "关于本程序"};

const PageControlSpec kPageControl = {"高级选择夹1", 8, 8, 360, 208, 20};

const MainWindowSpec kMainWindow = {"TolvaneV1.0", 380, 250};

bool FormTableIsValid() {
    for (const ControlSpec& c : kControls) {
        if (!c.name || !*c.name || !c.caption || c.page < 0 || c.page >= kPageCount || c.width < 0 || c.height < 0)
            return false;
    }
    return kPageControl.width >= 0 && kPageControl.height >= 0;
}

}  // namespace tolvane
