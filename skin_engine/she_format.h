// The skin file format: a small, line-based text file that starts with
// ".SHE 1". Pure code, shared by the engine DLL, the unit tests and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/rgb.h"

namespace she {

// Results of parsing, and of the engine's export: 0 means attached. The
// numbers are part of the export's contract; never renumber, only append.
enum Status : int {
    kOk = 0,
    kNoFile = 1,        // no path given, or the file cannot be opened or read
    kTooLarge = 2,      // larger than kMaxFileBytes
    kBadMagic = 3,      // does not start with ".SHE " (an empty file too)
    kBadVersion = 4,    // a version this engine does not read
    kBadByte = 5,       // NUL, a control character or a lone CR
    kLineTooLong = 6,   // a line longer than kMaxLineBytes
    kTooManyLines = 7,  // more than kMaxLines lines
    kSyntax = 8,        // neither comment, section header nor key = value
    kUnknownSection = 9,
    kUnknownKey = 10,
    kDuplicate = 11,      // a section or key given twice
    kBadValue = 12,       // malformed colour, number or text, or out of range
    kMissingKey = 13,     // a required key is absent (a truncated file, mostly)
    kWrongPassword = 14,  // the skin names a password and another one was given
    kNoResources = 15,    // the engine could not create its GDI objects or hook
};

constexpr std::size_t kMaxFileBytes = 64 * 1024;
constexpr std::size_t kMaxLineBytes = 200;
constexpr int kMaxLines = 2000;
constexpr std::size_t kMaxTextBytes = 64;

using Rgb = tolvane::Rgb;

// Every colour of a skin. The order is free; the key table in the parser maps
// names to these.
enum ColorId : int {
    kCaptionActiveTop,
    kCaptionActiveBottom,
    kCaptionInactiveTop,
    kCaptionInactiveBottom,
    kCaptionActiveText,
    kCaptionInactiveText,
    kFrameActiveOutline,
    kFrameInactiveOutline,
    kFrameActiveFill,
    kFrameInactiveFill,
    kCaptionButtonNormal,
    kCaptionButtonHot,
    kCaptionButtonPressed,
    kCloseButtonHot,
    kCloseButtonPressed,
    kCaptionButtonGlyph,
    kButtonTop,
    kButtonBottom,
    kButtonHotTop,
    kButtonHotBottom,
    kButtonPressedTop,
    kButtonPressedBottom,
    kButtonDisabledFace,
    kButtonBorder,
    kButtonDefaultBorder,
    kButtonDisabledBorder,
    kButtonFocus,
    kButtonText,
    kButtonDisabledText,
    kEditBorder,
    kEditFocusBorder,
    kEditDisabledBorder,
    kEditInner,
    kColorCount
};

enum MetricId : int {
    kCaptionTextHeight,  // caption font height in pixels
    kCaptionTextBold,    // 0 or 1
    kCaptionTextIndent,  // gap between the frame and the icon or title
    kCaptionButtonSize,  // caption buttons are square; clamped to the caption
    kCaptionButtonRadius,
    kCaptionGlyphWidth,  // pen width of the glyphs on the caption buttons
    kFrameOutlineWidth,
    kButtonRadius,
    kButtonDefaultBorderWidth,
    kEditBorderWidth,
    kMetricCount
};

struct Skin {
    // Zero-terminated; fixed arrays keep the engine free of the C++ string
    // library.
    char name[kMaxTextBytes + 1] = {};
    char password[kMaxTextBytes + 1] = {};  // empty: the skin is not locked
    Rgb colors[kColorCount];
    int metrics[kMetricCount] = {};

    const Rgb& color(ColorId id) const { return colors[id]; }
    int metric(MetricId id) const { return metrics[id]; }
};

// The inclusive range a metric must lie in; the parser rejects anything else,
// so painting code may rely on it.
struct MetricRange {
    int min, max;
};
MetricRange RangeOf(MetricId id);

// Parses a whole skin file held in memory. `password` may be null (same as
// empty). Returns kOk, or the first fault found; then *out is left
// unspecified and *errorLine (if not null) names the 1-based line at fault,
// or 0 for the file as a whole.
Status Parse(const void* data, std::size_t size, const char* password, Skin* out, int* errorLine = nullptr);

}  // namespace she
