#include "core/contrast.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Every part, with high contrast off and on: its own look, one matched pair
// of system colours, or the system's drawing in place of the skin's.
TEST(Contrast, EachPartTakesItsOwnLookOrOneMatchedPair) {
    using S = SysColour;
    const struct {
        Part part;
        Look::Kind kind;
        S text, back;
    } rows[] = {
        {Part::TabStrip, Look::kPair, S::ButtonText, S::ButtonFace},
        {Part::Tab, Look::kPair, S::ButtonText, S::ButtonFace},
        {Part::CurrentTab, Look::kPair, S::HighlightText, S::Highlight},
        {Part::DisabledTab, Look::kPair, S::GrayText, S::ButtonFace},
        {Part::PageBody, Look::kPair, S::ButtonText, S::ButtonFace},
        {Part::Label, Look::kPair, S::ButtonText, S::ButtonFace},
        {Part::Banner, Look::kPair, S::ButtonText, S::ButtonFace},
        {Part::Skin, Look::kSystem, S::ButtonText, S::ButtonFace},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.part));
        EXPECT_EQ(LookOf(row.part, false).kind, Look::kOwn);
        const Look on = LookOf(row.part, true);
        EXPECT_EQ(on.kind, row.kind);
        if (on.kind != Look::kPair) continue;
        EXPECT_EQ(on.text, row.text);
        EXPECT_EQ(on.back, row.back);
    }
}

}  // namespace
}  // namespace tolvane
