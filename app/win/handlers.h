// Every routine the wiring table binds, and the start-up steps it calls.
#pragma once
#include <optional>

#include "app/date_text.h"

namespace tolvane {

// Start-up (app)
void OnMainWindowCreated();
void FitBanner();

// Page navigation, clock and home page (app)
void ShowAboutPage();
void ShowRepairPage();
void UpdateClock();
void OpenHomePage();
std::optional<DateTime> CurrentDateTime();  // nothing outside the clock's range

// Installation locator (locator)
void LocateInstallation();
void BrowseInstallation();
void ConfirmRepair();

// Skin (skin)
void ApplySkin(int skinNumber);

}  // namespace tolvane
