// Page navigation, the clock line and the home-page link.
#include <windows.h>
#include <shellapi.h>

#include <ctime>

#include "app/date_text.h"
#include "app/home_page.h"
#include "app/win/form_api.h"
#include "app/win/handlers.h"

namespace tolvane {

namespace {

bool LocalFields(long long seconds, CalendarFields* out) {
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
    SelectPage(1);
    FocusControl(kEdit1);  // hidden now with the rest of its page; that is how it behaves
    OpenHomePage();
}

void ShowRepairPage() {
    SelectPage(0);
    FocusControl(kEdit1);
}

void UpdateClock() {
    // A clock the conversion cannot place leaves the last caption standing.
    const std::optional<DateTime> now = CurrentDateTime();
    if (!now) return;
    SetLabelCaption(kLabel3, DateTimeToText(*now));
    SetVisibleFlag(kLabel3, true);
}

void OpenHomePage() {
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    ShellExecuteA(owner, "open", HomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tolvane
