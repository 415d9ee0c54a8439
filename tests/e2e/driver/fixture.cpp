#include "tests/e2e/driver/fixture.h"

#include <cstdio>

namespace e2e {

namespace {
bool WriteDisplayScale(int dpi) {
    return RegSetDword(HKEY_CURRENT_CONFIG, "Software\\Fonts", "LogPixels", static_cast<DWORD>(dpi));
}
}  // namespace

void ProgramTest::SetDisplayScale(int dpi) {
    dpi_ = dpi;
    ASSERT_TRUE(WriteDisplayScale(dpi)) << "cannot set the display scale to " << dpi << " dpi";
}

void ProgramTest::Launch(const LaunchOptions& options) {
    main_ = page_ = nullptr;
    std::string error;
    program_ = Process::Launch(options, &error);
    ASSERT_TRUE(program_) << error;
}

void ProgramTest::Start(const LaunchOptions& options, DWORD pollMs) {
    ASSERT_NO_FATAL_FAILURE(Launch(options));
    std::vector<HWND> boxes;
    main_ = program_->WaitForMainWindow(kStartTimeoutMs, pollMs, &boxes);
    for (HWND box : boxes) {
        const MessageBoxInfo info = ReadMessageBox(box);
        ADD_FAILURE() << "message box at start: \"" << info.title << "\": " << info.text;
    }
    ASSERT_TRUE(main_) << "no visible main window within " << kStartTimeoutMs << " ms";
    page_ = FindDescendant(main_, design::kPageId);
    ASSERT_TRUE(page_) << "no page control (id " << design::kPageId << ")";
}

std::string ProgramTest::FocusName() const {
    HWND focus = FocusOf(main_);
    if (!focus) return "(none)";
    if (focus == main_) return "main window";
    if (focus == page_) return design::kPageName;
    for (int i = 0; i < design::kCount; ++i)
        if (focus == Control(i)) return design::kControls[i].name;
    return "other: " + ClassOf(focus);
}

POINT ProgramTest::OnPage(int x, int y) const {
    const RECT r = WindowRectOf(page_);
    return POINT{r.left + x, r.top + y};
}

POINT ProgramTest::TabCentre(int tab) const {
    const RECT t = DesignTabs(dpi_).tabs[tab];
    return OnPage((t.left + t.right) / 2, (t.top + t.bottom) / 2);
}

void ProgramTest::SaveShotIfFailed(const std::string& detail) const {
    if (!HasFailure()) return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("e2e_") + info->test_suite_name() + "_" + info->name();
    if (!detail.empty()) name += "_" + detail;
    for (char& c : name)
        if (c == '/') c = '_';
    const std::string shot = SaveFailureShot(nullptr, name);
    if (!shot.empty()) std::printf("screen saved to %s\n", shot.c_str());
}

void ProgramTest::TearDown() {
    if (main_ && IsWindow(main_)) SaveShotIfFailed();
    program_.reset();
    if (dpi_ != 96) {
        EXPECT_TRUE(WriteDisplayScale(96)) << "the display scale stays at " << dpi_ << " dpi";
    }
}

}  // namespace e2e
