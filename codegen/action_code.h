#pragma once

#include <string>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_source.h"

namespace winscout::codegen {

// The code of the plan for a target whose variables are `names` (the target
// last). `declare` (Visual Basic): the Declare lines too. An empty plan adds
// nothing.
ActionCode SpellAction(const ActionPlan& plan, FinderLanguage language,
                       const std::vector<std::string>& names, bool declare = false);

}  // namespace winscout::codegen
