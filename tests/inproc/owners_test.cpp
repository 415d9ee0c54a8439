// The owners as a caller sees them after a release: the last error as the
// caller left it, and a Reset whose close failed saying why.
#include <gtest/gtest.h>

#include "winutil/com_ptr.h"
#include "winutil/handles.h"

using namespace tolvane;

namespace {

constexpr DWORD kCallers = ERROR_INVALID_DATA;
const HKEY kNoKey = reinterpret_cast<HKEY>(0x7ffffffc);  // no process has it: its close fails

// Its last Release sets the last error, as a destructor's calls may.
struct SetsErrorOnRelease : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return SetLastError(ERROR_GEN_FAILURE), 0; }
} g_object;

TEST(Owners, ReleasesKeepTheLastErrorAndAFailedResetSaysWhy) {
    const struct {
        const char* name;
        bool (*release)();
        DWORD error;
    } rows[] = {
        {"a key whose close fails, at scope end", [] { return static_cast<bool>(RegistryKey(kNoKey)); }, kCallers},
        {"a key whose close fails, reset", [] { return !RegistryKey(kNoKey).Reset(); }, ERROR_INVALID_HANDLE},
        {"a COM object's last reference, at scope end", [] { return !!ComPtr<IUnknown>(&g_object); }, kCallers},
    };
    for (const auto& row : rows) {
        SetLastError(kCallers);
        EXPECT_TRUE(row.release()) << row.name;
        EXPECT_EQ(GetLastError(), row.error) << row.name;
    }
}

}  // namespace
