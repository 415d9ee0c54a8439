// The window classes of the program's own controls. The program registers
// them; the skin engine leaves windows of these classes alone, since they
// paint themselves: one list, so that the two cannot drift apart.
#pragma once

namespace tolvane {

constexpr const char* kMainWindowClass = "TolvaneMainWindow";
constexpr const char* kPageControlClass = "TolvanePageControl";
constexpr const char* kTransLabelClass = "TolvaneTransLabel";
constexpr const char* kPicBoxClass = "TolvanePicBox";

// The owner-drawn ones among them.
constexpr const char* const kSelfPaintedClasses[] = {kPageControlClass, kTransLabelClass, kPicBoxClass};

}  // namespace tolvane
