#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_source.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// The language's name as a menu shows it.
std::string_view FinderLanguageName(FinderLanguage language);

// The code that makes the plan's searches, in the language. A plan has at
// least one level: the target.
std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style = {});

// A language's variable names of a plan's levels (avoiding the names in
// `taken`, a word list), and its code from a FinderSource: what a script
// puts together from the same pieces.
struct FinderEmitter {
  std::vector<std::string> (*names)(const SearchPlan&, std::string_view taken);
  std::vector<std::string> (*lines)(const FinderSource&);
};
const FinderEmitter& EmitterOf(FinderLanguage language);

}  // namespace winscout::codegen
