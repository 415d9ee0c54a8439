#pragma once

namespace tolvane {

// The project's home page, passed unchanged to the shell's "open".
constexpr const char* HomePageAddress = "https://tolvane.example.org/";

}  // namespace tolvane
