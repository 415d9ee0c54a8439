// What the engine's parts share: the skin's GDI objects, the per-window
// records and the subclass procedures. Everything runs on the one thread that
// attached the skin, so nothing here is locked.
#pragma once

#include <windows.h>

#include <memory>

#include "core/scale.h"
#include "skin_engine/she_format.h"
#include "winutil/back_buffer.h"
#include "winutil/colour.h"
#include "winutil/gdi_objects.h"
#include "winutil/gradient_fill.h"
#include "winutil/mouse.h"

namespace engine {

// The painting helpers the program uses too.
using tolvane::BackBuffer;
using tolvane::FillGradientRows;
using tolvane::ScopedSelect;
using tolvane::XOf;
using tolvane::YOf;

// What the frame draws with at one display scale.
struct FrameObjects {
    int dpi = 0;  // 0: none made
    tolvane::GdiObject<HFONT> captionFont;
    tolvane::GdiObject<HPEN> glyph;
};

// The skin's GDI objects, created once per attach and borrowed by painting.
struct Palette {
    she::Skin skin;
    // Made once with the palette and deleted with it; painting borrows them.
    tolvane::GdiObject<HBRUSH> brush[she::kColorCount];
    tolvane::GdiObject<HPEN> frameOutline[2];  // [inactive, active]
    tolvane::GdiObject<HPEN> buttonBorder;
    tolvane::GdiObject<HPEN> buttonDefaultBorder;
    tolvane::GdiObject<HPEN> buttonDisabledBorder;
    tolvane::GdiObject<HPEN> buttonDisabledDefaultBorder;  // the default border's width, greyed
    tolvane::GdiObject<HPEN> buttonFocus;

    COLORREF color(she::ColorId id) const { return tolvane::ToColorRef(skin.color(id)); }
    int metric(she::MetricId id) const { return skin.metric(id); }
    // The frame's lengths in a skin are 96-dpi pixels: at another display
    // scale the caption's font, buttons, gaps and lines grow with it. The
    // push buttons and edit borders keep the skin's pixels (an edit's border
    // lies in the system's client edge, which does not grow).
    int FrameLength(she::MetricId id, int dpi) const { return tolvane::ScaleToDpi(metric(id), dpi); }
    // Returns the frame's objects at `dpi`, made on first use (those of the
    // system's scale are made with the palette), or null if they cannot be made.
    const FrameObjects* FrameAt(int dpi) const;

    // Windows rarely span more scales than monitors; the oldest goes when a
    // new scale needs its place.
    static constexpr int kFrameScales = 4;
    mutable FrameObjects frames[kFrameScales];
    mutable int nextFrame = 0;
    // The caption's face is the system's: after a settings change each
    // scale's objects are made again at their next use.
    void ForgetFrames() {
        for (FrameObjects& f : frames) f.dpi = 0;
    }
};

// Palettes are deleted by this one function: an owner of one then costs a
// call, not a copy of the deletions, in a DLL carried inside the program.
void DestroyPalette(Palette* palette);
struct PaletteDeleter {
    void operator()(Palette* palette) const { DestroyPalette(palette); }
};
using PaletteOwner = std::unique_ptr<Palette, PaletteDeleter>;

// Returns a new palette for the skin, or none if out of memory or GDI
// objects; nothing is left behind then.
PaletteOwner CreatePalette(const she::Skin& skin);

// Returns the palette in force, or null if no skin is attached.
const Palette* CurrentPalette();

// Base of every per-window record; the records form one list so that the
// library can take its subclasses off again when it is released. What differs
// by kind of window is asked of the record itself.
struct Skinned {
    HWND hwnd = nullptr;
    Skinned* prev = nullptr;
    Skinned* next = nullptr;
    virtual ~Skinned() = default;
    // Takes the record's subclass off the window; the record is deleted next.
    virtual void Unsubclass() = 0;
    // Redraws the window with the current palette, or, once the subclass is
    // off, with the default look.
    virtual void Repaint() = 0;
    // After Unsubclass, when the window stays: restores its default look.
    virtual void Restore() { Repaint(); }
    // High contrast went on (aside) or off: the window is left to the system,
    // or taken back, and redrawn.
    virtual void StandAside(bool) { Repaint(); }
};

void Register(Skinned* record);
void Unregister(Skinned* record);

// Under high contrast the engine paints nothing: the system draws the windows
// it keeps subclassed, to take them back when high contrast goes off.
bool StandsAside();
// Every subclass procedure passes each message here first: on a change of
// the display settings the high-contrast setting is read anew, and on a
// change of it every window is left to the system or taken back.
void FollowDisplaySettings(UINT msg);

// Window subclassing (subclass.cpp), one engine procedure per window, the
// procedure's record passed as ref. Attaching twice fails; removal puts the
// original procedure back unless another subclass came after ours, which
// keeps working through ours. DefSubclass passes a message on to the window's
// original procedure.
using SubclassProc = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, DWORD_PTR ref);
bool SetSubclass(HWND hwnd, SubclassProc proc, DWORD_PTR ref);
bool GetSubclass(HWND hwnd, SubclassProc proc, DWORD_PTR* ref);
bool RemoveSubclass(HWND hwnd, SubclassProc proc);
LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// When the library is released, after every subclass is off.
void ReleaseSubclassAtom();

LRESULT FrameProc(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);
LRESULT ButtonProc(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);
LRESULT EditProc(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);

// Each returns false if the window already carries the subclass or it could
// not be set.
bool AttachFrame(HWND hwnd);
bool AttachButton(HWND hwnd);
bool AttachEdit(HWND hwnd);

// Redraws an edit whose frame size was cached before it was skinned.
void RepaintEdit(HWND hwnd);

}  // namespace engine
