// Stand-in skin engines for the tests, built three ways from this one file:
//   TEST_ENGINE_RECORDING: a proper stdcall export that records each call;
//   TEST_ENGINE_CDECL:     the export leaves its arguments on the stack;
//   TEST_ENGINE_NO_EXPORT: a library without the export the program asks for.
#include <windows.h>

#include <cstdio>

namespace {

// One line per call, to the file named by TOLVANE_ENGINE_LOG: the skin path,
// the password, and whether the program's window was already visible.
void Record(const char* skinFile, const char* password) {
    char log[MAX_PATH];
    if (!GetEnvironmentVariableA("TOLVANE_ENGINE_LOG", log, sizeof log)) return;
    HWND main = FindWindowA("TolvaneMainWindow", nullptr);
    const bool visible = main && IsWindowVisible(main);
    FILE* f = std::fopen(log, "ab");
    if (!f) return;
    std::fprintf(f, "%s|%s|%s\n", skinFile ? skinFile : "(null)", password ? password : "(null)",
                 visible ? "visible" : "hidden");
    std::fclose(f);
}

}  // namespace

#if defined(TEST_ENGINE_RECORDING)
extern "C" __declspec(dllexport) int __stdcall SkinH_Attach_Ex(const char* skinFile, const char* password) {
    Record(skinFile, password);
    return 0;
}
#elif defined(TEST_ENGINE_CDECL)
extern "C" __declspec(dllexport) int __cdecl SkinH_Attach_Ex(const char* skinFile, const char* password) {
    Record(skinFile, password);
    return 0;
}
#elif defined(TEST_ENGINE_NO_EXPORT)
extern "C" __declspec(dllexport) int __stdcall SkinH_Attach(const char* skinFile, const char* password) {
    Record(skinFile, password);
    return 0;
}
#endif
