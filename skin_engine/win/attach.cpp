// The export, the creation hook and the lifetime of everything the engine
// puts on windows. A skin is attached to the calling thread: its windows now,
// and through a thread-local CBT hook every window it creates later.
#include "skin_engine/win/engine.h"

#include <memory>
#include <new>

#include "core/window_classes.h"
#include "winutil/handles.h"
#include "winutil/high_contrast.h"

namespace engine {

namespace {

// A DLL's state is its process's: one skin at a time, for the thread that
// attached it, reached from hook and window procedures that carry no context.
HINSTANCE g_module = nullptr;  // this DLL, the creation hook's module
HHOOK g_hook = nullptr;        // the creation hook, on g_hookThread
DWORD g_hookThread = 0;
Palette* g_palette = nullptr;  // the attached skin's colours and metrics
Skinned* g_records = nullptr;  // every window the engine has put its subclass on

bool ClassIs(const char* cls, const char* name) { return lstrcmpiA(cls, name) == 0; }

// Overlapped windows get a caption from the system even when the style
// asked for none, so they count as captioned.
bool WantsFrame(LONG style) {
    if (style & WS_CHILD) return false;
    return (style & WS_CAPTION) == WS_CAPTION || !(style & WS_POPUP);
}

// Puts the matching subclass on one window. Returns true if it is new there.
bool SkinWindow(HWND hwnd, LONG style) {
    char cls[64];
    if (!GetClassNameA(hwnd, cls, sizeof(cls))) return false;
    for (const char* name : tolvane::kSelfPaintedClasses)
        if (ClassIs(cls, name)) return false;
    if (style & WS_CHILD) {
        if (ClassIs(cls, "Button")) return AttachButton(hwnd);
        if (ClassIs(cls, "Edit")) return AttachEdit(hwnd);
        return false;
    }
    if (WantsFrame(style)) return AttachFrame(hwnd);
    return false;
}

BOOL CALLBACK SkinChild(HWND hwnd, LPARAM) {
    if (SkinWindow(hwnd, GetWindowLongA(hwnd, GWL_STYLE))) {
        // Existing edits have their frame size cached; recalculate it so the
        // first paint goes through us.
        char cls[8];
        if (GetClassNameA(hwnd, cls, sizeof(cls)) && ClassIs(cls, "Edit")) RepaintEdit(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK SkinTopLevel(HWND hwnd, LPARAM) {
    SkinWindow(hwnd, GetWindowLongA(hwnd, GWL_STYLE));
    EnumChildWindows(hwnd, SkinChild, 0);
    return TRUE;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && g_palette != nullptr) {
        // The CREATESTRUCT holds the style asked for; the window's own style
        // is not complete before WM_NCCREATE.
        const CBT_CREATEWNDA* cw = reinterpret_cast<const CBT_CREATEWNDA*>(lp);
        // Message-only windows are never drawn.
        if (cw && cw->lpcs && cw->lpcs->hwndParent != HWND_MESSAGE)
            SkinWindow(reinterpret_cast<HWND>(wp), cw->lpcs->style);
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

void RepaintAll() {
    for (Skinned* r = g_records; r; r = r->next) r->Repaint();
}

// Takes every subclass off and frees the records. With restoreLook the
// windows are redrawn in their default look; at process exit they are not
// touched beyond the subclass.
void DetachAll(bool restoreLook) {
    if (g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
        g_hookThread = 0;
    }
    while (g_records) {
        Skinned* r = g_records;
        Unregister(r);
        r->Unsubclass();
        if (restoreLook && IsWindow(r->hwnd)) r->Restore();
        delete r;
    }
    DestroyPalette(g_palette);
    g_palette = nullptr;
}

// Reads the whole file into a buffer of its own and parses it, refusing
// anything above the format's size limit before allocating for it.
she::Status ReadSkinFile(const char* path, const char* password, she::Skin* skin) {
    const tolvane::KernelHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return she::kNoFile;
    // Only a file on disk: a pipe or a device could block the read forever.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) return she::kNoFile;
    DWORD high = 0;
    DWORD low = GetFileSize(file.Get(), &high);
    she::Status status = she::kOk;
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        status = she::kNoFile;
    } else if (high != 0 || low > she::kMaxFileBytes) {
        status = she::kTooLarge;
    } else {
        // One byte more than allowed, so a file that grew meanwhile is caught.
        const std::unique_ptr<char[]> buf(new (std::nothrow) char[she::kMaxFileBytes + 1]);
        DWORD got = 0;
        if (!buf) {
            status = she::kNoResources;
        } else if (!ReadFile(file.Get(), buf.get(), she::kMaxFileBytes + 1, &got, nullptr)) {
            status = she::kNoFile;
        } else {
            status = she::Parse(buf.get(), got, password, skin);
        }
    }
    return status;
}

she::Status Attach(const char* path, const char* password) {
    if (path == nullptr || path[0] == '\0') return she::kNoFile;
    she::Skin skin;
    const she::Status status = ReadSkinFile(path, password, &skin);
    if (status != she::kOk) return status;

    PaletteOwner palette = CreatePalette(skin);
    if (!palette) return she::kNoResources;
    DWORD thread = GetCurrentThreadId();
    if (g_hook == nullptr || g_hookThread != thread) {
        HHOOK hook = SetWindowsHookExA(WH_CBT, CbtProc, g_module, thread);
        if (hook == nullptr) return she::kNoResources;
        if (g_hook) UnhookWindowsHookEx(g_hook);
        g_hook = hook;
        g_hookThread = thread;
    }

    // A second attach swaps the palette under windows already skinned; the
    // old one goes once they are repainted.
    const PaletteOwner old(g_palette);
    g_palette = palette.release();
    EnumThreadWindows(thread, SkinTopLevel, 0);
    RepaintAll();
    return she::kOk;
}

}  // namespace

const Palette* CurrentPalette() { return g_palette; }

bool StandsAside() {
    return tolvane::LookOf(tolvane::Part::Skin, tolvane::HighContrast()).kind == tolvane::Look::kSystem;
}

void FollowDisplaySettings(UINT msg) {
    if (!tolvane::IsDisplaySettingsChange(msg)) return;
    if (msg == WM_SETTINGCHANGE && g_palette) g_palette->ForgetFrames();
    if (!tolvane::ReadHighContrast()) return;
    const bool aside = StandsAside();
    for (Skinned* r = g_records; r; r = r->next) r->StandAside(aside);
}

void Register(Skinned* r) {
    r->prev = nullptr;
    r->next = g_records;
    if (g_records) g_records->prev = r;
    g_records = r;
}

void Unregister(Skinned* r) {
    if (r == nullptr) return;
    if (r->prev) r->prev->next = r->next;
    else if (g_records == r) g_records = r->next;
    if (r->next) r->next->prev = r->prev;
    r->prev = r->next = nullptr;
}

}  // namespace engine

extern "C" int __stdcall SkinH_Attach_Ex(const char* skinFile, const char* password) {
    return engine::Attach(skinFile, password);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            engine::g_module = instance;
            DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            // At process exit (reserved != null) windows may be half gone and
            // other DLLs unloaded: leave everything to the system then.
            if (reserved == nullptr) {
                engine::DetachAll(true);
                engine::ReleaseSubclassAtom();
            }
            break;
    }
    return TRUE;
}
