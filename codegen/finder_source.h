#pragma once

#include <string>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_steps.h"
#include "codegen/search_plan.h"

namespace winscout::codegen {

enum class FinderLanguage { kVisualBasic, kVba, kCpp, kCSharp, kPython };

// In menu order.
inline constexpr FinderLanguage kFinderLanguages[] = {
    FinderLanguage::kVisualBasic, FinderLanguage::kVba, FinderLanguage::kCpp,
    FinderLanguage::kCSharp, FinderLanguage::kPython};

struct FinderStyle {
  SearchWay way = SearchWay::kPosition;
  // Classic Visual Basic: the Declare lines for what the code calls, above it.
  bool declarations = false;
  // What the code does to the window once found; nothing by default.
  ActionPlan action;
  friend bool operator==(const FinderStyle&, const FinderStyle&) = default;
};

// An action plan in one language: the lines it adds around and below the
// finder statements. The emitters put them in place; the finder code itself
// stays as it is.
struct ActionCode {
  // Above the code, beside the finder's own (Declare lines, imports,
  // argument types); VBA's for VBA7, and its others for the VBA before it.
  std::vector<std::string> declarations;
  std::vector<std::string> declarations_before_vba7;
  // Above the statements: the head of the loop that waits for the window.
  std::vector<std::string> before;
  // The statements' further indent inside that loop.
  std::string inner_indent;
  // Below the statements: the end of the loop, then the action.
  std::vector<std::string> after;
  // Below the whole finder code: a procedure of its own that finds the
  // window and acts on it, where the finder code is a function (VBA, C#).
  std::vector<std::string> below;
  // The local variables the action named, which a script's later steps
  // leave to it.
  std::vector<std::string> locals;
};

// Which part of the code an emitter writes: all of it, or for a script the
// head its steps share (declarations, imports, the pattern helper) or the
// body of one step (its searches and its action).
enum class CodePart { kWhole, kHead, kBody };

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
  // Whether some literal is beyond the ANSI code page (Visual Basic then
  // declares the W functions): in a script, of any step.
  bool unicode = false;
  CodePart part = CodePart::kWhole;
};

}  // namespace winscout::codegen
