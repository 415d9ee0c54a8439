// Event delivery: controls raise events, the fixed wiring table decides which
// handler (if any) runs. Events raised while delivery is suspended are dropped.
#pragma once

namespace tolvane {

enum class Event {
    Created, Moved, Resized, GotFocus, Clicked, TimerTick, LeftButtonDown,
    // The page control's own events; nothing is bound to them.
    TabPressed, PageChanging, PageChanged,
};

struct EventArgs {
    int x = 0, y = 0, keys = 0;  // LeftButtonDown only
};

// Event sources besides the controls of the form table.
constexpr int kMainWindowSource = -1;
constexpr int kPageControlSource = -2;

void RaiseEvent(int source, Event event, const EventArgs& args = EventArgs{});
void SuspendEvents();
void ResumeEvents();
bool EventsSuspended();

}  // namespace tolvane
