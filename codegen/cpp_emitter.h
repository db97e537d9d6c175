#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_source.h"
#include "codegen/finder_steps.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// One HWND variable per level: "hwnd" and the class's variable name (hwndEdit),
// numbered where a level above has the name already (hwndEdit2). No keyword
// and no macro of the Windows headers starts with "hwnd", so whatever the
// class, the name means nothing else.
std::vector<std::string> CppNames(const SearchPlan& plan, std::string_view taken = {});

// Win32 C++ for a function body, its lines: each variable declared at its
// first search, FindWindowW/FindWindowExW with wide literals. The last
// variable holds the target.
// An action adds its statements after the searches (and around them, to
// wait for the window).
std::vector<std::string> EmitCpp(const FinderSource& source);

}  // namespace winscout::codegen
