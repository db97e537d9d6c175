#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "codegen/actions.h"
#include "codegen/finder_language.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

// lParam as the handle of the target's child with this control ID, found when
// the code runs: a handle noted in a log means nothing in another run.
struct ChildWithId {
  std::int32_t id = 0;
  friend bool operator==(const ChildWithId&, const ChildWithId&) = default;
};

// A message for the window that the finder code finds.
struct MessageToSend {
  std::uint32_t message = 0;
  std::string name;  // the message's name, for the comment
  std::uint64_t wparam = 0;
  // A number, a text (its address), or a child's handle.
  std::variant<std::int64_t, std::string, ChildWithId> lparam = std::int64_t{0};
  // PostMessage, which does not wait; else SendMessage. A text is always sent.
  bool post = true;
  // What the message does, e.g. the menu path "Help > About Notepad".
  std::string comment;
};

// The finder code of the plan followed by the code that sends the message to
// the window it finds, in the language: a statement after the searches where
// the code is statements (Visual Basic, C++, Python), a routine that calls
// FindTarget where it is a module or class members (VBA, C#). Texts are
// spelled with the language's literal rules.
std::string EmitSendCode(const SearchPlan& plan, FinderLanguage language,
                         const FinderStyle& style, const MessageToSend& message);

// The send code around the finder code, for a script: what goes above the
// finder code (Declare lines) and what goes below it. `target`: the target's
// variable where the finder code names it otherwise than alone.
struct SendCodeParts {
  std::string above;
  std::string below;
};
SendCodeParts SpellSendCode(const SearchPlan& plan, FinderLanguage language,
                            const FinderStyle& style, const MessageToSend& message,
                            std::string_view target = {});

}  // namespace winscout::codegen
