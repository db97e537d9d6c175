#pragma once

// Whether finder code would compile as Visual Basic (VB6 and VB.NET alike),
// judged from the text alone and independently of the generator's own rules.

#include <string>
#include <string_view>
#include <vector>

namespace winscout::testing {

// A reserved word of VB6 or VB.NET, or a name the finder code itself calls
// (FindWindow, FindWindowEx, vbNullString, Chr); any case.
bool IsReservedInVb(std::string_view name);

// A letter, then letters, digits and underscores, at most 255 characters.
bool IsVbIdentifier(std::string_view name);

// Every problem found, each naming its line; empty when the code is fine:
// every line matches a line form, the declarations come first and there is at
// least one call line, every name is a usable identifier, none is declared
// twice (without regard to case) and every variable is declared before use;
// the FindWindowLike routine is there exactly when it is called, its handles
// of the right type, and what it calls declared where anything is.
std::vector<std::string> CheckFinderCode(std::string_view text);

}  // namespace winscout::testing
