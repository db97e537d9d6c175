#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_source.h"
#include "codegen/finder_steps.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// One variable per level: the class's variable name in snake case (main_frame,
// hwnd), numbered where it is reserved (class1) or where a level above has it
// already (edit2).
std::vector<std::string> PythonNames(const SearchPlan& plan, std::string_view taken = {});

// A script that runs as it stands on Windows: ctypes with the argument and
// result types of FindWindowW and FindWindowExW set, then the searches; its
// lines. The last variable holds the target.
// An action adds its statements after the searches (and around them, to
// wait for the window).
std::vector<std::string> EmitPython(const FinderSource& source);

}  // namespace winscout::codegen
