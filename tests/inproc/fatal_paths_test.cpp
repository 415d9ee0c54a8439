// The conditions the program does not survive, forced inside the program's own
// code. Each ends the process with the fatal box, so each runs in a child: this
// test program started again with a --child-... argument, whose box is read
// and dismissed from here, and whose exit code is checked.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/win/startup.h"
#include "app/win/wiring.h"
#include "controls/win/jpeg_image.h"
#include "resources/resource_ids.h"
#include "tests/e2e/driver/design_form.h"
#include "tests/e2e/driver/driver.h"
#include "toolkit/win/fatal.h"
#include "toolkit/win/main_window.h"
#include "toolkit/win/resource_bytes.h"

using namespace tolvane;

// This program is linked with malloc wrapped, the allocator under the
// program's own. Once one request has failed, every later one fails too, as
// when memory has really run out: a failure path that itself needs the heap
// cannot pass here.
namespace {
bool g_refusing = false;
bool g_noting = false;  // while set, the first request's size is kept
std::size_t g_noted = 0;
bool g_refuseLarge = false;  // every request fails from libjpeg's first large block on
std::size_t g_firstLarge = 0;
}  // namespace

extern "C" void* __real_malloc(std::size_t);
extern "C" void* __wrap_malloc(std::size_t bytes) {
    if (g_noting && g_noted == 0) g_noted = bytes;
    void* block = g_refusing ? nullptr : __real_malloc(bytes);
    g_refusing = block == nullptr;
    return block;
}

// libjpeg's large blocks too: the first one's size is kept.
extern "C" void* __real_jpeg_get_large(void*, std::size_t);
extern "C" void* __wrap_jpeg_get_large(void* info, std::size_t bytes) {
    if (g_firstLarge == 0) g_firstLarge = bytes;
    g_refusing = g_refusing || g_refuseLarge;
    return __real_jpeg_get_large(info, bytes);
}

namespace {

constexpr DWORD kBoxTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
const std::string kHeading = "运行时出错!\r\n\r\n";

// ---- in the child -----------------------------------------------------------

void* volatile g_sink;

GdiObject<HBITMAP> DecodeBanner() {
    const ResourceBytes jpeg = RcDataBytes(IDR_BANNER_JPEG);
    int w = 0, h = 0;
    return jpeg.data ? DecodeJpeg(jpeg.data, jpeg.size, &w, &h) : GdiObject<HBITMAP>();
}

// "<how>:<bytes>": one allocation of that size that cannot succeed, or, for
// "exhaust", blocks of that size until the address space runs out; "banner":
// the banner decoded with every request refused; "banner-large": every
// request from the decoder's first large block on.
int ChildAllocate(const std::string& request) {
    const size_t colon = request.find(':');
    const std::string how = request.substr(0, colon);
    const std::size_t bytes = colon == std::string::npos ? 0 : std::strtoul(request.c_str() + colon + 1, nullptr, 10);
    // The program's own allocations all come after OleInitialize, which
    // brings up the window system the box needs; a process that never did
    // would load it only for the box, with no memory left to load it.
    if (how == "exhaust" || how.rfind("banner", 0) == 0) OleInitialize(nullptr);
    if (how == "new[]") g_sink = new char[bytes];
    if (how == "nothrow") g_sink = new (std::nothrow) char[bytes];
    if (how == "exhaust")
        for (;;) g_sink = new char[bytes];
    if (how.rfind("banner", 0) == 0) {
        g_refusing = how == "banner";
        g_refuseLarge = how == "banner-large";
        DecodeBanner();
        g_refusing = false;  // the decoder gave up quietly: the child ends as a survivor
    }
    return 0;  // survived: the parent sees exit code 0 and no box
}

int g_failControlId = 0;
HHOOK g_cbt = nullptr;

// Fails the creation of the main window's child with the chosen control id,
// the way the system fails one when it runs out of windows.
LRESULT CALLBACK FailOneCreation(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
        char parentClass[64] = "";
        if (cs->hwndParent) GetClassNameA(cs->hwndParent, parentClass, sizeof parentClass);
        if ((cs->style & WS_CHILD) && std::strcmp(parentClass, design::kMainClass) == 0 &&
            reinterpret_cast<INT_PTR>(cs->hMenu) == g_failControlId)
            return 1;
    }
    return CallNextHookEx(g_cbt, code, wp, lp);
}

int ChildFailCreation(int controlId) {
    g_failControlId = controlId;
    g_cbt = SetWindowsHookExA(WH_CBT, FailOneCreation, nullptr, GetCurrentThreadId());
    if (!g_cbt) return 2;
    return RunProgram(GetModuleHandleA(nullptr));
}

// The real window with its wiring (without the start-up steps), shown; a
// WM_APP posted to it is a fatal condition behind it, as a paint that runs out
// of memory would be, the first time and again while the box is up.
WNDPROC g_mainProc = nullptr;
LRESULT CALLBACK FatalOnWmApp(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) FatalRuntimeError("behind the window", 0);
    return CallWindowProcA(g_mainProc, hwnd, msg, wp, lp);
}

int ChildFatalBehind() {
    HWND main = BuildMainWindow(GetModuleHandleA(nullptr), [](int source, Event event, const EventArgs& args) {
        if (event != Event::Created) DeliverEvent(source, event, args);
    });
    if (!main) return 2;
    g_mainProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FatalOnWmApp)));
    for (MSG msg; GetMessageA(&msg, nullptr, 0, 0) > 0;) DispatchMessageA(&msg);
    return 0;
}

// ---- in the test --------------------------------------------------------------

std::unique_ptr<e2e::Process> LaunchChild(const std::string& arguments) {
    std::string error;
    std::unique_ptr<e2e::Process> child = e2e::LaunchSelf(arguments, &error);
    EXPECT_TRUE(child) << error;
    return child;
}

// Starts the child, expects exactly one fatal box with `text`, no main
// window shown before it nor left beside it, dismisses the box and expects exit code -1.
void ExpectFatalChild(const std::string& arguments, const std::string& text) {
    std::unique_ptr<e2e::Process> child = LaunchChild(arguments);
    ASSERT_TRUE(child);
    HWND box = nullptr;
    bool mainWindowShown = false;
    e2e::WaitFor(
        [&] {
            if (e2e::FindMainWindow(child->Id())) mainWindowShown = true;
            const std::vector<HWND> boxes = e2e::MessageBoxes(child->Id());
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr || mainWindowShown || !child->Running();
        },
        kBoxTimeoutMs, 20);
    if (!box) {
        DWORD code = 0;
        child->WaitForExit(0, &code);
        FAIL() << "no error box; the child "
               << (mainWindowShown    ? "showed its main window"
                   : child->Running() ? "still runs"
                                      : "ended with code " + std::to_string(code));
    }
    const e2e::MessageBoxInfo info = e2e::ReadMessageBox(box);
    EXPECT_EQ(info.title, "错误");
    EXPECT_EQ(info.text, text);
    EXPECT_TRUE(info.hasIcon) << "the fatal box shows the error icon";
    EXPECT_EQ(e2e::MessageBoxes(child->Id()).size(), 1u) << "exactly one box";
    EXPECT_FALSE(mainWindowShown) << "the main window was shown";
    EXPECT_TRUE(e2e::TopLevelWindows(child->Id(), design::kMainClass).empty()) << "a main window exists beside the box";
    ASSERT_TRUE(e2e::PressDialogButton(box, IDOK));
    DWORD code = 0;
    ASSERT_TRUE(child->WaitForExit(kExitTimeoutMs, &code)) << "the child did not end after the box";
    EXPECT_EQ(code, 0xFFFFFFFFu);
}

// What the banner's decoder asks for first, learnt from a decode here.
std::size_t FirstRequestOfTheBanner() {
    g_noting = true;
    const GdiObject<HBITMAP> banner = DecodeBanner();
    g_noting = false;
    EXPECT_NE(banner.Get(), nullptr);
    return g_noted;
}

// Whatever asked for the memory, the banner's decoder too, the box names the
// bytes asked of the allocator and the process ends with -1, also when memory
// really ran out and the box itself has only what is left.
TEST(FatalPaths, FailedAllocationNamesTheBytesAskedFor) {
    struct Case {
        const char* request;
        std::size_t named;
    };
    const Case cases[] = {
        {"new[]:2000000011", 2000000011},      {"nothrow:2100000007", 2100000007}, {"exhaust:1048583", 1048583},
        {"banner", FirstRequestOfTheBanner()}, {"banner-large", g_firstLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        ExpectFatalChild(std::string("--child-allocate=") + c.request,
                         kHeading + "错误信息：分配 " + std::to_string(c.named) + " 字节内存失败!\r\n");
    }
}

// The page control or a control of the form that cannot be created is a
// main window that cannot be created: never shown, one box, exit code -1.
TEST(FatalPaths, ControlThatCannotBeCreatedIsAWindowThatCannotBeCreated) {
    const struct {
        const char* name;
        int id;
    } cases[] = {
        {"page control 高级选择夹1", design::kPageId},
        {"picture box 图片框1", design::Id(design::kBanner)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectFatalChild("--child-fail-creation=" + std::to_string(c.id), kHeading + "错误信息：载入启动窗口失败\r\n");
    }
}

// Behind the box nothing of the program runs: a click and the clock's ticks
// are dropped, and a second fatal condition ends the process at once instead
// of showing a second box.
TEST(FatalPaths, NothingRunsBehindTheBoxAndASecondConditionEndsTheProcess) {
    std::unique_ptr<e2e::Process> child = LaunchChild("--child-fatal-behind");
    const HWND main = child ? child->WaitForMainWindow(kBoxTimeoutMs) : nullptr;
    ASSERT_TRUE(main) << "the child showed no window";
    const HWND about = e2e::FindDescendant(main, design::Id(design::kAboutButton));
    const HWND back = e2e::FindDescendant(main, design::Id(design::kReturnButton));
    const HWND clock = e2e::FindDescendant(main, design::Id(design::kClockLabel));
    PostMessageA(main, WM_APP, 0, 0);
    ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::MessageBoxes(child->Id()).empty(); }, kBoxTimeoutMs, 20));
    const std::string clockText = e2e::TextOf(clock);
    PostMessageA(about, BM_CLICK, 0, 0);
    e2e::Pump(2500);  // two ticks of the clock at least
    EXPECT_FALSE(e2e::IsShown(back)) << "the click on 关于 was delivered behind the box";
    EXPECT_EQ(e2e::TextOf(clock), clockText) << "the clock ticked behind the box";

    PostMessageA(main, WM_APP, 0, 0);
    e2e::WaitFor([&] { return e2e::MessageBoxes(child->Id()).size() > 1 || !child->Running(); }, kExitTimeoutMs, 20);
    EXPECT_LT(e2e::MessageBoxes(child->Id()).size(), 2u) << "a second box";
    DWORD code = 0;
    ASSERT_TRUE(child->WaitForExit(0, &code)) << "the second fatal condition did not end the process";
    EXPECT_EQ(code, 0xFFFFFFFFu);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--child-allocate=", 0) == 0) return ChildAllocate(arg.substr(17));
        if (arg.rfind("--child-fail-creation=", 0) == 0) return ChildFailCreation(std::atoi(arg.c_str() + 22));
        if (arg == "--child-fatal-behind") return ChildFatalBehind();
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
