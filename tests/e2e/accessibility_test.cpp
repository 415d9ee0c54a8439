// What a screen reader learns of the program, asked the way one asks: through
// oleacc, from this process, across to the program's. Wine's oleacc serves
// the program's own objects (the tab strip, the banner) and names edit boxes
// by their labels, but has no proxies for standard buttons: what is looked
// at here is what the program itself returns. The page switches are watched
// by an out-of-context event hook, as a screen reader watches them.
#include <windows.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/fixture.h"
#include "winutil/com_ptr.h"

using namespace design;

namespace {

constexpr DWORD kSwitchTimeoutMs = 3000;

VARIANT Id(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A text as the program's own, code page 936; the BSTR is freed.
std::string Narrow(BSTR text) {
    char bytes[512] = {};
    if (text) WideCharToMultiByte(936, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    SysFreeString(text);
    return bytes;
}

const std::pair<LONG, const char*> kRoles[] = {{ROLE_SYSTEM_PAGETABLIST, "page tab list"},
                                               {ROLE_SYSTEM_PAGETAB, "page tab"},
                                               {ROLE_SYSTEM_GRAPHIC, "graphic"},
                                               {ROLE_SYSTEM_CLIENT, "client"}};
const std::pair<LONG, const char*> kStates[] = {{STATE_SYSTEM_SELECTABLE, "selectable"},
                                                {STATE_SYSTEM_SELECTED, "selected"},
                                                {STATE_SYSTEM_FOCUSABLE, "focusable"},
                                                {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
                                                {STATE_SYSTEM_INVISIBLE, "invisible"}};

std::string RoleName(LONG role) {
    for (const auto& r : kRoles)
        if (r.first == role) return r.second;
    return "role " + std::to_string(role);
}

std::string StateNames(LONG state) {
    std::string all;
    for (const auto& n : kStates)
        if (state & n.first) all += (all.empty() ? "" : ", ") + std::string(n.second);
    return all.empty() ? "none" : all;
}

std::string Box(LONG x, LONG y, LONG w, LONG h) { return e2e::Box({x, y, x + w, y + h}); }

// The child a call returns, by name: "id N", "object" or "nothing".
std::string ChildName(HRESULT hr, VARIANT& v) {
    if (FAILED(hr)) return "failed " + e2e::Hex(hr);
    const std::string name = v.vt == VT_I4         ? "id " + std::to_string(v.lVal)
                             : v.vt == VT_DISPATCH ? "object"
                                                   : "nothing";
    VariantClear(&v);
    return name;
}

// One window's client object, asked one property at a time; what cannot be
// had reads "failed" with the result (S_FALSE, no text, is 0x00000001).
class Accessible {
public:
    explicit Accessible(HWND hwnd) {
        AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(acc_.Receive()));
    }
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    std::string Role(LONG child = CHILDID_SELF) const { return Number(&IAccessible::get_accRole, child, RoleName); }
    std::string State(LONG child) const { return Number(&IAccessible::get_accState, child, StateNames); }
    std::string Name(LONG child = CHILDID_SELF) const { return Text(&IAccessible::get_accName, child); }
    std::string DefaultAction(LONG child) const { return Text(&IAccessible::get_accDefaultAction, child); }
    std::string Location(LONG child) const {
        LONG x = 0, y = 0, w = 0, h = 0;
        if (acc_) acc_->accLocation(&x, &y, &w, &h, Id(child));
        return Box(x, y, w, h);
    }
    std::string HitTest(POINT at) const {
        VARIANT v{};
        return ChildName(acc_ ? acc_->accHitTest(at.x, at.y, &v) : E_POINTER, v);
    }
    std::string Navigate(LONG direction, LONG from) const {
        VARIANT v{};
        return ChildName(acc_ ? acc_->accNavigate(direction, Id(from), &v) : E_POINTER, v);
    }
    // The children in order, as AccessibleChildren lists them: ids one by one, objects counted.
    std::string Children() const {
        LONG count = 0, got = 0;
        if (!acc_ || FAILED(acc_->get_accChildCount(&count)) || count <= 0) return "none";
        std::vector<VARIANT> children(static_cast<size_t>(count));
        if (FAILED(AccessibleChildren(acc_.Get(), 0, count, children.data(), &got))) return "failed";
        std::string ids;
        int objects = 0;
        for (LONG i = 0; i < got; ++i) {
            if (children[i].vt == VT_DISPATCH) ++objects;
            else ids += ChildName(S_OK, children[i]) + ", ";
            VariantClear(&children[i]);
        }
        return ids + std::to_string(objects) + " objects of " + std::to_string(count);
    }
    HRESULT DoDefaultAction(LONG child) const { return acc_ ? acc_->accDoDefaultAction(Id(child)) : E_POINTER; }
    HRESULT Select(LONG child) const {
        return acc_ ? acc_->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Id(child)) : E_POINTER;
    }

private:
    std::string Number(decltype(&IAccessible::get_accRole) get, LONG child, std::string (*say)(LONG)) const {
        VARIANT v{};
        const HRESULT hr = acc_ ? (acc_.Get()->*get)(Id(child), &v) : E_POINTER;
        return hr == S_OK && v.vt == VT_I4 ? say(v.lVal) : "failed " + e2e::Hex(hr);
    }
    std::string Text(decltype(&IAccessible::get_accName) get, LONG child) const {
        BSTR text = nullptr;
        const HRESULT hr = acc_ ? (acc_.Get()->*get)(Id(child), &text) : E_POINTER;
        return hr == S_OK ? Narrow(text) : "failed " + e2e::Hex(hr);
    }
    tolvane::ComPtr<IAccessible> acc_;
};

// The selection events of the program's process, as they come in.
std::string g_events;
HWND g_strip = nullptr;
void CALLBACK OnSelection(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    const std::string of = hwnd == g_strip && object == OBJID_CLIENT ? "tab strip" : "another object";
    g_events += (g_events.empty() ? "" : "; ") + of + " child " + std::to_string(child);
}

class AccessibilityTest : public e2e::ProgramTest {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(e2e::UseFakeBrowser(&error)) << error;
        e2e::ClearBrowserLog();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(e2e::WaitForBrowserOpenings(1, 10000)) << "no opening at start";
        g_strip = page_;
        g_events.clear();
        hook_.Reset(SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_SELECTION, nullptr, OnSelection,
                                    program_->Id(), 0, WINEVENT_OUTOFCONTEXT));
        ASSERT_TRUE(hook_);
        e2e::Settle(program_->Handle());
    }
    void TearDown() override {
        hook_.Reset();
        ProgramTest::TearDown();
        CoUninitialize();
    }

    std::string Page() const { return e2e::IsShown(Control(kReturnButton)) ? "about" : "repair"; }

    // The events since the last look, after the switch has had time to raise one.
    std::string Events() {
        e2e::WaitFor([] { return !g_events.empty(); }, 1000);
        e2e::Pump(100);
        return g_events.empty() ? "none" : std::exchange(g_events, std::string());
    }

    e2e::WinEventHook hook_;
};

// Whether the program's process holds oleacc now.
std::string OleaccLoaded(DWORD pid) {
    const tolvane::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
    if (!snapshot) return "unknown";
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    bool found = false;
    for (BOOL more = Module32First(snapshot.Get(), &module); more && !found;
         more = Module32Next(snapshot.Get(), &module))
        found = lstrcmpiA(module.szModule, "oleacc.dll") == 0;
    return found ? "loaded" : "not loaded";
}

TEST_F(AccessibilityTest, TabsAreAPageTabListAndTheKeysAndActionsSwitchPagesAsATabPressDoes) {
    e2e::Facts f;
    f.Add("oleacc in the program, before any request", OleaccLoaded(program_->Id()), "not loaded");
    Accessible strip(page_);
    f.Add("oleacc in the program, once asked", OleaccLoaded(program_->Id()), "loaded");
    int windows = 0;
    for (HWND c = GetWindow(page_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++windows;
    f.Add("strip: role", strip.Role(), "page tab list");
    // Walked twice: a screen reader walks the strip again at each visit.
    for (const char* walk : {"strip: children", "strip: children, walked again"})
        f.Add(walk, strip.Children(),
              "id 1, id 2, " + std::to_string(windows) + " objects of " + std::to_string(windows + 2));
    for (int tab = 0; tab < kPageCount; ++tab) {
        const std::string what = "tab " + std::to_string(tab + 1) + ": ";
        const RECT t = e2e::DesignTabs().tabs[tab];
        const POINT at = OnPage(t.left, t.top);
        f.Add(what + "role", strip.Role(tab + 1), "page tab");
        f.Add(what + "name", strip.Name(tab + 1), kPageCaptions[tab]);
        f.Add(what + "state", strip.State(tab + 1), tab == 0 ? "selectable, selected" : "selectable");
        f.Add(what + "default action", strip.DefaultAction(tab + 1), "切换");
        f.Add(what + "location", strip.Location(tab + 1), Box(at.x, at.y, t.right - t.left, t.bottom - t.top));
        // Tab 1 ends where tab 2 begins.
        f.Add(what + "hit test at its first pixel", strip.HitTest(at), "id " + std::to_string(tab + 1));
        f.Add(what + "hit test at its last pixel", strip.HitTest(OnPage(t.right - 1, t.bottom - 1)),
              "id " + std::to_string(tab + 1));
        f.Add(what + "hit test just below it", strip.HitTest(OnPage(t.left, t.bottom)), "id 0");
        f.Add(what + "to its right", strip.Navigate(NAVDIR_RIGHT, tab + 1), tab == 0 ? "id 2" : "nothing");
        f.Add(what + "to its left", strip.Navigate(NAVDIR_LEFT, tab + 1), tab == 0 ? "nothing" : "id 1");
    }
    // The child windows stay where they were.
    f.Add("strip: hit test on 修复", strip.HitTest(e2e::CentreOf(Control(kRepairButton))), "object");
    f.Add("strip: hit test on the empty body", strip.HitTest(OnPage(200, 120)), "id 0");
    f.Add("banner: role", Accessible(Control(kBanner)).Role(), "graphic");
    f.Add("banner: name", Accessible(Control(kBanner)).Name(),
          "Tolvane 修复工具，编写: Tolvane 开发组 · 感谢所有测试者");
    f.Add("编辑框1: name", Accessible(Control(kInstallFolderBox)).Name(), "易语言路径");
    f.Add("编辑框2: name", Accessible(Control(kLinkConfigBox)).Name(), "静态配置文件");

    // Each way to switch, from the page the row before left: the page it
    // shows, the focus, the selection event, the tab states, and no opening.
    enum How { DefaultAction, Select, Keys };
    const struct Row {
        const char* what;
        How how;
        int tab;                 // DefaultAction, Select: the tab's id
        std::vector<WORD> keys;  // Keys: held in order, the last one pressed
        const char* page;        // and with it the focus, as after a press on its tab
    } rows[] = {
        {"default action on tab 2", DefaultAction, 2, {}, "about"},
        {"default action on tab 1", DefaultAction, 1, {}, "repair"},
        {"accSelect on tab 2", Select, 2, {}, "about"},
        {"Ctrl+Tab, wrapping", Keys, 0, {VK_CONTROL, VK_TAB}, "repair"},
        {"Ctrl+Tab", Keys, 0, {VK_CONTROL, VK_TAB}, "about"},
        {"Ctrl+Shift+Tab", Keys, 0, {VK_CONTROL, VK_SHIFT, VK_TAB}, "repair"},
        {"Ctrl+Shift+Tab, wrapping", Keys, 0, {VK_CONTROL, VK_SHIFT, VK_TAB}, "about"},
        {"Ctrl+Page Up", Keys, 0, {VK_CONTROL, VK_PRIOR}, "repair"},
        {"Ctrl+Page Down", Keys, 0, {VK_CONTROL, VK_NEXT}, "about"},
        {"Ctrl+Page Down, wrapping", Keys, 0, {VK_CONTROL, VK_NEXT}, "repair"},
        {"Ctrl+Page Up, wrapping", Keys, 0, {VK_CONTROL, VK_PRIOR}, "about"},
        // Without Ctrl the keys are the focused control's, as in a dialog.
        {"Page Down alone", Keys, 0, {VK_NEXT}, "about"},
        {"Page Up alone", Keys, 0, {VK_PRIOR}, "about"},
    };
    ASSERT_TRUE(e2e::BringToForeground(main_));
    std::string shown = "repair";
    for (const Row& r : rows) {
        const std::string what = std::string(r.what) + ": ";
        const bool switches = std::exchange(shown, r.page) != r.page;
        if (r.how == Keys) {
            e2e::KeyCombo(r.keys);
        } else {
            const HRESULT hr = r.how == DefaultAction ? strip.DoDefaultAction(r.tab) : strip.Select(r.tab);
            f.Add(what + "answer", e2e::Hex(hr), e2e::Hex(S_OK));
        }
        e2e::WaitFor([&] { return Page() == r.page; }, kSwitchTimeoutMs);
        e2e::Settle(program_->Handle());
        const bool about = std::string(r.page) == "about";
        f.Add(what + "page", Page(), r.page);
        f.Add(what + "focus", FocusName(), about ? "关于返回" : "按钮2");
        const std::string event = std::string("tab strip child ") + (about ? "2" : "1");
        f.Add(what + "selection event", Events(), switches ? event : "none");
        f.Add(what + "tab 1 state", strip.State(1), about ? "selectable" : "selectable, selected");
        f.Add(what + "tab 2 state", strip.State(2), about ? "selectable, selected" : "selectable");
    }
    e2e::Pump(700);  // a stray opening would have reached the log by now
    f.Add("home page openings after start", std::to_string(e2e::BrowserOpenings().size() - 1), "0");
    EXPECT_TRUE(f.Match("what a screen reader is told, and the page switches"));
}

// Where the system has no oleacc (or Wine is told to load none for the
// program), the strip answers WM_GETOBJECT as it always did: not at all.
TEST_F(AccessibilityTest, WithoutOleaccTheStripLeavesTheAnswerToTheDefaultProcedure) {
    static constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\tolvane.exe\\DllOverrides";
    struct Undo {
        ~Undo() { e2e::RegDeleteValueIfAny(HKEY_CURRENT_USER, kOverrides, "oleacc"); }
    } undo;
    program_.reset();  // SetUp's program, which has oleacc at hand
    ASSERT_TRUE(e2e::RegSetString(HKEY_CURRENT_USER, kOverrides, "oleacc", ""));
    ASSERT_NO_FATAL_FAILURE(Start());
    DWORD_PTR answer = 1;
    ASSERT_TRUE(SendMessageTimeoutA(page_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, 5000,
                                    &answer));
    EXPECT_EQ(answer, 0u);
    EXPECT_EQ(OleaccLoaded(program_->Id()), "not loaded");
    // The keys need no oleacc.
    ASSERT_TRUE(e2e::BringToForeground(main_));
    e2e::KeyCombo({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(e2e::WaitFor([&] { return Page() == "about"; }, kSwitchTimeoutMs));
}

}  // namespace
