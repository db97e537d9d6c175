#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_source.h"
#include "codegen/finder_steps.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// The attribute of every P/Invoke declaration the code makes.
inline constexpr std::string_view kCSharpImport =
    "[System.Runtime.InteropServices.DllImport(\"user32.dll\", CharSet = "
    "System.Runtime.InteropServices.CharSet.Unicode, SetLastError = true)]";

// One IntPtr variable per level: the class's variable name in camel case
// (mainFrame, hwnd), numbered where it is a keyword (static1) or where a level
// above has it already (edit2).
std::vector<std::string> CSharpNames(const SearchPlan& plan, std::string_view taken = {});

// Class members that compile as they stand in any class, without using
// directives: the P/Invoke declarations of FindWindowW and FindWindowExW and
// a method FindTarget that makes the searches and returns the target; its
// lines.
// An action adds its declarations and a method ActOnTarget.
std::vector<std::string> EmitCSharp(const FinderSource& source);

}  // namespace winscout::codegen
