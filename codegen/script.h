#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_source.h"
#include "codegen/search_plan.h"
#include "codegen/send_message_code.h"

namespace winscout::codegen {

// What a recorded password step sets: the typed password is never kept.
inline constexpr std::string_view kPasswordPlaceholder = "Password";

// One thing the user did to a window, as a script does it again.
struct ScriptStep {
  // How the code finds the window, planned while it existed.
  SearchPlan plan;
  // What the code does to it. `action.wait`: the window appeared during the
  // recording (a dialog), so the code waits for it.
  ActionPlan action;
  // Instead of the action: the message the code posts (a menu command),
  // with the menu path as its comment; `action.wait` still says whether the
  // code waits for the window.
  std::optional<MessageToSend> message;
  // What the user did, in words, for the step's comment, e.g.
  // `choose "Blue" in the Color box`.
  std::string said;
};

struct Script {
  std::vector<ScriptStep> steps;
  // A last comment, e.g. that the program ended during the recording; empty
  // for none.
  std::string note;
};

// The script in the language and way (`style.action` is not used: each step
// has its own): each window found, each step under a comment that says what
// the user did. VBA and C#: each step's FindTarget, ActOnTarget or
// SendToTarget numbered (FindTarget3), and RunScript calling the steps in
// order.
std::string EmitScript(const Script& script, FinderLanguage language,
                       const FinderStyle& style);

}  // namespace winscout::codegen
