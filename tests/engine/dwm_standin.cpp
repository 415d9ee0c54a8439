// A recording stand-in for dwmapi.dll: the engine test loads it before the
// engine, which then uses it as the process's dwmapi. Only the one call the
// engine makes is provided.
#include <windows.h>

namespace {

DWORD g_calls[64][3];  // window, attribute, value
int g_count = 0;

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DwmSetWindowAttribute(HWND hwnd, DWORD attribute, LPCVOID data, DWORD size) {
    if (g_count < 64) {
        DWORD value = data && size == sizeof(DWORD) ? *static_cast<const DWORD*>(data) : 0xFFFFFFFF;
        g_calls[g_count][0] = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd));
        g_calls[g_count][1] = attribute;
        g_calls[g_count][2] = value;
        ++g_count;
    }
    return S_OK;
}

// Copies the calls seen so far (up to max) and forgets them; returns how many.
extern "C" __declspec(dllexport) int TakeDwmCalls(DWORD (*out)[3], int max) {
    int n = g_count < max ? g_count : max;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = g_calls[i][j];
    g_count = 0;
    return n;
}
