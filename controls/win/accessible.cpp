// The accessible objects of the page control and the picture box. Each
// wraps the standard object oleacc makes for its window and itself returns
// only what that one cannot know; everything else goes to it unchanged.
//
// Child ids of the page control's object: 0 the control, 1 to n its n tabs
// (simple elements, as the system tab control's), then whatever the
// standard object returns for the child windows, its positive ids moved
// past the tabs. A screen reader reaches the child windows as before.
#include "controls/win/accessible.h"

#include <oleacc.h>

#include <new>
#include <utility>

#include "controls/win/page_control.h"
#include "controls/win/pic_box.h"
#include "winutil/com_ptr.h"
#include "winutil/system_library.h"

namespace tolvane {

namespace {

// oleacc, bound on the first request and kept for the process's life: the
// objects returned to clients run its code.
struct Oleacc {
    HRESULT(WINAPI* createStd)(HWND, LONG, REFIID, void**) = nullptr;
    LRESULT(WINAPI* lresult)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    BSTR(WINAPI* allocString)(const OLECHAR*) = nullptr;
    bool Ready() const { return createStd && lresult && allocString; }
};
Oleacc g_oleacc;
bool g_bound = false;

const Oleacc& Bound() {
    if (g_bound) return g_oleacc;
    g_bound = true;
    const HMODULE oleacc = HeldOrSystemLibrary("oleacc.dll").Detach();  // for the process, as said above
    if (!oleacc) return g_oleacc;
    g_oleacc.createStd = ProcOf<decltype(g_oleacc.createStd)>(oleacc, "CreateStdAccessibleObject");
    g_oleacc.lresult = ProcOf<decltype(g_oleacc.lresult)>(oleacc, "LresultFromObject");
    // oleacc brings oleaut32 with it; a client frees the strings returned to it with its allocator.
    g_oleacc.allocString =
        ProcOf<decltype(g_oleacc.allocString)>(HeldOrSystemLibrary("oleaut32.dll").Detach(), "SysAllocString");
    return g_oleacc;
}

// What the system's tab control says its tabs do (its Chinese wording).
constexpr wchar_t kSwitchAction[] = L"切换";

HRESULT Text(const wchar_t* text, BSTR* out) {
    *out = g_oleacc.allocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

// A caption of the program's own, in code page 936 whatever the system's.
HRESULT Text(const char* cp936, BSTR* out) {
    wchar_t wide[256];
    if (!cp936 || MultiByteToWideChar(936, 0, cp936, -1, wide, 256) <= 1) return S_FALSE;
    return Text(wide, out);
}

HRESULT SetId(VARIANT* v, LONG id) {
    v->vt = VT_I4;
    v->lVal = id;
    return S_OK;
}

enum class Kind { TabStrip, Graphic };

class Wrapper final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    Wrapper(HWND hwnd, Kind kind, const char* words, ComPtr<IAccessible> standard, ComPtr<IEnumVARIANT> children)
        : hwnd_(hwnd), kind_(kind), words_(words), std_(std::move(standard)), stdChildren_(std::move(children)) {}

    // IUnknown, for all three interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IEnumVARIANT) && stdChildren_) *out = static_cast<IEnumVARIANT*>(this);
        else if (iid == __uuidof(IOleWindow)) *out = static_cast<IOleWindow*>(this);
        else return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: no type information to give; clients call IAccessible.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (HRESULT gone = Gone()) return gone;
        return std_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        if (HRESULT gone = Gone()) return gone;
        const HRESULT hr = std_->get_accChildCount(count);
        if (FAILED(hr)) *count = 0;
        *count += Tabs();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) return S_FALSE;  // a simple element: no object of its own
        return std_->get_accChild(c.standard, child);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) return Text(Tab(c.tab).caption, name);
        if (c.self && kind_ == Kind::Graphic && words_) return Text(words_, name);
        return std_->get_accName(c.standard, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        return Delegated(id, value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override {
        return Delegated(id, text, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        if (!role) return E_POINTER;
        role->vt = VT_EMPTY;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) return SetId(role, ROLE_SYSTEM_PAGETAB);
        if (c.self) return SetId(role, kind_ == Kind::TabStrip ? ROLE_SYSTEM_PAGETABLIST : ROLE_SYSTEM_GRAPHIC);
        return std_->get_accRole(c.standard, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        if (!state) return E_POINTER;
        state->vt = VT_EMPTY;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) {
            LONG bits = STATE_SYSTEM_SELECTABLE;
            if (c.tab == PageControlCurrent(hwnd_)) bits |= STATE_SYSTEM_SELECTED;
            if (!IsWindowEnabled(hwnd_)) bits |= STATE_SYSTEM_UNAVAILABLE;
            return SetId(state, bits);
        }
        const HRESULT hr = std_->get_accState(c.standard, state);
        // A picture takes no focus and cannot be changed.
        if (c.self && kind_ == Kind::Graphic && hr == S_OK && state->vt == VT_I4)
            state->lVal = (state->lVal & ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED)) | STATE_SYSTEM_READONLY;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
        return Delegated(id, help, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) return S_FALSE;
        return std_->get_accHelpTopic(file, c.standard, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* keys) override {
        return Delegated(id, keys, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        focus->vt = VT_EMPTY;
        if (HRESULT gone = Gone()) return gone;
        const HRESULT hr = std_->get_accFocus(focus);
        FromStandard(focus);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        selection->vt = VT_EMPTY;
        if (HRESULT gone = Gone()) return gone;
        if (kind_ == Kind::TabStrip) return SetId(selection, PageControlCurrent(hwnd_) + 1);
        const HRESULT hr = std_->get_accSelection(selection);
        FromStandard(selection);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        if (!action) return E_POINTER;
        *action = nullptr;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) return Text(kSwitchAction, action);
        return std_->get_accDefaultAction(c.standard, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab < 0) return std_->accSelect(flags, c.standard);
        // One tab is current at a time: there is nothing to add, remove or extend.
        if (flags & (SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION | SELFLAG_EXTENDSELECTION)) return E_INVALIDARG;
        return flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS) ? Press(c.tab) : S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab < 0) return std_->accLocation(left, top, width, height, c.standard);
        const RECT r = Tab(c.tab).rect;
        POINT origin{r.left, r.top};
        MapWindowPoints(hwnd_, nullptr, &origin, 1);
        *left = origin.x;
        *top = origin.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        Child c;
        if (HRESULT failed = Reach(start, &c)) return failed;
        const int tabs = Tabs();
        LONG to = 0;  // a tab's id, 0 for none
        if (c.tab >= 0) {
            const bool forward = direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT;
            const bool back = direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT;
            if (forward && c.tab + 1 < tabs) to = c.tab + 2;
            else if (back && c.tab > 0) to = c.tab;
            // After the last tab come the child windows.
            else if (direction == NAVDIR_NEXT) return Navigated(NAVDIR_FIRSTCHILD, Self(), end);
        } else if (c.self && tabs > 0 && direction == NAVDIR_FIRSTCHILD) {
            to = 1;
        } else {
            const HRESULT hr = Navigated(direction, c.standard, end);
            // Without child windows the last tab is the last child.
            if (!(c.self && direction == NAVDIR_LASTCHILD && hr == S_FALSE)) return hr;
            to = tabs;
        }
        return to == 0 ? S_FALSE : SetId(end, to);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (HRESULT gone = Gone()) return gone;
        POINT p{x, y};
        MapWindowPoints(nullptr, hwnd_, &p, 1);
        for (int i = 0; i < Tabs() && IsWindowVisible(hwnd_); ++i) {
            const RECT r = Tab(i).rect;
            if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return SetId(hit, i + 1);
        }
        const HRESULT hr = std_->accHitTest(x, y, hit);
        FromStandard(hit);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        return c.tab >= 0 ? Press(c.tab) : std_->accDoDefaultAction(c.standard);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT id, BSTR name) override {
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        return c.tab >= 0 ? E_NOTIMPL : std_->put_accName(c.standard, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT id, BSTR value) override {
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        return c.tab >= 0 ? E_NOTIMPL : std_->put_accValue(c.standard, value);
    }

    // IEnumVARIANT: the tabs, then the standard object's children.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (count > 0 && !items) return E_POINTER;
        if (HRESULT gone = Gone()) return gone;
        ULONG got = 0;
        for (; got < count && enumerated_ < Tabs(); ++got) SetId(&items[got], ++enumerated_);
        if (got < count) {
            ULONG more = 0;
            const HRESULT hr = stdChildren_->Next(count - got, items + got, &more);
            if (FAILED(hr)) {
                enumerated_ -= static_cast<int>(got);
                return hr;
            }
            for (ULONG i = 0; i < more; ++i) FromStandard(&items[got + i]);
            got += more;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        if (HRESULT gone = Gone()) return gone;
        for (; count > 0 && enumerated_ < Tabs(); --count) ++enumerated_;
        return count > 0 ? stdChildren_->Skip(count) : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        if (HRESULT gone = Gone()) return gone;
        enumerated_ = 0;
        return stdChildren_->Reset();
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy) *copy = nullptr;
        return E_NOTIMPL;
    }

    // IOleWindow: the window, which the standard object's parent would name too.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
        if (!hwnd) return E_POINTER;
        *hwnd = nullptr;
        if (HRESULT gone = Gone()) return gone;
        *hwnd = hwnd_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    ~Wrapper() = default;  // only Release ends the object

    // What a child id names: the window itself, a tab, or a child of the
    // standard object, by the id that object knows it by.
    struct Child {
        bool self = false;
        int tab = -1;
        VARIANT standard;
    };

    static VARIANT Self() {
        VARIANT v;
        SetId(&v, CHILDID_SELF);
        return v;
    }

    int Tabs() const { return kind_ == Kind::TabStrip ? PageControlTabCount(hwnd_) : 0; }

    // A child id as a number. Windows' standard object takes VT_EMPTY for
    // the object itself and a VT_I2 as readily as a VT_I4, and clients pass
    // them so: each is read as its number before the ids move past the tabs,
    // or a VT_I2 1 would name the first child window instead of tab 1.
    static bool IdNumber(const VARIANT& id, LONG* n) {
        LONGLONG wide = 0;
        switch (id.vt) {
            case VT_EMPTY: wide = CHILDID_SELF; break;
            case VT_I1: wide = id.cVal; break;  // NOLINT(bugprone-signed-char-misuse): VT_I1 is signed
            case VT_UI1: wide = id.bVal; break;
            case VT_I2: wide = id.iVal; break;
            case VT_UI2: wide = id.uiVal; break;
            case VT_I4: wide = id.lVal; break;
            case VT_UI4: wide = id.ulVal; break;
            case VT_INT: wide = id.intVal; break;
            case VT_UINT: wide = id.uintVal; break;
            case VT_I8: wide = id.llVal; break;
            case VT_UI8:
                if (id.ullVal > 0x7FFFFFFF) return false;
                wide = static_cast<LONGLONG>(id.ullVal);
                break;
            default: return false;
        }
        *n = static_cast<LONG>(wide);
        return wide == *n;
    }

    // Every call that names a child first makes sure the window is still
    // there and still ours, and that the id is one. Returns S_OK, or the
    // failure for the call to return.
    HRESULT Reach(const VARIANT& id, Child* c) const {
        if (HRESULT gone = Gone()) return gone;
        LONG n = 0;
        if (!IdNumber(id, &n)) return E_INVALIDARG;
        SetId(&c->standard, n);
        const int tabs = Tabs();
        if (n == CHILDID_SELF) c->self = true;
        else if (n > 0 && n <= tabs) c->tab = static_cast<int>(n) - 1;
        else if (n > tabs) c->standard.lVal -= tabs;
        return S_OK;
    }

    // An id from the standard object, as this object's children count.
    void FromStandard(VARIANT* v) const {
        if (v->vt == VT_I4 && v->lVal > 0) v->lVal += Tabs();
    }

    PageTab Tab(int index) const {
        PageTab tab{nullptr, RECT{0, 0, 0, 0}};
        PageControlTab(hwnd_, index, &tab);
        return tab;
    }

    // Every call first makes sure the window is still there and still ours.
    // Returns S_OK, or the failure for the call to return.
    HRESULT Gone() const {
        if (!IsWindow(hwnd_)) return CO_E_OBJNOTCONNECTED;
        return (kind_ == Kind::TabStrip ? IsPageControl(hwnd_) : IsPicBox(hwnd_)) ? S_OK : E_FAIL;
    }

    // A press on the tab, run from the window's own queue: the caller may be
    // inside a modal loop, and the switch moves the focus.
    HRESULT Press(int tab) const {
        if (!IsWindowEnabled(hwnd_)) return E_FAIL;
        return PostPageControlTabPress(hwnd_, tab) ? S_OK : E_FAIL;
    }

    HRESULT Navigated(LONG direction, VARIANT start, VARIANT* end) const {
        const HRESULT hr = std_->accNavigate(direction, start, end);
        FromStandard(end);
        return hr;
    }

    // A text the tabs have none of; the rest as the standard object says.
    HRESULT Delegated(const VARIANT& id, BSTR* out, decltype(&IAccessible::get_accValue) get) {
        if (!out) return E_POINTER;
        *out = nullptr;
        Child c;
        if (HRESULT failed = Reach(id, &c)) return failed;
        if (c.tab >= 0) return S_FALSE;
        return (std_.Get()->*get)(c.standard, out);
    }

    LONG refs_ = 1;
    const HWND hwnd_;
    const Kind kind_;
    const char* const words_;
    const ComPtr<IAccessible> std_;
    const ComPtr<IEnumVARIANT> stdChildren_;  // null: the standard object enumerates nothing
    int enumerated_ = 0;                      // tabs returned by Next
};

LRESULT Answer(HWND hwnd, WPARAM wp, LPARAM lp, Kind kind, const char* words) {
    if (static_cast<LONG>(lp) != OBJID_CLIENT) return 0;
    const Oleacc& oleacc = Bound();
    if (!oleacc.Ready()) return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(oleacc.createStd(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                reinterpret_cast<void**>(standard.Receive()))) ||
        !standard)
        return 0;
    ComPtr<IEnumVARIANT> children;
    // A failed QueryInterface counted no reference, whatever it left written.
    if (FAILED(standard->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(children.Receive()))))
        static_cast<void>(children.Detach());
    const ComPtr<Wrapper> object(new (std::nothrow)
                                     Wrapper(hwnd, kind, words, std::move(standard), std::move(children)));
    if (!object) return 0;
    // LresultFromObject counts a reference of its own for the client; this
    // one goes on the way out, so the client's last Release ends the object.
    const LRESULT result = oleacc.lresult(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object.Get()));
    // A failure is a negative error code: the default procedure answers instead.
    return result > 0 ? result : 0;
}

}  // namespace

LRESULT AnswerTabStripObject(HWND page, WPARAM wp, LPARAM lp) { return Answer(page, wp, lp, Kind::TabStrip, nullptr); }

LRESULT AnswerGraphicObject(HWND box, WPARAM wp, LPARAM lp, const char* words) {
    return Answer(box, wp, lp, Kind::Graphic, words);
}

}  // namespace tolvane
