#pragma once

#include <string>
#include <vector>

#include "codegen/actions.h"

namespace winscout::codegen {

enum class FinderLanguage;

// An action plan in one language: the lines it adds around and below the
// finder statements. The emitters put them in place; the finder code itself
// stays as it is.
struct ActionCode {
  // Above the code, beside the finder's own (Declare lines, imports,
  // argument types).
  std::vector<std::string> declarations;
  // Above the statements: the head of the loop that waits for the window.
  std::vector<std::string> before;
  // The statements' further indent inside that loop.
  std::string inner_indent;
  // Below the statements: the end of the loop, then the action.
  std::vector<std::string> after;
  // Below the whole finder code: a procedure of its own that finds the
  // window and acts on it, where the finder code is a function (VBA, C#).
  std::vector<std::string> below;
};

// The code of the plan for a target whose variables are `names` (the target
// last). `declare` (Visual Basic): the Declare lines too. An empty plan adds
// nothing.
ActionCode SpellAction(const ActionPlan& plan, FinderLanguage language,
                       const std::vector<std::string>& names, bool declare = false);

// The Declare lines the action needs, for VBA with and without VBA7.
std::vector<std::string> VisualBasicActionDeclarations(const ActionPlan& plan, bool vba7);

}  // namespace winscout::codegen
