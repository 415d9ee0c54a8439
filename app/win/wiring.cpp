// The one fixed table that binds control events to handlers. Nothing is bound
// or unbound at run time; an event without a row here is dropped.
#include <windows.h>

#include "app/form_table.h"
#include "app/win/events.h"
#include "app/win/handlers.h"

namespace tolvane {

namespace {

struct Binding {
    int source;
    Event event;
    void (*handler)(const EventArgs&);
};

// clang-format off
const Binding kBindings[] = {
    {kMainWindowSource, Event::Created,        [](const EventArgs&) { OnMainWindowCreated(); }},
    {kButton2,          Event::Clicked,        [](const EventArgs&) { BrowseInstallation(); }},
    {kRepair,           Event::Clicked,        [](const EventArgs&) { ConfirmRepair(); }},
    {kAbout,            Event::Clicked,        [](const EventArgs&) { ShowAboutPage(); }},
    {kAboutBack,        Event::Clicked,        [](const EventArgs&) { ShowRepairPage(); }},
    {kTimer1,           Event::TimerTick,      [](const EventArgs&) { UpdateClock(); }},
    // The press's position and key state are delivered but not wanted here.
    {kLabel2,           Event::LeftButtonDown, [](const EventArgs&) { OpenHomePage(); }},
};
// clang-format on

int g_suspended = 0;

}  // namespace

void SuspendEvents() { ++g_suspended; }
void ResumeEvents() {
    if (g_suspended > 0) --g_suspended;
}
bool EventsSuspended() { return g_suspended > 0; }

void RaiseEvent(int source, Event event, const EventArgs& args) {
    if (EventsSuspended()) return;
    for (const Binding& b : kBindings) {
        if (b.source == source && b.event == event) {
            b.handler(args);
            return;
        }
    }
}

}  // namespace tolvane
