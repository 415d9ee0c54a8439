// The one place the version numbers and the maker's names are written; the
// version blocks of the program and of the engine, the release zip's name and
// its read-me are made from them (scripts/release.sh reads the numbers here).
#pragma once
#define TOLVANE_VERSION_MAJOR 1
#define TOLVANE_VERSION_MINOR 0
#define TOLVANE_VERSION_PATCH 0
#define TOLVANE_VERSION_BUILD 0
#define TOLVANE_STR2(x) #x
#define TOLVANE_STR(x) TOLVANE_STR2(x)
// clang-format off
#define TOLVANE_VERSION_TEXT                                                   \
    TOLVANE_STR(TOLVANE_VERSION_MAJOR) "." TOLVANE_STR(TOLVANE_VERSION_MINOR) "." \
    TOLVANE_STR(TOLVANE_VERSION_PATCH) "." TOLVANE_STR(TOLVANE_VERSION_BUILD)
// clang-format on
#define TOLVANE_COMPANY "Tolvane 开发组"
#define TOLVANE_PRODUCT "Tolvane"
#define TOLVANE_COPYRIGHT "© 2026 Tolvane 开发组"
