// The engine's own window subclassing. comctl32 has the same helpers, but
// loading it brings its theming library along: megabytes and milliseconds at
// every start of the program, for four small functions.
#include "skin_engine/win/engine.h"

#include <new>

namespace engine {

namespace {

// One per subclassed window, held in a window property.
struct Hook {
    WNDPROC original = nullptr;
    bool unicode = false;         // the window's character set when hooked
    SubclassProc proc = nullptr;  // null: only passing messages on
    DWORD_PTR ref = 0;
    int depth = 0;           // our calls in progress on the window
    bool unhooked = false;   // the original procedure is back in place
    bool destroyed = false;  // WM_NCDESTROY has gone by
};

ATOM g_atom = 0;        // the property's name, added with the first subclass
bool g_pinned = false;  // the DLL stays mapped: a later subclass still calls into it

// The dispatches running on a thread, innermost last. A procedure that asks
// for its own window's record (DefSubclass, GetSubclass) finds it here
// instead of through the window property, which under Wine is a round trip to
// the server on every message. The list is the engine's own memory, never the
// dispatches' stack frames: a fault swallowed around a window procedure (by
// Wine, and by 64-bit Windows in a program that declares no Windows 7 support)
// unwinds past a dispatch without its return, and the next call reuses its
// frame. So each entry notes its dispatch's frame. The stack grows down: an
// entry whose frame lies at or below the frame of whoever looks belongs to a
// dispatch that is gone. It is dropped, and the depth it held on its record
// is given back, so that the record is still freed.
struct Active {
    HWND hwnd;
    Hook* hook;
    UINT_PTR frame;
};
// Deeper nesting is not listed: its look-ups go to the property.
constexpr int kMaxActive = 64;
struct Dispatches {
    int count = 0;
    Active entries[kMaxActive];
    Dispatches* next = nullptr;  // every thread's, freed with the slot
};
DWORD g_activeSlot = TLS_OUT_OF_INDEXES;
Dispatches* g_allDispatches = nullptr;

// Null when there is no slot, or no memory for the thread's list: every
// look-up then goes to the property, slower and no less right.
Dispatches* ThreadDispatches(bool create) {
    if (g_activeSlot == TLS_OUT_OF_INDEXES) return nullptr;
    auto* d = static_cast<Dispatches*>(TlsGetValue(g_activeSlot));
    if (d || !create) return d;
    d = new (std::nothrow) Dispatches;
    if (d == nullptr || !TlsSetValue(g_activeSlot, d)) {
        delete d;
        return nullptr;
    }
    // Threads add theirs at any time; only the release takes them away.
    do d->next = g_allDispatches;
    while (InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&g_allDispatches), d, d->next) !=
           d->next);
    return d;
}

LRESULT CALLBACK HookProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK HookProcW(HWND, UINT, WPARAM, LPARAM);

void Free(HWND hwnd, Hook* h) {
    // A record given back late may find the window gone and its handle
    // taken by another window, which keeps its own record.
    if (GetPropA(hwnd, MAKEINTATOM(g_atom)) == h) RemovePropA(hwnd, MAKEINTATOM(g_atom));
    delete h;
}

// Takes every entry above the first `keep` off the list: their dispatches
// are gone.
void DropGone(Dispatches& d, int keep) {
    while (d.count > keep) {
        const Active& gone = d.entries[--d.count];
        Hook* h = gone.hook;
        --h->depth;
        // It may have been the window's WM_NCDESTROY that never returned.
        if (!IsWindow(gone.hwnd)) h->destroyed = true;
        if (h->depth == 0 && (h->destroyed || h->unhooked)) Free(gone.hwnd, h);
    }
}

// `here` is a frame of the caller's, below every dispatch still running.
void DropGoneBelow(Dispatches& d, UINT_PTR here) {
    int keep = d.count;
    while (keep > 0 && d.entries[keep - 1].frame <= here) --keep;
    DropGone(d, keep);
}

// The record of `hwnd`: its innermost listed dispatch's, else the property's.
Hook* FindHook(const Dispatches* d, HWND hwnd) {
    if (d)
        for (int i = d->count; i-- > 0;)
            if (d->entries[i].hwnd == hwnd) return d->entries[i].hook;
    return g_atom ? static_cast<Hook*>(GetPropA(hwnd, MAKEINTATOM(g_atom))) : nullptr;
}

Hook* HookOf(HWND hwnd) {
    Dispatches* d = ThreadDispatches(false);
    if (d) DropGoneBelow(*d, reinterpret_cast<UINT_PTR>(__builtin_frame_address(0)));
    return FindHook(d, hwnd);
}

bool OnTop(HWND hwnd, const Hook& h) {
    return h.unicode ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(HookProcW)
                     : GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(HookProcA);
}

// A subclass set after ours calls our procedure until it goes away, and it
// may outlive our release: the library must then stay mapped.
void StayMapped() {
    if (g_pinned) return;
    HMODULE self = nullptr;
    g_pinned = GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                  reinterpret_cast<LPCSTR>(&HookProcA), &self) != FALSE;
}

LRESULT CallOriginal(const Hook& h, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return h.unicode ? CallWindowProcW(h.original, hwnd, msg, wp, lp) : CallWindowProcA(h.original, hwnd, msg, wp, lp);
}

// Messages arrive in the window's own character set and go on to the
// original procedure in the same one, so texts pass unconverted.
LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool unicode) {
    const auto frame = reinterpret_cast<UINT_PTR>(__builtin_frame_address(0));
    Dispatches* d = ThreadDispatches(true);
    // Dropped here, at the dispatch's own frame: a dispatch that never
    // returned may have stood exactly where this one stands.
    if (d) DropGoneBelow(*d, frame);
    Hook* h = FindHook(d, hwnd);
    if (h == nullptr) return unicode ? DefWindowProcW(hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
    if (!g_pinned && !OnTop(hwnd, *h)) StayMapped();
    const int index = d && d->count < kMaxActive ? d->count++ : -1;
    if (index >= 0) d->entries[index] = {hwnd, h, frame};
    ++h->depth;
    const LRESULT r = h->proc ? h->proc(hwnd, msg, wp, lp, h->ref) : CallOriginal(*h, hwnd, msg, wp, lp);
    // Whatever was listed after this dispatch ended without returning.
    if (index >= 0) {
        DropGone(*d, index + 1);
        d->count = index;
    }
    --h->depth;
    // The original has seen WM_NCDESTROY now; nothing more comes.
    if (msg == WM_NCDESTROY) h->destroyed = true;
    if (h->depth == 0 && (h->destroyed || h->unhooked)) Free(hwnd, h);
    return r;
}

LRESULT CALLBACK HookProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(hwnd, msg, wp, lp, false); }
LRESULT CALLBACK HookProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(hwnd, msg, wp, lp, true); }

}  // namespace

bool SetSubclass(HWND hwnd, SubclassProc proc, DWORD_PTR ref) {
    if (g_atom == 0) g_atom = GlobalAddAtomA("TolvaneSkinSubclass");
    if (g_atom == 0) return false;
    // Without a slot every look-up goes to the property: slower, no less right.
    if (g_activeSlot == TLS_OUT_OF_INDEXES) g_activeSlot = TlsAlloc();
    if (Hook* h = HookOf(hwnd)) {
        // Still in the chain as a pass-through: take the window up again.
        if (h->proc != nullptr || h->unhooked || h->destroyed) return false;
        h->proc = proc;
        h->ref = ref;
        return true;
    }
    Hook* h = new (std::nothrow) Hook;
    if (h == nullptr) return false;
    h->unicode = IsWindowUnicode(hwnd) != FALSE;
    h->proc = proc;
    h->ref = ref;
    if (!SetPropA(hwnd, MAKEINTATOM(g_atom), h)) {
        delete h;
        return false;
    }
    const LONG_PTR old = h->unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProcW))
                                    : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProcA));
    if (old == 0) {
        Free(hwnd, h);
        return false;
    }
    h->original = reinterpret_cast<WNDPROC>(old);
    return true;
}

bool GetSubclass(HWND hwnd, SubclassProc proc, DWORD_PTR* ref) {
    const Hook* h = HookOf(hwnd);
    if (h == nullptr || h->proc != proc) return false;
    if (ref) *ref = h->ref;
    return true;
}

bool RemoveSubclass(HWND hwnd, SubclassProc proc) {
    Hook* h = HookOf(hwnd);
    if (h == nullptr || h->proc != proc) return false;
    h->proc = nullptr;
    h->ref = 0;
    if (!h->unhooked && !h->destroyed) {
        if (OnTop(hwnd, *h)) {
            if (h->unicode) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(h->original));
            else SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(h->original));
            h->unhooked = true;
        } else {
            StayMapped();
        }
    }
    // A call of ours still running on the window frees it on its way out.
    if (h->depth == 0 && (h->unhooked || h->destroyed)) Free(hwnd, h);
    return true;
}

LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (const Hook* h = HookOf(hwnd)) return CallOriginal(*h, hwnd, msg, wp, lp);
    // Destroyed inside the call that is asking: the window has no procedure left.
    return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

void ReleaseSubclassAtom() {
    // A pass-through left behind still finds its record by the atom.
    if (g_atom == 0 || g_pinned) return;
    GlobalDeleteAtom(g_atom);
    g_atom = 0;
    if (g_activeSlot != TLS_OUT_OF_INDEXES) TlsFree(g_activeSlot);
    g_activeSlot = TLS_OUT_OF_INDEXES;
    while (Dispatches* d = g_allDispatches) {
        g_allDispatches = d->next;
        delete d;
    }
}

}  // namespace engine
