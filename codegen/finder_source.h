#pragma once

#include <string>
#include <vector>

#include "codegen/action_code.h"
#include "codegen/finder_language.h"
#include "codegen/finder_steps.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// What every language's code is written from, worked out once for all of
// them: the plan and the style, the levels' names in the language (the
// target last), the searches, the action's code and the note on the levels
// found by place (empty where none is).
struct FinderSource {
  const SearchPlan& plan;
  const FinderStyle& style;
  std::vector<std::string> names;
  std::vector<FinderStep> steps;
  FinderCalls calls;
  ActionCode act;
  std::string note;
};

}  // namespace winscout::codegen
