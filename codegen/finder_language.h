#pragma once

#include <string>
#include <string_view>

#include "codegen/actions.h"
#include "codegen/finder_steps.h"
#include "codegen/literals.h"
#include "codegen/names.h"
#include "codegen/search_plan.h"
#include "codegen/statements.h"

namespace winscout::codegen {

enum class FinderLanguage { kVisualBasic, kVba, kCpp, kCSharp, kPython };

// In menu order.
inline constexpr FinderLanguage kFinderLanguages[] = {
    FinderLanguage::kVisualBasic, FinderLanguage::kVba, FinderLanguage::kCpp,
    FinderLanguage::kCSharp, FinderLanguage::kPython};

// The language's name as a menu shows it.
std::string_view FinderLanguageName(FinderLanguage language);

struct FinderStyle {
  SearchWay way = SearchWay::kPosition;
  // Classic Visual Basic: the Declare lines for what the code calls, above it.
  bool declarations = false;
  // What the code does to the window once found; nothing by default.
  ActionPlan action;
  friend bool operator==(const FinderStyle&, const FinderStyle&) = default;
};

// The code that makes the plan's searches, in the language. A plan has at
// least one level: the target.
std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style = {});

}  // namespace winscout::codegen
