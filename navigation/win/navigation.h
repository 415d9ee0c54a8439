// Page navigation, the clock line and the home-page link.
#pragma once
#include <optional>

#include "navigation/date_text.h"

namespace tolvane {

void ShowAboutPage();
void ShowRepairPage();
void UpdateClock();
void OpenHomePage();
std::optional<DateTime> CurrentDateTime();  // nothing outside the clock's range

}  // namespace tolvane
