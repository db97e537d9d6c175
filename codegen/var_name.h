#pragma once

#include <string>
#include <string_view>

namespace winscout::codegen {

// The variable name for a window class: its ASCII letters in order and case,
// or "X" when it has none. Digits, punctuation, blanks and accented letters
// are dropped, so different classes can share a name (Edit1, Edit2).
std::string VarNameFromClass(std::string_view class_name);

}  // namespace winscout::codegen
