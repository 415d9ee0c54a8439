// Names a screen reader gives the controls that carry no text of their own.
#pragma once
#include <windows.h>

#include "toolkit/win/main_form.h"

namespace tolvane {

// Once the controls are placed: each path box is named after the button
// beside it, the banner after the words it shows. Nothing of it is seen.
void NameFormControls(Form& form, HINSTANCE instance);
// The hidden names where their path boxes are, at the form's scale.
void PlaceFormNames(const Form& form);

}  // namespace tolvane
