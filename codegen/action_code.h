#pragma once

#include <string>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_source.h"

namespace winscout::codegen {

// Where the action's code goes in a script: its declarations go to the
// script's head (ScriptActionDeclarations), and its locals avoid the names
// that the steps before took.
struct ScriptPlace {
  std::string taken;  // a word list (names.h's InWordList)
};

// The code of the plan for a target whose variables are `names` (the target
// last). `declare` (Visual Basic): the Declare lines too. An empty plan adds
// nothing.
ActionCode SpellAction(const ActionPlan& plan, FinderLanguage language,
                       const std::vector<std::string>& names, bool declare = false,
                       const ScriptPlace* place = nullptr);

// What the actions of a script's steps declare, each once: the declarations
// (and for VBA the ones before VBA7) of an ActionCode for the script's head.
ActionCode ScriptActionDeclarations(const std::vector<ActionPlan>& plans,
                                    FinderLanguage language, bool declare);

}  // namespace winscout::codegen
