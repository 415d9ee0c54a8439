#include "tests/e2e/driver/driver.h"

namespace e2e {

int GdiHeadroom(int ceiling) {
    std::vector<HBRUSH> brushes;
    brushes.reserve(20000);
    while (static_cast<int>(brushes.size()) < ceiling) {
        // Distinct colours, in case a GDI ever returns one shared object
        // for identical solid brushes.
        HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(brushes.size() & 0xFFFFFF));
        if (!b) break;
        brushes.push_back(b);
    }
    for (HBRUSH b : brushes) DeleteObject(b);
    return static_cast<int>(brushes.size());
}

}  // namespace e2e
