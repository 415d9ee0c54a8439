// How the main window's children come into being, seen from a CBT hook in
// this process: the only place where the banner's designed width (widened
// before anything is shown) and the creation order can be seen at all.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/driver/design_form.h"
#include "tests/inproc/program_window.h"
#include "toolkit/win/control_services.h"

namespace {

std::vector<e2e::Observed> g_created;

std::string NameOf(int id) {
    if (id == design::kPageId) return design::kPageName;
    for (int i = 0; i < design::kCount; ++i)
        if (id == design::Id(i)) return design::kControls[i].name;
    return "id " + std::to_string(id);
}

std::string Creation(int x, int y, int cx, int cy, LONG style) {
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" + std::to_string(cy) +
           ((style & WS_VISIBLE) ? " visible" : " hidden");
}

LRESULT CALLBACK LogCreation(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
        char parentClass[64] = "";
        if (cs->hwndParent) GetClassNameA(cs->hwndParent, parentClass, sizeof parentClass);
        if ((cs->style & WS_CHILD) && std::strcmp(parentClass, design::kMainClass) == 0)
            g_created.push_back({NameOf(static_cast<int>(reinterpret_cast<INT_PTR>(cs->hMenu))),
                                 Creation(cs->x, cs->y, cs->cx, cs->cy, cs->style)});
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The page control first, then every control in the reverse of the control
// order, each hidden and at its designed place and size.
TEST(Creation, ChildrenComeHiddenAtTheirDesignedPlacesInReverseControlOrder) {
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    e2e::Hook hook(SetWindowsHookExA(WH_CBT, LogCreation, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    inproc::ProgramWindow window;
    const ::testing::AssertionResult built = window.Build();
    hook.Reset();
    ASSERT_TRUE(built);

    const RECT p = design::kPageRect;
    std::vector<e2e::Expected> expected = {
        {design::kPageName, Creation(p.left, p.top, p.right - p.left, p.bottom - p.top, 0)}};
    for (int i = design::kCount - 1; i >= 0; --i) {
        const design::Control& c = design::kControls[i];
        if (c.windowClass) expected.push_back({c.name, Creation(c.left, c.top, c.width, c.height, 0)});
    }
    EXPECT_TRUE(e2e::MatchSequence(expected, g_created, "children of the main window as created"));
}

}  // namespace
