// Which Open dialog the program asks for: hooked, for the guard against an
// over-long typed path, only where ntdll carries Wine's export; elsewhere
// the plain dialog in the system's current style.
#include <gtest/gtest.h>

#include "controls/win/common_dialog.h"

using namespace tolvane;

namespace {

bool Wine(const char* module, const char* name) {
    return lstrcmpiA(module, "ntdll.dll") == 0 && lstrcmpA(name, "wine_get_version") == 0;
}
bool Windows(const char*, const char*) { return false; }
// Wine's export asked of another module, or other names of ntdll: not Wine.
bool WineNameElsewhere(const char* module, const char* name) {
    return lstrcmpiA(module, "ntdll.dll") != 0 || lstrcmpA(name, "wine_get_version") != 0;
}

TEST(OpenDialog, HookedOnlyUnderWine) {
    const DWORD options = CommonDialog{}.options;
    const struct {
        const char* platform;
        ExportLookup lookup;
        DWORD options;
        DWORD flags;
    } rows[] = {
        {"Wine", Wine, options, options | OFN_EXPLORER | OFN_ENABLEHOOK},
        {"Windows", Windows, options, options | OFN_EXPLORER},
        {"Windows, other exports present", WineNameElsewhere, options, options | OFN_EXPLORER},
        {"Windows, caller's own hook flag", Windows, options | OFN_ENABLEHOOK, options | OFN_EXPLORER},
        // wine-quirk: this process's ntdll is Wine's; on Windows the row gives the plain dialog's flags.
        {"this process, under Wine", ModuleExports, options, options | OFN_EXPLORER | OFN_ENABLEHOOK},
    };
    for (const auto& row : rows) EXPECT_EQ(OpenDialogFlags(row.options, row.lookup), row.flags) << row.platform;
}

}  // namespace
