#pragma once

#include <string>
#include <string_view>

namespace winscout::app {

inline constexpr std::string_view kAboutTitle = "About WinScout";

// The system menu's item, "About WinScout 1.2.3...".
std::string AboutMenuItemText();
// The About box: the version, the build date and what the program does.
std::string AboutText();

}  // namespace winscout::app
