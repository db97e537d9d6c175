#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_steps.h"
#include "platform/handler.h"

namespace winscout::codegen {

// How a language spells the statements of finder code.
struct StatementSyntax {
  std::string_view indent;       // before every statement
  std::string_view declaration;  // before a variable at its first statement
  std::string_view null_handle;  // no window
  std::string_view null_text;    // no title
  std::string_view call_prefix;  // before a function's name (user32.)
  std::string_view wide_suffix;  // after a function's name (W)
  std::string_view end;          // after a statement
  // A string argument.
  Handler<std::string(std::string_view)> text;
  // The pattern helper's name, and how its string arguments are spelled where
  // that differs from the functions' (Visual Basic passes it Strings where
  // the W functions take pointers).
  std::string_view helper;
  Handler<std::string(std::string_view)> helper_text;
  std::string_view helper_null_text;
  // Which levels that no search reached get a statement that sets them to
  // no window.
  enum class Unreached { kEvery, kTargetOnly, kNone } unreached = Unreached::kEvery;
};

// The step's statement; empty where the syntax gives its level none.
std::string Statement(const SearchPlan& plan, const FinderStep& step,
                      const std::vector<std::string>& names,
                      const StatementSyntax& syntax);

// The steps' statements, one a line.
std::vector<std::string> StatementLines(const SearchPlan& plan,
                                        const std::vector<FinderStep>& steps,
                                        const std::vector<std::string>& names,
                                        const StatementSyntax& syntax);

// Appends the lines (one call, not a string built in place for each).
void AppendLines(std::vector<std::string>& lines,
                 std::initializer_list<std::string_view> more);
// Appends the lines, each after `indent`.
void AppendLines(std::vector<std::string>& lines, const std::vector<std::string>& more,
                 std::string_view indent = {});

// Lines joined with CR LF, none after the last, as the code box shows them.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace winscout::codegen
