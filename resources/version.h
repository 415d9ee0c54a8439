// The one place the version numbers are written; the version block and the
// program's own texts are made from them.
#pragma once
#define TOLVANE_VERSION_MAJOR 1
#define TOLVANE_VERSION_MINOR 0
#define TOLVANE_VERSION_PATCH 0
#define TOLVANE_VERSION_BUILD 0
#define TOLVANE_STR2(x) #x
#define TOLVANE_STR(x) TOLVANE_STR2(x)
#define TOLVANE_VERSION_TEXT                                                   \
    TOLVANE_STR(TOLVANE_VERSION_MAJOR) "." TOLVANE_STR(TOLVANE_VERSION_MINOR) "." \
    TOLVANE_STR(TOLVANE_VERSION_PATCH) "." TOLVANE_STR(TOLVANE_VERSION_BUILD)
