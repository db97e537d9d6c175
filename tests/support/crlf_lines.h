#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace winscout::testing {

// Lines joined the way the program writes them: CR LF between, none at the end.
inline std::string CrLfLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

}  // namespace winscout::testing
