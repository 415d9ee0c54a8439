#include "tests/e2e/driver/driver.h"
#include "winutil/gdi_objects.h"

namespace e2e {

int GdiHeadroom(int ceiling) {
    std::vector<tolvane::GdiObject<HBRUSH>> brushes;
    brushes.reserve(20000);
    while (static_cast<int>(brushes.size()) < ceiling) {
        // Distinct colours, in case a GDI ever returns one shared object
        // for identical solid brushes.
        tolvane::GdiObject<HBRUSH> b(CreateSolidBrush(static_cast<COLORREF>(brushes.size() & 0xFFFFFF)));
        if (!b) break;
        brushes.push_back(std::move(b));
    }
    return static_cast<int>(brushes.size());
}

}  // namespace e2e
