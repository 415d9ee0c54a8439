// Page navigation, the clock line and the home-page link.
#include <windows.h>
#include <shellapi.h>

#include <ctime>

#include "navigation/date_text.h"
#include "navigation/home_page.h"
#include "navigation/win/navigation.h"
#include "toolkit/win/control_services.h"

namespace tolvane {

namespace {

bool LocalFields(long long seconds, DateTime* out) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    const std::tm* tm = std::localtime(&t);
    if (!tm) return false;
    *out = {tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec};
    return true;
}

}  // namespace

std::optional<DateTime> CurrentDateTime() {
    return DateTimeFromSeconds(static_cast<long long>(std::time(nullptr)), LocalFields);
}

void ShowAboutPage() {
    SelectPage(kAboutPage);
    // The installation box is hidden with the rest of its page by now and
    // gets the focus all the same; it is deliberately not moved on to a
    // visible control, so keys typed on the about page reach the hidden box,
    // which takes no edit while hidden.
    FocusControl(kInstallFolderBox);
    // Last, so that whatever the shell shows meets the about page already up.
    OpenHomePage();
}

void ShowRepairPage() {
    SelectPage(kRepairPage);
    FocusControl(kInstallFolderBox);
}

// The clock label belongs to the repair page. On the about page each tick
// still rewrites its caption and sets its flag, but the label is not shown
// over the about page; SelectPage shows it again with the repair page,
// carrying the latest time.
void UpdateClock() {
    // A clock the conversion cannot place leaves the last caption standing.
    const std::optional<DateTime> now = CurrentDateTime();
    if (!now) return;
    // Caption before flag: the first tick shows the label already carrying the time.
    SetLabelCaption(kClockLabel, DateTimeToText(*now));
    SetVisibleFlag(kClockLabel, true);
}

// What the shell returns is not looked at: with no browser set up, or a failed
// start, the program carries on as if the page had opened.
void OpenHomePage() {
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    ShellExecuteA(owner, "open", HomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tolvane
