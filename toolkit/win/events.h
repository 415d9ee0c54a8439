// Event delivery: controls raise events, and the sink passed in with the
// window (the composition root's fixed wiring table) decides which handler,
// if any, runs. Events raised while delivery is suspended are dropped.
#pragma once

namespace tolvane {

enum class Event {
    Created,
    Moved,
    Resized,
    GotFocus,
    Clicked,
    TimerTick,
    LeftButtonDown,
    // The main window's own, after it has laid itself out at a new display
    // scale, the banner's fitted width among the rest; nothing is bound to it.
    ScaleChanged,
    // The page control's own events; nothing is bound to them.
    TabPressed,
    PageChanging,
    PageChanged,
};

struct EventArgs {
    int x = 0, y = 0, keys = 0;  // LeftButtonDown only
};

// Event sources besides the controls of the control table.
constexpr int kMainWindowSource = -1;
constexpr int kPageControlSource = -2;

// Where a window's events go; called at once, on the GUI thread.
using EventSink = void (*)(int source, Event event, const EventArgs& args);

void SuspendEvents();
void ResumeEvents();
bool EventsSuspended();

}  // namespace tolvane
