#include "controls/win/common_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "controls/filter_list.h"
#include "winutil/handles.h"
#include "winutil/system_library.h"

namespace tolvane {

namespace {

// The full path the dialog is about to take: the typed name, made absolute
// against the dialog's current folder unless it is absolute already. The
// dialog answers in the character set of the call that opened it: ANSI here.
std::string PendingPath(HWND dialog) {
    auto ask = [dialog](UINT message) {
        std::string text(32768, '\0');
        SendMessageA(dialog, message, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
        text.resize(lstrlenA(text.c_str()));
        return text;
    };
    std::string typed = ask(CDM_GETSPEC);
    if (typed.size() >= 2 && typed.front() == '"' && typed.back() == '"') typed = typed.substr(1, typed.size() - 2);
    const bool absolute = (typed.size() >= 2 && typed[1] == ':') || (!typed.empty() && typed[0] == '\\');
    if (absolute) return typed;
    std::string folder = ask(CDM_GETFOLDERPATH);
    // A folder path may end in the trail byte 0x5C of a two-byte character;
    // an extra separator only makes the estimate longer, never shorter.
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + typed;
}

// Bound at the first opening, not at start: comdlg32 brings comctl32, its
// theming library and the print spooler's along, megabytes that every start
// would pay for a dialog most runs never open.
using GetOpenFileNameFn = decltype(&GetOpenFileNameA);
using SetWindowSubclassFn = decltype(&SetWindowSubclass);
using RemoveWindowSubclassFn = decltype(&RemoveWindowSubclass);
using DefSubclassProcFn = decltype(&DefSubclassProc);

// Bound on the first browse and kept, as the library is, for the process.
GetOpenFileNameFn g_openFileName = nullptr;

GetOpenFileNameFn BindOpenDialog() {
    if (g_openFileName == nullptr) {
        Module comdlg = HeldOrSystemLibrary("comdlg32.dll");
        g_openFileName = ProcOf<GetOpenFileNameFn>(comdlg.Get(), "GetOpenFileNameA");
        if (g_openFileName) static_cast<void>(comdlg.Detach());  // held for the process, as the pointer is
    }
    return g_openFileName;
}

// comctl32's subclass helpers, by ordinal: comctl32 5.82 (every program
// without a Common-Controls-6 manifest) has no names for them.
struct SubclassApi {
    SetWindowSubclassFn set = nullptr;
    RemoveWindowSubclassFn remove = nullptr;
    DefSubclassProcFn def = nullptr;
};

SubclassApi BindSubclassApi() {
    // comdlg32 has it loaded already; it is no known DLL. Held for the
    // process, as the pointers are.
    const HMODULE comctl = HeldOrSystemLibrary("comctl32.dll").Detach();
    SubclassApi api;
    api.set = ProcOf<SetWindowSubclassFn>(comctl, MAKEINTRESOURCEA(410));
    api.remove = ProcOf<RemoveWindowSubclassFn>(comctl, MAKEINTRESOURCEA(412));
    api.def = ProcOf<DefSubclassProcFn>(comctl, MAKEINTRESOURCEA(413));
    return api;
}

// Bound with the first hooked dialog; the hook procedures below have no other way to it.
SubclassApi g_subclass;

// Wine's dialog assembles the confirmed path in a MAX_PATH buffer of its own
// and overruns it when the typed path is longer (the program then dies
// inside the dialog). A path that long could not come back through our
// buffer anyway, so it is handled the way Windows handles it (the call
// fails with FNERR_BUFFERTOOSMALL): the dialog ends as if cancelled.
LRESULT CALLBACK GuardOpenDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && PendingPath(dialog).size() >= MAX_PATH) {
        return g_subclass.def(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    }
    if (message == WM_NCDESTROY) g_subclass.remove(dialog, GuardOpenDialog, id);
    return g_subclass.def(dialog, message, wParam, lParam);
}

UINT_PTR CALLBACK OpenDialogHook(HWND child, UINT message, WPARAM, LPARAM) {
    // An Explorer-style hook lives in a child of the dialog; the buttons
    // belong to its parent.
    if (message == WM_INITDIALOG) g_subclass.set(GetParent(child), GuardOpenDialog, 0, 0);
    return 0;  // default processing for everything
}

}  // namespace

bool ModuleExports(const char* module, const char* name) {
    HMODULE loaded = GetModuleHandleA(module);
    return loaded != nullptr && GetProcAddress(loaded, name) != nullptr;
}

DWORD OpenDialogFlags(DWORD options, ExportLookup lookup) {
    DWORD flags = (options & ~OFN_ENABLEHOOK) | OFN_EXPLORER;
    // Wine is known by its own export of ntdll, never by a version number.
    if (lookup("ntdll.dll", "wine_get_version")) flags |= OFN_ENABLEHOOK;
    return flags;
}

bool CommonDialog::Open(HWND owner) {
    // The platform's path buffer: at most 259 bytes of path fit, either way.
    char path[MAX_PATH] = {};
    lstrcpynA(path, fileName.c_str(), sizeof path);
    const std::string filterList = BuildFilterList(filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterList.empty() ? nullptr : filterList.c_str();
    ofn.nFilterIndex = filterList.empty() ? 0 : FilterEntryFor(initialFilterIndex);
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    ofn.Flags = OpenDialogFlags(options);
    // Unbound, the dialog cannot open: the same as a dialog that failed.
    const GetOpenFileNameFn open = BindOpenDialog();
    if (open == nullptr) return false;
    if (ofn.Flags & OFN_ENABLEHOOK) {
        if (g_subclass.def == nullptr) g_subclass = BindSubclassApi();
        if (!g_subclass.set || !g_subclass.remove || !g_subclass.def) return false;
        ofn.lpfnHook = OpenDialogHook;
    }
    if (!open(&ofn)) return false;
    fileName = path;
    return true;
}

}  // namespace tolvane
