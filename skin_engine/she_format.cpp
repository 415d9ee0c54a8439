#include "skin_engine/she_format.h"

#include <cstring>

namespace she {

namespace {

enum class Kind { kColor, kMetric, kName, kPassword };

struct KeyDef {
    const char* section;  // "" for the keys before the first section
    const char* key;
    Kind kind;
    int id;  // ColorId or MetricId
    bool required;
};

// One row per key a version 1 file may hold. Every colour and metric is
// required: a skin that silently fell back to defaults would hide a typo.
const KeyDef kKeys[] = {
    {"", "name", Kind::kName, 0, true},
    {"", "password", Kind::kPassword, 0, false},

    {"caption", "active_top", Kind::kColor, kCaptionActiveTop, true},
    {"caption", "active_bottom", Kind::kColor, kCaptionActiveBottom, true},
    {"caption", "inactive_top", Kind::kColor, kCaptionInactiveTop, true},
    {"caption", "inactive_bottom", Kind::kColor, kCaptionInactiveBottom, true},
    {"caption", "active_text", Kind::kColor, kCaptionActiveText, true},
    {"caption", "inactive_text", Kind::kColor, kCaptionInactiveText, true},
    {"caption", "text_height", Kind::kMetric, kCaptionTextHeight, true},
    {"caption", "text_bold", Kind::kMetric, kCaptionTextBold, true},
    {"caption", "text_indent", Kind::kMetric, kCaptionTextIndent, true},

    {"caption_buttons", "normal", Kind::kColor, kCaptionButtonNormal, true},
    {"caption_buttons", "hot", Kind::kColor, kCaptionButtonHot, true},
    {"caption_buttons", "pressed", Kind::kColor, kCaptionButtonPressed, true},
    {"caption_buttons", "close_hot", Kind::kColor, kCloseButtonHot, true},
    {"caption_buttons", "close_pressed", Kind::kColor, kCloseButtonPressed, true},
    {"caption_buttons", "glyph", Kind::kColor, kCaptionButtonGlyph, true},
    {"caption_buttons", "size", Kind::kMetric, kCaptionButtonSize, true},
    {"caption_buttons", "radius", Kind::kMetric, kCaptionButtonRadius, true},
    {"caption_buttons", "glyph_width", Kind::kMetric, kCaptionGlyphWidth, true},

    {"frame", "active_outline", Kind::kColor, kFrameActiveOutline, true},
    {"frame", "inactive_outline", Kind::kColor, kFrameInactiveOutline, true},
    {"frame", "active_fill", Kind::kColor, kFrameActiveFill, true},
    {"frame", "inactive_fill", Kind::kColor, kFrameInactiveFill, true},
    {"frame", "outline_width", Kind::kMetric, kFrameOutlineWidth, true},

    {"button", "top", Kind::kColor, kButtonTop, true},
    {"button", "bottom", Kind::kColor, kButtonBottom, true},
    {"button", "hot_top", Kind::kColor, kButtonHotTop, true},
    {"button", "hot_bottom", Kind::kColor, kButtonHotBottom, true},
    {"button", "pressed_top", Kind::kColor, kButtonPressedTop, true},
    {"button", "pressed_bottom", Kind::kColor, kButtonPressedBottom, true},
    {"button", "disabled_face", Kind::kColor, kButtonDisabledFace, true},
    {"button", "border", Kind::kColor, kButtonBorder, true},
    {"button", "default_border", Kind::kColor, kButtonDefaultBorder, true},
    {"button", "disabled_border", Kind::kColor, kButtonDisabledBorder, true},
    {"button", "focus", Kind::kColor, kButtonFocus, true},
    {"button", "text", Kind::kColor, kButtonText, true},
    {"button", "disabled_text", Kind::kColor, kButtonDisabledText, true},
    {"button", "radius", Kind::kMetric, kButtonRadius, true},
    {"button", "default_border_width", Kind::kMetric, kButtonDefaultBorderWidth, true},

    {"edit", "border", Kind::kColor, kEditBorder, true},
    {"edit", "focus_border", Kind::kColor, kEditFocusBorder, true},
    {"edit", "disabled_border", Kind::kColor, kEditDisabledBorder, true},
    {"edit", "inner", Kind::kColor, kEditInner, true},
    {"edit", "border_width", Kind::kMetric, kEditBorderWidth, true},
};
constexpr int kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

const char* const kSections[] = {"caption", "caption_buttons", "frame", "button", "edit"};
constexpr int kSectionCount = sizeof(kSections) / sizeof(kSections[0]);

const MetricRange kRanges[kMetricCount] = {
    {8, 32},   // kCaptionTextHeight
    {0, 1},    // kCaptionTextBold
    {0, 32},   // kCaptionTextIndent
    {10, 40},  // kCaptionButtonSize
    {0, 12},   // kCaptionButtonRadius
    {1, 4},    // kCaptionGlyphWidth
    {1, 4},    // kFrameOutlineWidth
    {0, 12},   // kButtonRadius
    {1, 3},    // kButtonDefaultBorderWidth
    {1, 2},    // kEditBorderWidth
};

// A view of part of the file; never outlives the buffer passed to Parse.
struct Span {
    const char* p;
    std::size_t n;
    bool equals(const char* s) const {
        std::size_t len = std::strlen(s);
        return len == n && std::memcmp(p, s, n) == 0;
    }
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

Span Trim(Span s) {
    while (s.n > 0 && IsBlank(s.p[0])) {
        ++s.p;
        --s.n;
    }
    while (s.n > 0 && IsBlank(s.p[s.n - 1])) --s.n;
    return s;
}

bool IsNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }

bool IsName(Span s) {
    if (s.n == 0) return false;
    for (std::size_t i = 0; i < s.n; ++i)
        if (!IsNameChar(s.p[i])) return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseColor(Span v, Rgb* out) {
    if (v.n != 7 || v.p[0] != '#') return false;
    int d[6];
    for (int i = 0; i < 6; ++i) {
        d[i] = HexDigit(v.p[1 + i]);
        if (d[i] < 0) return false;
    }
    out->r = static_cast<std::uint8_t>(d[0] * 16 + d[1]);
    out->g = static_cast<std::uint8_t>(d[2] * 16 + d[3]);
    out->b = static_cast<std::uint8_t>(d[4] * 16 + d[5]);
    return true;
}

// Plain decimal digits only: no sign, no spaces, at most four digits so the
// value cannot overflow before the range check.
bool ParseSmallInt(Span v, int* out) {
    if (v.n == 0 || v.n > 4) return false;
    int value = 0;
    for (std::size_t i = 0; i < v.n; ++i) {
        if (v.p[i] < '0' || v.p[i] > '9') return false;
        value = value * 10 + (v.p[i] - '0');
    }
    *out = value;
    return true;
}

bool ParseText(Span v, bool mayBeEmpty, char (&out)[kMaxTextBytes + 1]) {
    if (v.n > kMaxTextBytes || (v.n == 0 && !mayBeEmpty)) return false;
    for (std::size_t i = 0; i < v.n; ++i) {
        // Tabs are blanks around a value but not inside a name or password.
        if (static_cast<unsigned char>(v.p[i]) < 0x20) return false;
    }
    std::memcpy(out, v.p, v.n);
    out[v.n] = '\0';
    return true;
}

// Line 1 after the magic: " <version>" with optional trailing blanks.
Status CheckHeader(Span line) {
    Span rest{line.p + 4, line.n - 4};
    if (rest.n == 0 || rest.p[0] != ' ') return kBadVersion;
    int version = 0;
    if (!ParseSmallInt(Trim(rest), &version) || version != 1) return kBadVersion;
    return kOk;
}

int FindSection(Span name) {
    for (int i = 0; i < kSectionCount; ++i)
        if (name.equals(kSections[i])) return i;
    return -1;
}

int FindKey(const char* section, Span key) {
    for (int i = 0; i < kKeyCount; ++i)
        if (std::strcmp(kKeys[i].section, section) == 0 && key.equals(kKeys[i].key)) return i;
    return -1;
}

Status ApplyValue(const KeyDef& def, Span value, Skin* out) {
    switch (def.kind) {
        case Kind::kColor: return ParseColor(value, &out->colors[def.id]) ? kOk : kBadValue;
        case Kind::kMetric: {
            int v = 0;
            MetricRange r = kRanges[def.id];
            if (!ParseSmallInt(value, &v) || v < r.min || v > r.max) return kBadValue;
            out->metrics[def.id] = v;
            return kOk;
        }
        case Kind::kName: return ParseText(value, false, out->name) ? kOk : kBadValue;
        case Kind::kPassword: return ParseText(value, true, out->password) ? kOk : kBadValue;
    }
    return kBadValue;
}

// Checks the bytes of one line (without its line end) for characters no skin
// file holds. Bytes of 0x80 and above pass: names may be in the local code page.
bool LineBytesOk(Span line) {
    for (std::size_t i = 0; i < line.n; ++i) {
        unsigned char c = static_cast<unsigned char>(line.p[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7f) return false;
    }
    return true;
}

// The file's lines, without their line ends.
struct LineReader {
    const char* p;
    const char* end;

    bool Next(Span* line) {
        if (p >= end) return false;
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', end - p));
        *line = Span{p, static_cast<std::size_t>((eol ? eol : end) - p)};
        // CRLF is fine; a CR anywhere else is reported as a stray byte.
        if (line->n > 0 && line->p[line->n - 1] == '\r' && eol) --line->n;
        p = eol ? eol + 1 : end;
        return true;
    }
};

// What the lines read so far have set: each section and key counts once.
struct ParseState {
    bool seenKey[kKeyCount] = {};
    bool seenSection[kSectionCount] = {};
    const char* section = "";  // the keys before the first section have none
};

// "[name]", trimmed.
Status ApplySection(Span t, ParseState* st) {
    if (t.n < 3 || t.p[t.n - 1] != ']') return kSyntax;
    Span name{t.p + 1, t.n - 2};
    if (!IsName(name)) return kSyntax;
    int idx = FindSection(name);
    if (idx < 0) return kUnknownSection;
    if (st->seenSection[idx]) return kDuplicate;
    st->seenSection[idx] = true;
    st->section = kSections[idx];
    return kOk;
}

// "key = value", trimmed; the key belongs to the current section.
Status ApplyKey(Span t, ParseState* st, Skin* out) {
    const char* eq = static_cast<const char*>(std::memchr(t.p, '=', t.n));
    if (eq == nullptr) return kSyntax;
    Span key = Trim(Span{t.p, static_cast<std::size_t>(eq - t.p)});
    Span value = Trim(Span{eq + 1, static_cast<std::size_t>(t.p + t.n - (eq + 1))});
    if (!IsName(key)) return kSyntax;
    int idx = FindKey(st->section, key);
    if (idx < 0) return kUnknownKey;
    if (st->seenKey[idx]) return kDuplicate;
    st->seenKey[idx] = true;
    return ApplyValue(kKeys[idx], value, out);
}

// Any line after the header: blank, comment, section header or key.
Status ApplyLine(Span line, ParseState* st, Skin* out) {
    Span t = Trim(line);
    if (t.n == 0 || t.p[0] == '#') return kOk;
    return t.p[0] == '[' ? ApplySection(t, st) : ApplyKey(t, st, out);
}

}  // namespace

MetricRange RangeOf(MetricId id) {
    if (id < 0 || id >= kMetricCount) return {0, 0};
    return kRanges[id];
}

Status Parse(const void* data, std::size_t size, const char* password, Skin* out, int* errorLine) {
    int dummyLine = 0;
    int& line_no = errorLine ? *errorLine : dummyLine;
    line_no = 0;
    if (size > kMaxFileBytes) return kTooLarge;
    if (data == nullptr || size < 4 || std::memcmp(data, ".SHE", 4) != 0) return kBadMagic;

    *out = Skin();
    const char* p = static_cast<const char*>(data);
    LineReader lines{p, p + size};
    ParseState state;
    Span line;
    while (lines.Next(&line)) {
        ++line_no;
        if (line_no > kMaxLines) return kTooManyLines;
        if (line.n > kMaxLineBytes) return kLineTooLong;
        if (!LineBytesOk(line)) return kBadByte;
        Status s = line_no == 1 ? CheckHeader(line) : ApplyLine(line, &state, out);
        if (s != kOk) return s;
    }

    line_no = 0;
    for (int i = 0; i < kKeyCount; ++i)
        if (kKeys[i].required && !state.seenKey[i]) return kMissingKey;

    // The password is a lock, not encryption: the file stays readable.
    const char* given = password ? password : "";
    if (out->password[0] != '\0' && std::strcmp(out->password, given) != 0) return kWrongPassword;
    return kOk;
}

}  // namespace she
