#pragma once

#include <string>
#include <string_view>

#include "codegen/finder_source.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// The language's name as a menu shows it.
std::string_view FinderLanguageName(FinderLanguage language);

// The code that makes the plan's searches, in the language. A plan has at
// least one level: the target.
std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style = {});

}  // namespace winscout::codegen
