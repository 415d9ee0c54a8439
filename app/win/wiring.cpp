// Nothing is bound or unbound at run time; an event without a row here is dropped.
#include "app/win/wiring.h"

#include <windows.h>

#include "app/win/startup.h"
#include "locator/win/locator.h"
#include "navigation/win/navigation.h"
#include "toolkit/form_table.h"

namespace tolvane {

namespace {

struct Binding {
    int source;
    Event event;
    void (*handler)(const EventArgs&);
};

// Rows by form name: 按钮2 is the browse button, 修复 the repair button, 关于
// and 关于返回 switch pages, 时钟1 is the clock, 透明标签2 the about text.
// clang-format off
const Binding kBindings[] = {
    {kMainWindowSource, Event::Created,        [](const EventArgs&) { OnMainWindowCreated(); }},
    // Laid out again at a monitor's scale, the banner is widened again as at start.
    {kMainWindowSource, Event::ScaleChanged,   [](const EventArgs&) { FitBanner(); }},
    {kButton2,          Event::Clicked,        [](const EventArgs&) { BrowseInstallation(); }},
    {kRepair,           Event::Clicked,        [](const EventArgs&) { ConfirmRepair(); }},
    {kAbout,            Event::Clicked,        [](const EventArgs&) { ShowAboutPage(); }},
    {kAboutBack,        Event::Clicked,        [](const EventArgs&) { ShowRepairPage(); }},
    {kTimer1,           Event::TimerTick,      [](const EventArgs&) { UpdateClock(); }},
    // The press's position and key state are delivered but not wanted here.
    {kLabel2,           Event::LeftButtonDown, [](const EventArgs&) { OpenHomePage(); }},
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
