// The installation locator seen from outside: the real program started against
// the real registry of the prefix, the two path boxes read back, the Open
// dialog and the repair message boxes driven with real input. Every case is a
// launch of its own; the registry value is cleared before and after each.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/driver/fixture.h"
#include "tests/e2e/driver/locator_support.h"

using namespace design;
using e2e::Facts;
using e2e::Printable;

namespace {

constexpr DWORD kDialogTimeoutMs = 10000;

const char kFlySky[] = "Software\\FlySky";
const char kInstallKey[] = "Software\\FlySky\\E\\Install";
const char kTestFolder[] = "C:\\tolvane-e2e";

const char kDoneTitle[] = "完成";
const char kDoneText[] = "易语言静态链接编译器功能修复完成！";
const char kErrorTitle[] = "错误";
const char kErrorText[] = "抱歉没有查找到相关路径，请您手动寻找易语言路径，或者修复前请至少运行一次易语言！";

std::string Yes(bool b) { return b ? "yes" : "no"; }

std::string Repeat(const std::string& part, std::size_t times) {
    std::string out;
    out.reserve(part.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += part;
    return out;
}

std::string SystemFolder() {
    char dir[MAX_PATH] = "";
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\system";
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

void ClearInstallValues() {
    // Both roots: one case plants the value under HKEY_LOCAL_MACHINE only.
    ASSERT_TRUE(e2e::RegDeleteKeyTree(HKEY_CURRENT_USER, kFlySky));
    ASSERT_TRUE(e2e::RegDeleteKeyTree(HKEY_LOCAL_MACHINE, kFlySky));
}

const char kDialogMemoryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";

class LocatorTest : public e2e::ProgramTest {
protected:
    void SetUp() override {
        ClearInstallValues();
        ASSERT_TRUE(e2e::RemoveFolderTree(kTestFolder));
        // The platform's Open dialog remembers, per program, where it was last
        // confirmed and offers that on its first opening: every case starts
        // from a dialog that has never been used.
        ASSERT_TRUE(e2e::RegDeleteKeyTree(HKEY_CURRENT_USER, kDialogMemoryKey));
    }

    void TearDown() override {
        ProgramTest::TearDown();
        ClearInstallValues();
        e2e::RemoveFolderTree(kTestFolder);
    }

    // What the program must leave as it is: the environment's registry tree
    // under both roots, the test folder, the program's folder and the system
    // folder, apart from the skin files that start-up writes there by design.
    static std::string Untouched() {
        return e2e::RegistryTree(HKEY_CURRENT_USER, kFlySky) + e2e::RegistryTree(HKEY_LOCAL_MACHINE, kFlySky) +
               e2e::FolderTree(kTestFolder) +
               e2e::FolderTree(SystemFolder(), {"Skin.dll", "QQ2009.she", "qq2008.she"}, false) +
               e2e::FolderTree(FolderOf(e2e::ProgramPath()), {}, false);
    }

    void Start(const std::string& startIn = {}) {
        before_ = Untouched();
        e2e::LaunchOptions options;
        options.lifetimeMs = 90000;
        options.workingDir = startIn;
        ASSERT_NO_FATAL_FAILURE(ProgramTest::Start(options));
        edit1_ = Control(kInstallFolderBox);
        edit2_ = Control(kLinkConfigBox);
        ASSERT_TRUE(edit1_ && edit2_) << "no path boxes";
        e2e::Settle(program_->Handle());
    }

    std::string Text(HWND hwnd) const {
        std::string text;
        if (!e2e::WholeTextOf(hwnd, &text)) return "<no answer>";
        return text;
    }

    void Boxes(Facts* facts, const std::string& when, const std::string& edit1, const std::string& edit2) const {
        facts->Add(when + ": edit1", Printable(Text(edit1_)), Printable(edit1));
        facts->Add(when + ": edit2", Printable(Text(edit2_)), Printable(edit2));
    }

    // Ends the run with a close request and adds what the end must show: the
    // program still running until then, exit code 0, and nothing it must not
    // touch changed.
    void Finish(Facts* facts) {
        facts->Add("running before the close request", Yes(program_->Running()), "yes");
        PostMessageA(main_, WM_CLOSE, 0, 0);
        DWORD code = 1234;
        const bool ended = program_->WaitForExit(kExitTimeoutMs, &code);
        facts->Add("exit code", ended ? std::to_string(static_cast<long>(code)) : "still running", "0");
        const std::string after = Untouched();
        facts->Add("registry and files",
                   after == before_ ? "unchanged" : "changed:\n" + before_ + "--- after ---\n" + after, "unchanged");
    }

    // ---- the two dialogs the program opens ----

    std::vector<HWND> Dialogs() const { return e2e::MessageBoxes(program_->Id()); }

    HWND WaitForDialog() const {
        HWND found = nullptr;
        e2e::WaitFor(
            [&] {
                const auto all = Dialogs();
                found = all.empty() ? nullptr : all.front();
                return found != nullptr || !program_->Running();
            },
            kDialogTimeoutMs, 20);
        if (found) e2e::Settle(program_->Handle());
        return found;
    }

    bool WaitForNoDialog() const {
        return e2e::WaitFor([&] { return Dialogs().empty(); }, kDialogTimeoutMs, 20);
    }

    // A click on a control of the main window while a modal window is open:
    // the modal window is moved off the control first, so that the click lands
    // on the (disabled) control rather than on the modal window.
    void ClickUnderModal(HWND modal, int index) {
        HWND control = Control(index);
        e2e::MoveAside(modal, main_);
        e2e::ClickAt(e2e::CentreOf(control));
        e2e::Pump(300);
    }

    // A click on 按钮2 and the Open dialog it brings up.
    HWND OpenBrowseDialog() {
        EXPECT_TRUE(e2e::ClickControl(Control(kBrowseButton)));
        // Park the pointer away from where the dialog's file list appears, so
        // that no item gets picked up under it.
        e2e::MoveMouse(POINT{2, 2});
        return WaitForDialog();
    }

    HWND edit1_ = nullptr;
    HWND edit2_ = nullptr;
    std::string before_;
};

// ---- start-up: what the registry value gives ----------------------------------

enum class Store { Value, OtherValueOnly, NoKey };

struct ValueCase {
    const char* name;
    Store store;
    HKEY root;
    DWORD type;
    std::string bytes;  // stored as they are: a terminating zero only where written
    std::string edit1;
    std::string edit2;
    // Where the platform returns other bytes than were stored: the
    // value as the test itself reads it back (empty: not looked at).
    std::string readBack = {};
};

std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

// Two-byte characters around and inside the removed text: 易语言, and a
// character whose second byte is 0x5C, the backslash byte.
const std::string kYiYuYan = "易语言";
const std::string kTrailBackslash = "\x81\x5C";

// Long values: "D:\data\" and then "数据lib\" again and again; every "lib\"
// goes, the characters stay. 8 + 8 n bytes.
std::string LongValue(std::size_t n) { return "D:\\data\\" + Repeat("数据lib\\", n); }
std::string LongFolder(std::size_t n) { return "D:\\data\\" + Repeat("数据", n); }

std::vector<ValueCase> ValueCases() {
    const std::string drive = e2e::EnvVar("SystemDrive");
    const std::size_t n40k = (40000 - 8) / 8, n1m = (1048576 - 8) / 8;
    return {
        {"LibRemoved", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\e\\lib\\"), "D:\\e\\",
         "D:\\e\\tools\\link.ini"},
        {"NoLibNoSeparatorAdded", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\e"), "D:\\e",
         "D:\\etools\\link.ini"},
        {"LibInsideFolderNames", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\zlib\\e\\lib\\"), "D:\\ze\\",
         "D:\\ze\\tools\\link.ini"},
        {"OtherCaseKept", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\E\\LIB\\"), "D:\\E\\LIB\\",
         "D:\\E\\LIB\\tools\\link.ini"},
        {"LeadByteTakesTheL", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\\xB0lib\\"), "D:\\\xB0lib\\",
         "D:\\\xB0lib\\tools\\link.ini"},
        {"TwoByteFolderNames", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\" + kYiYuYan + "\\lib\\"),
         "D:\\" + kYiYuYan + "\\", "D:\\" + kYiYuYan + "\\tools\\link.ini"},
        {"TrailByteBackslashThenLib", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\" + kTrailBackslash + "lib\\"),
         "D:\\" + kTrailBackslash, "D:\\" + kTrailBackslash + "tools\\link.ini"},
        // The registry keeps text as UTF-16, so a lead byte without its trail byte
        // comes back as the platform's default character: the program never
        // sees it, but must take what it gets.
        {"LoneLeadByteAtTheEnd", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\e\\lib\\\xB0"), "D:\\e\\?",
         "D:\\e\\?tools\\link.ini", "D:\\e\\lib\\?"},
        {"ExpandableSystemDrive", Store::Value, HKEY_CURRENT_USER, REG_EXPAND_SZ, Sz("%SystemDrive%\\e\\lib\\"),
         drive + "\\e\\", drive + "\\e\\tools\\link.ini"},
        {"ExpandableUndefinedVariable", Store::Value, HKEY_CURRENT_USER, REG_EXPAND_SZ,
         Sz("%TOLVANE_E2E_UNSET%\\e\\lib\\"), "%TOLVANE_E2E_UNSET%\\e\\", "%TOLVANE_E2E_UNSET%\\e\\tools\\link.ini"},
        {"NoTerminatingZero", Store::Value, HKEY_CURRENT_USER, REG_SZ, "D:\\e\\lib\\", "D:\\e\\",
         "D:\\e\\tools\\link.ini"},
        {"TextEndsAtFirstZero", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz(Sz("D:\\e\\lib\\") + "X:\\junk"), "D:\\e\\",
         "D:\\e\\tools\\link.ini"},
        {"EmptyText", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz(""), "", "tools\\link.ini"},
        {"NoBytesAtAll", Store::Value, HKEY_CURRENT_USER, REG_SZ, "", "", "tools\\link.ini"},
        {"Dword", Store::Value, HKEY_CURRENT_USER, REG_DWORD, std::string("\x44\x3A\x5C\x00", 4), "",
         "tools\\link.ini"},
        {"Binary", Store::Value, HKEY_CURRENT_USER, REG_BINARY, Sz("D:\\e\\lib\\"), "", "tools\\link.ini"},
        {"MultiString", Store::Value, HKEY_CURRENT_USER, REG_MULTI_SZ, Sz(Sz("D:\\e\\lib\\")), "", "tools\\link.ini"},
        {"NoneType", Store::Value, HKEY_CURRENT_USER, REG_NONE, Sz("D:\\e\\lib\\"), "", "tools\\link.ini"},
        {"ValueMissing", Store::OtherValueOnly, HKEY_CURRENT_USER, REG_SZ, Sz("D:\\e\\lib\\"), "", "tools\\link.ini"},
        {"KeyMissing", Store::NoKey, HKEY_CURRENT_USER, REG_SZ, "", "", "tools\\link.ini"},
        {"OnlyUnderLocalMachine", Store::Value, HKEY_LOCAL_MACHINE, REG_SZ, Sz("D:\\e\\lib\\"), "", "tools\\link.ini"},
        {"Value40000Bytes", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz(LongValue(n40k)), LongFolder(n40k),
         LongFolder(n40k) + "tools\\link.ini"},
        {"Value1MB", Store::Value, HKEY_CURRENT_USER, REG_SZ, Sz(LongValue(n1m)), LongFolder(n1m),
         LongFolder(n1m) + "tools\\link.ini"},
    };
}

class StartUpTest : public LocatorTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(StartUpTest, BoxesShowTheDerivedPaths) {
    const ValueCase& c = GetParam();
    switch (c.store) {
        case Store::Value: ASSERT_TRUE(e2e::RegSetRaw(c.root, kInstallKey, "path", c.type, c.bytes)); break;
        case Store::OtherValueOnly:
            ASSERT_TRUE(e2e::RegSetRaw(c.root, kInstallKey, "paths", c.type, c.bytes));
            ASSERT_TRUE(e2e::RegSetRaw(c.root, kInstallKey, "", c.type, c.bytes));
            break;
        case Store::NoKey: ASSERT_TRUE(e2e::RegSetString(c.root, "Software\\FlySky\\E", "path", "D:\\e\\lib\\")); break;
    }
    Facts facts;
    if (!c.readBack.empty()) {
        std::string back;
        e2e::RegGetRaw(c.root, kInstallKey, "path", nullptr, &back);
        facts.Add("value as read back", Printable(back), Printable(c.readBack));
    }
    ASSERT_NO_FATAL_FAILURE(Start());

    facts.Add("message boxes at start", std::to_string(Dialogs().size()), "0");
    Boxes(&facts, "start", c.edit1, c.edit2);
    Finish(&facts);
    EXPECT_TRUE(facts.Match(c.name));
}

INSTANTIATE_TEST_SUITE_P(Values, StartUpTest, ::testing::ValuesIn(ValueCases()),
                         [](const ::testing::TestParamInfo<ValueCase>& info) { return info.param.name; });

// ---- the browse dialog ----------------------------------------------------------

const char kLinkAfterBrowse[] = "\\tools\\link.ini";

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

class BrowseTest : public LocatorTest {
protected:
    // The facts of an open Open dialog that hold whatever is in it.
    void ModalFacts(HWND dialog, Facts* facts, const std::string& when) {
        facts->Add(when + ": dialog class", e2e::ClassOf(dialog), "#32770");
        facts->Add(when + ": owned by the main window", Yes(GetWindow(dialog, GW_OWNER) == main_), "yes");
        facts->Add(when + ": main window enabled", Yes(e2e::IsEnabledWindow(main_)), "no");
        ClickUnderModal(dialog, kRepairButton);
        facts->Add(when + ": dialogs after a click on 修复", std::to_string(Dialogs().size()), "1");
    }

    // Types `path` into the dialog's file-name field and confirms with Enter.
    void TypeAndConfirm(HWND dialog, const std::string& path) {
        HWND field = e2e::FileNameField(dialog);
        ASSERT_TRUE(field) << "no file-name field in the Open dialog";
        ASSERT_TRUE(e2e::ClickControl(field));
        e2e::PressKey(VK_HOME);
        e2e::KeyCombo({VK_SHIFT, VK_END});
        e2e::TypeText(path);
        // The dialog completes folder names as they are typed, which takes it
        // a while per key: let it catch up before confirming.
        ASSERT_TRUE(e2e::WaitFor([&] { return e2e::TextOf(field) == path; }, 15000, 50))
            << "the file-name field shows " << Printable(e2e::TextOf(field));
        e2e::PressKey(VK_RETURN);
    }

    void AfterClose(Facts* facts, const std::string& when, const std::string& edit1, const std::string& edit2) {
        facts->Add(when + ": dialog closed", Yes(WaitForNoDialog()), "yes");
        facts->Add(when + ": main window enabled", Yes(e2e::IsEnabledWindow(main_)), "yes");
        Boxes(facts, when, edit1, edit2);
    }

    // Replaces the whole content of 编辑框1 the way a user does.
    void RetypeEdit1(const std::string& text) {
        ASSERT_TRUE(e2e::ClickControl(edit1_));
        e2e::PressKey(VK_HOME);
        e2e::KeyCombo({VK_SHIFT, VK_END});
        if (text.empty()) e2e::PressKey(VK_DELETE);
        else e2e::TypeText(text);
        // The keys are queued to another process: let it take them all
        // before anything reads the box.
        e2e::WaitFor([&] { return Text(edit1_) == text; }, 3000);
    }
};

struct ChosenFile {
    const char* name;
    std::string path;
};

class BrowseChoiceTest : public BrowseTest, public ::testing::WithParamInterface<ChosenFile> {};

// A confirmed file fills both boxes; the next opening offers it again; a
// cancel changes neither box, also after the user typed into 编辑框1; and
// confirming the offered name chooses the same file once more.
TEST_P(BrowseChoiceTest, ConfirmedFileFillsBothBoxesAndIsOfferedAgain) {
    const std::string path = GetParam().path;
    const std::string link = path + kLinkAfterBrowse;
    ASSERT_TRUE(e2e::CreateFolders(FolderOf(path)));
    ASSERT_TRUE(e2e::WriteFileBytes(path, "MZ"));
    ASSERT_TRUE(e2e::RegSetString(HKEY_CURRENT_USER, kInstallKey, "path", "D:\\e\\lib\\"));
    ASSERT_NO_FATAL_FAILURE(Start());
    Facts facts;

    HWND dialog = OpenBrowseDialog();
    ASSERT_TRUE(dialog) << "no Open dialog after a click on 按钮2";
    ModalFacts(dialog, &facts, "first opening");
    // Nothing is pre-filled by the program. The dialog opens in the
    // program's own folder, where this platform's dialog may put the name of
    // a file it lists there into the field; no other text is acceptable.
    const std::string firstField = e2e::TextOf(e2e::FileNameField(dialog));
    const std::string programFolder = FolderOf(e2e::ProgramPath());
    const bool listedHere = !firstField.empty() && e2e::FileExists(programFolder + "\\" + firstField);
    facts.Add("first opening: file-name field empty or a file of the program's folder",
              Yes(firstField.empty() || listedHere) + " (" + Printable(firstField) + ")",
              "yes (" + Printable(firstField) + ")");
    ASSERT_NO_FATAL_FAILURE(TypeAndConfirm(dialog, path));
    AfterClose(&facts, "confirmed", path, link);

    ASSERT_NO_FATAL_FAILURE(RetypeEdit1("X:\\typed"));
    Boxes(&facts, "typed into 编辑框1", "X:\\typed", link);

    dialog = OpenBrowseDialog();
    ASSERT_TRUE(dialog) << "no second Open dialog";
    ModalFacts(dialog, &facts, "second opening");
    // The platform may show the remembered path whole, or open its folder
    // and show the file's name alone.
    const std::string offered = e2e::TextOf(e2e::FileNameField(dialog));
    facts.Add("second opening: offers the chosen file",
              Yes(offered == path || offered == FileNameOf(path)) + " (" + Printable(offered) + ")",
              "yes (" + Printable(offered) + ")");
    BringWindowToTop(dialog);
    e2e::BringToForeground(dialog);
    e2e::PressKey(VK_ESCAPE);
    AfterClose(&facts, "cancelled", "X:\\typed", link);

    dialog = OpenBrowseDialog();
    ASSERT_TRUE(dialog) << "no third Open dialog";
    ASSERT_TRUE(e2e::ClickControl(GetDlgItem(dialog, IDOK)));
    AfterClose(&facts, "offered name confirmed", path, link);

    Finish(&facts);
    EXPECT_TRUE(facts.Match(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Files, BrowseChoiceTest,
                         ::testing::Values(ChosenFile{"Plain", "C:\\tolvane-e2e\\e\\e.exe"},
                                           // "lib\" is removed only from the registry value.
                                           ChosenFile{"TwoByteAndLib", "C:\\tolvane-e2e\\易语言\\lib\\e.exe"}),
                         [](const ::testing::TestParamInfo<ChosenFile>& info) { return info.param.name; });

// However the first opening ends without a file, the paths found at start
// stay. Started as a shortcut whose "start in" names another folder (one with
// a program in it, where the dialog would open), it opens in the program's own.
TEST_F(BrowseTest, DialogEndedWithoutAFileChangesNeitherBox) {
    const std::string startIn = std::string(kTestFolder) + "\\start-in";
    ASSERT_TRUE(e2e::CreateFolders(startIn) && e2e::WriteFileBytes(startIn + "\\e.exe", "MZ"));
    ASSERT_TRUE(e2e::RegSetString(HKEY_CURRENT_USER, kInstallKey, "path", "D:\\e\\lib\\"));
    ASSERT_NO_FATAL_FAILURE(Start(startIn));
    struct Dismissal {
        const char* how;
        std::function<void(HWND)> act;
    };
    const std::vector<Dismissal> ways = {
        {"Escape",
         [](HWND d) {
             e2e::BringToForeground(d);
             e2e::PressKey(VK_ESCAPE);
         }},
        {"Cancel button", [](HWND d) { e2e::ClickControl(GetDlgItem(d, IDCANCEL)); }},
        {"Alt+F4",
         [](HWND d) {
             e2e::BringToForeground(d);
             e2e::KeyCombo({VK_MENU, VK_F4});
         }},
    };
    Facts facts;
    for (const auto& way : ways) {
        HWND dialog = OpenBrowseDialog();
        ASSERT_TRUE(dialog) << "no Open dialog before " << way.how;
        facts.Add(std::string(way.how) + ": file-name field", Printable(e2e::TextOf(e2e::FileNameField(dialog))), "");
        facts.Add(std::string(way.how) + ": folder", Printable(e2e::OpenDialogFolder(dialog)),
                  Printable(FolderOf(e2e::ProgramPath())));
        way.act(dialog);
        AfterClose(&facts, way.how, "D:\\e\\", "D:\\e\\tools\\link.ini");
    }
    // 编辑框1 still holds the found path, so the repair button confirms.
    ASSERT_TRUE(e2e::ClickControl(Control(kRepairButton)));
    HWND box = WaitForDialog();
    facts.Add("repair afterwards", box ? e2e::ReadMessageBox(box).title : "no box", kDoneTitle);
    if (box) e2e::PressDialogButton(box, IDOK);
    WaitForNoDialog();
    Finish(&facts);
    EXPECT_TRUE(facts.Match("Open dialog ended without a file"));
}

// The program's path buffer holds 259 bytes and a zero: a longer path is
// taken as a cancel, and the dialog comes back for the next try.
TEST_F(BrowseTest, PathLongerThan259BytesActsAsCancel) {
    const std::string folder = std::string(kTestFolder) + "\\" + std::string(100, 'a') + "\\" + std::string(100, 'b');
    auto fileOf = [&](std::size_t total) {
        return folder + "\\" + std::string(total - folder.size() - 1 - 4, 'c') + ".exe";
    };
    struct Step {
        std::size_t length;
        bool accepted;
    };
    const std::vector<Step> steps = {{300, false}, {260, false}, {259, true}};
    ASSERT_TRUE(e2e::CreateFolders(folder));
    for (const auto& step : steps) ASSERT_TRUE(e2e::WriteLongPathFile(fileOf(step.length), "MZ"));
    ASSERT_TRUE(e2e::RegSetString(HKEY_CURRENT_USER, kInstallKey, "path", "D:\\e\\lib\\"));
    ASSERT_NO_FATAL_FAILURE(Start());

    Facts facts;
    std::string edit1 = "D:\\e\\", edit2 = "D:\\e\\tools\\link.ini";
    for (const auto& step : steps) {
        const std::string path = fileOf(step.length);
        const std::string when = std::to_string(step.length) + " bytes";
        HWND dialog = OpenBrowseDialog();
        ASSERT_TRUE(dialog) << "no Open dialog for " << when;
        ASSERT_NO_FATAL_FAILURE(TypeAndConfirm(dialog, path));
        if (step.accepted) edit1 = path, edit2 = path + kLinkAfterBrowse;
        AfterClose(&facts, when, edit1, edit2);
        facts.Add(when + ": program running", Yes(program_->Running()), "yes");
        if (!program_->Running()) break;
    }
    Finish(&facts);
    EXPECT_TRUE(facts.Match("long paths"));
}

// ---- the repair button ------------------------------------------------------------

enum class Edit { None, Empty, Blanks };

struct RepairCase {
    const char* name;
    std::string value;  // REG_SZ; empty: no key at all
    Edit edit;
    std::string edit1;  // what 编辑框1 holds when the button is pressed
    std::string edit2;
    const char* title;
    const char* text;
};

class RepairTest : public BrowseTest, public ::testing::WithParamInterface<RepairCase> {};

TEST_P(RepairTest, AnswersWithATaskModalBoxWithoutOwnerOrIcon) {
    const RepairCase& c = GetParam();
    if (!c.value.empty()) {
        ASSERT_TRUE(e2e::RegSetString(HKEY_CURRENT_USER, kInstallKey, "path", c.value));
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    if (c.edit != Edit::None) {
        ASSERT_NO_FATAL_FAILURE(RetypeEdit1(c.edit == Edit::Empty ? "" : "   "));
    }

    Facts facts;
    Boxes(&facts, "before", c.edit1, c.edit2);

    ASSERT_TRUE(e2e::ClickControl(Control(kRepairButton)));
    HWND box = WaitForDialog();
    ASSERT_TRUE(box) << "no message box after a click on 修复";
    const e2e::MessageBoxInfo info = e2e::ReadMessageBox(box);
    std::string buttons;
    for (const auto& b : info.buttons) buttons += std::to_string(b.first) + " ";
    facts.Add("title", info.title, c.title);
    facts.Add("text", info.text, c.text);
    facts.Add("icon", Yes(e2e::ShowsIcon(box)), "no");
    facts.Add("button ids", buttons, std::to_string(IDOK) + " ");
    facts.Add("owner", GetWindow(box, GW_OWNER) ? "a window" : "none", "none");
    facts.Add("main window enabled", Yes(e2e::IsEnabledWindow(main_)), "no");
    ClickUnderModal(box, kRepairButton);
    facts.Add("boxes after a second click on 修复", std::to_string(Dialogs().size()), "1");
    e2e::BringToForeground(box);
    e2e::PressKey(VK_RETURN);
    facts.Add("closed by Enter", Yes(WaitForNoDialog()), "yes");
    // The box re-enables the windows it disabled only after its own window
    // has gone: wait for it rather than read the moment between.
    e2e::WaitFor([&] { return e2e::IsEnabledWindow(main_); }, 5000);
    facts.Add("main window enabled afterwards", Yes(e2e::IsEnabledWindow(main_)), "yes");
    Boxes(&facts, "after", c.edit1, c.edit2);
    Finish(&facts);
    EXPECT_TRUE(facts.Match(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairTest,
    ::testing::Values(RepairCase{"FoundPath", "D:\\e\\lib\\", Edit::None, "D:\\e\\", "D:\\e\\tools\\link.ini",
                                 kDoneTitle, kDoneText},
                      RepairCase{"NothingFound", "", Edit::None, "", "tools\\link.ini", kErrorTitle, kErrorText},
                      // Typing changes what the button sees, never 编辑框2.
                      RepairCase{"EmptiedByTheUser", "D:\\e\\lib\\", Edit::Empty, "", "D:\\e\\tools\\link.ini",
                                 kErrorTitle, kErrorText},
                      RepairCase{"BlanksOnly", "", Edit::Blanks, "   ", "tools\\link.ini", kDoneTitle, kDoneText}),
    [](const ::testing::TestParamInfo<RepairCase>& info) { return info.param.name; });

}  // namespace
