#include "core/contrast.h"

#include <gtest/gtest.h>

using namespace tolvane;

// Each part: its own look with high contrast off; with it on, one matched
// pair of system colours, or the system's drawing in place of the skin's.
TEST(Contrast, EachPartTakesItsOwnLookOrOneMatchedPair) {
    using S = SysColour;
    const Look face{Look::kPair, S::ButtonText, S::ButtonFace};
    const std::pair<Part, Look> rows[] = {
        {Part::TabStrip, face},
        {Part::Tab, face},
        {Part::PageBody, face},
        {Part::Label, face},
        {Part::Banner, face},
        {Part::CurrentTab, {Look::kPair, S::HighlightText, S::Highlight}},
        {Part::DisabledTab, {Look::kPair, S::GrayText, S::ButtonFace}},
        {Part::Skin, {Look::kSystem}},
    };
    for (const auto& [part, want] : rows) {
        const Look on = LookOf(part, true);
        EXPECT_EQ(LookOf(part, false).kind, Look::kOwn) << static_cast<int>(part);
        EXPECT_TRUE(on.kind == want.kind && on.text == want.text && on.back == want.back) << static_cast<int>(part);
    }
}
