#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_source.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// The Visual Basic names, and none that meets the function the code is in.
std::vector<std::string> VbaNames(const SearchPlan& plan, std::string_view taken = {});

// A standard module for Office, 32- and 64-bit alike: the Declare lines for
// what the code calls (PtrSafe and LongPtr under VBA7, the classic ones
// otherwise), then a function FindTarget that makes the searches and returns
// the target. Class names beyond the ANSI code page go to the W functions by
// StrPtr. Its lines.
// An action adds its Declare lines and a procedure ActOnTarget.
std::vector<std::string> EmitVba(const FinderSource& source);

}  // namespace winscout::codegen
