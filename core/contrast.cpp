#include "core/contrast.h"

namespace tolvane {

Look LookOf(Part part, bool highContrast) {
    if (!highContrast) return {};
    switch (part) {
        case Part::CurrentTab: return {Look::kPair, SysColour::HighlightText, SysColour::Highlight};
        case Part::DisabledTab: return {Look::kPair, SysColour::GrayText, SysColour::ButtonFace};
        case Part::Skin: return {Look::kSystem};
        default:
            // The strip, the other tabs, the page and what lies on it: the
            // face's own text on the face.
            return {Look::kPair, SysColour::ButtonText, SysColour::ButtonFace};
    }
}

}  // namespace tolvane
