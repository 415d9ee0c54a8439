// Nothing is bound or unbound at run time; an event without a row here is dropped.
#include "app/win/wiring.h"

#include <windows.h>

#include "app/win/startup.h"
#include "locator/win/locator.h"
#include "navigation/win/navigation.h"
#include "toolkit/control_table.h"

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
    {kBrowseButton,     Event::Clicked,        [](const EventArgs&) { BrowseInstallation(); }},
    {kRepairButton,     Event::Clicked,        [](const EventArgs&) { ConfirmRepair(); }},
    {kAboutButton,      Event::Clicked,        [](const EventArgs&) { ShowAboutPage(); }},
    {kReturnButton,     Event::Clicked,        [](const EventArgs&) { ShowRepairPage(); }},
    {kClockTimer,       Event::TimerTick,      [](const EventArgs&) { UpdateClock(); }},
    // The press's position and key state are delivered but not wanted here.
    {kAboutText,        Event::LeftButtonDown, [](const EventArgs&) { OpenHomePage(); }},
};
// clang-format on

}  // namespace

void DeliverEvent(int source, Event event, const EventArgs& args) {
    for (const Binding& b : kBindings) {
        if (b.source == source && b.event == event) {
            b.handler(args);
            return;
        }
    }
}

}  // namespace tolvane
