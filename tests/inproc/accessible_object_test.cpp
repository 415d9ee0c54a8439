// The tab strip's accessible object in the program's own process, where the
// order of its work shows: a switch happens after the asking call returned,
// and a call once the window is gone fails with CO_E_OBJNOTCONNECTED.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "controls/win/page_control.h"
#include "tests/inproc/program_window.h"
#include "toolkit/win/control_services.h"
#include "winutil/com_ptr.h"

namespace {

// A child's id as a client passes it: a VT_I4, or another type read from the low bytes of `id`.
VARIANT Child(LONGLONG id, VARTYPE vt = VT_I4) {
    VARIANT v;
    v.vt = vt;
    v.llVal = id;
    return v;
}

std::string g_selections;  // the tab of each selection event, in order
void CALLBACK OnSelection(HWINEVENTHOOK, DWORD, HWND, LONG, LONG child, DWORD, DWORD) {
    g_selections += std::to_string(child);
}

TEST(AccessibleObject, SwitchesFromTheWindowsQueueAndAnswersNothingOnceTheWindowIsGone) {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    inproc::Drain(window.hwnd);
    tolvane::ComPtr<IAccessible> strip;
    ASSERT_EQ(AccessibleObjectFromWindow(tolvane::PageControlWindow(), OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(strip.Receive())),
              S_OK);
    // The default procedure's: an answer for OBJID_WINDOW would hide the
    // strip's window object and list the strip twice.
    for (const LONG id : {OBJID_WINDOW, 1L})
        EXPECT_EQ(SendMessageA(tolvane::PageControlWindow(), WM_GETOBJECT, 0, id), 0) << id;
    e2e::WinEventHook hook(SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_SELECTION, nullptr, OnSelection,
                                           GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
    // The default action on tab 2, then accSelect on tab 1.
    for (const LONG tab : {2, 1}) {
        EXPECT_EQ(tab == 2 ? strip->accDoDefaultAction(Child(2)) : strip->accSelect(SELFLAG_TAKESELECTION, Child(1)),
                  S_OK);
        EXPECT_EQ(tolvane::CurrentPage(), 2 - tab) << "switched inside the call";
        inproc::Drain(window.hwnd);
        EXPECT_EQ(tolvane::CurrentPage(), tab - 1);
    }
    // Told its current page again, the control raises nothing: a screen
    // reader would announce the tab once more.
    tolvane::PageControlSetCurrent(tolvane::PageControlWindow(), 0);
    inproc::Drain(window.hwnd);
    hook.Reset();
    EXPECT_EQ(g_selections, "21") << "the tab of each selection event";

    // An id of any integer type names what the same VT_I4 names, VT_EMPTY
    // the strip itself; any other type, or a number no LONG holds, nothing.
    const auto name = [&](VARTYPE vt, LONGLONG value) {
        BSTR text = nullptr;
        const HRESULT hr = strip->get_accName(Child(value, vt), &text);
        const std::wstring seen = std::to_wstring(hr) + L" " + (text ? text : L"");
        SysFreeString(text);
        return seen;
    };
    const struct {
        VARTYPE vt;
        LONGLONG value;
        LONG asI4;  // -1: names nothing
    } ids[] = {{VT_EMPTY, 0, 0}, {VT_I2, 1, 1},  {VT_UI1, 2, 2},  {VT_I1, 1, 1}, {VT_UI2, 2, 2},
               {VT_UI4, 1, 1},   {VT_INT, 2, 2}, {VT_UINT, 1, 1}, {VT_I8, 2, 2}, {VT_I8, 1LL << 32, -1},
               {VT_BSTR, 0, -1}, {VT_R8, 0, -1}, {VT_BOOL, 1, -1}};
    for (const auto& id : ids)
        EXPECT_EQ(name(id.vt, id.value), id.asI4 < 0 ? std::to_wstring(E_INVALIDARG) + L" " : name(VT_I4, id.asI4))
            << "type " << id.vt << ", " << id.value;

    window.Destroy();
    VARIANT role{};
    EXPECT_EQ(strip->get_accRole(Child(CHILDID_SELF), &role), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(strip->accDoDefaultAction(Child(2)), CO_E_OBJNOTCONNECTED);
    // Released by hand: its count is what is checked.
    EXPECT_EQ(strip.Detach()->Release(), 0u) << "the object outlived its client: one leaked at every query";
    OleUninitialize();
}

}  // namespace
