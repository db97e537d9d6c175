#pragma once

#include <string_view>

namespace winscout {

// Windows compares window titles and class names without regard to case
// (FindWindow, FindWindowEx, class atoms) by putting each UTF-16 unit through
// the system's upcase table: simple upper-casing, one unit to one unit, so
// é meets É but ß stays ß.
char16_t UpcaseUnit(char16_t unit);

// Whether two UTF-8 texts are the same as Windows compares titles and class
// names.
bool SameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace winscout
