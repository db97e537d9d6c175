#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/search_plan.h"

namespace winscout::codegen {

enum class FinderLanguage { kVisualBasic, kVba, kCpp, kCSharp, kPython };

// In menu order.
inline constexpr FinderLanguage kFinderLanguages[] = {
    FinderLanguage::kVisualBasic, FinderLanguage::kVba, FinderLanguage::kCpp,
    FinderLanguage::kCSharp, FinderLanguage::kPython};

// The language's name as a menu shows it.
std::string_view FinderLanguageName(FinderLanguage language);

// How the code finds each level: by its place among the windows of its
// class, or by what outlives a restart of its program where the level has it
// (a control ID of its own, a title of its own) and by place where not.
enum class SearchWay { kPosition, kIdAndTitle };

struct FinderStyle {
  SearchWay way = SearchWay::kPosition;
  // Classic Visual Basic: the Declare lines for what the code calls, above it.
  bool declarations = false;
};

// The code that makes the plan's searches, in the language. A plan has at
// least one level: the target.
std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style = {});

// ---------------------------------------------------------------------------
// What the emitters share, so that each only spells the statements.

// One statement of finder code: it sets the variable of `level`.
struct FinderStep {
  enum class Call {
    kNone,          // no search reached the level: the variable stays null
    kFindWindow,    // FindWindow(class, title)
    kFindWindowEx,  // FindWindowEx(parent, after, class, title)
    kDesktop,       // GetDesktopWindow()
    kDialogItem,    // GetDlgItem(parent, id)
  };
  std::size_t level = 0;
  Call call = Call::kNone;
  // The level's first statement, where languages that declare at the first
  // assignment declare its variable.
  bool declares = false;
  // kFindWindowEx: the level searched under, none for the top-level windows.
  std::optional<std::size_t> parent;
  // kFindWindowEx: the search goes on after the level's own window rather
  // than from the first window.
  bool after_self = false;
  // kFindWindow, kFindWindowEx: the title searched for; none for any title.
  const std::string* title = nullptr;
  // kDialogItem: the control ID.
  std::int32_t id = 0;
};

// The functions that finder code calls.
struct FinderCalls {
  bool find_window = false;
  bool find_window_ex = false;
  bool desktop = false;
  bool dialog_item = false;
};

// Whether the plan finds the desktop window, which no class search finds.
bool IsDesktopPlan(const SearchPlan& plan);

// The plan's statements in order, found the given way: each level's calls,
// or one kNone statement for a level without calls.
std::vector<FinderStep> FinderSteps(const SearchPlan& plan, SearchWay way);

FinderCalls CallsOf(const std::vector<FinderStep>& steps);

// The levels that the code finds by their place among the windows of their
// class although it was asked for the sturdier way; none for the position way.
std::vector<std::size_t> PositionLevels(const SearchPlan& plan, SearchWay way);

// The comment text (without the language's comment mark) that says which
// variables depend on position, or empty when none does.
std::string PositionNote(const SearchPlan& plan, SearchWay way,
                         const std::vector<std::string>& names);

// Whether some literal the code holds is beyond the ANSI code page.
bool NeedsUnicode(const SearchPlan& plan, SearchWay way);

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
  std::function<std::string(std::string_view)> text;
  // Which levels that no search reached get a statement that sets them to
  // no window.
  enum class Unreached { kEvery, kTargetOnly, kNone } unreached = Unreached::kEvery;
};

// The steps' statements, one a line.
std::vector<std::string> StatementLines(const SearchPlan& plan,
                                        const std::vector<FinderStep>& steps,
                                        const std::vector<std::string>& names,
                                        const StatementSyntax& syntax);

// How a language turns class names into variable names.
struct NamingRules {
  // The language's form of a class's variable name; free of digits, so that
  // a numbered name never meets a plain one.
  std::function<std::string(std::string_view)> base;
  // Names the language or the emitted code itself has a use for, numbered
  // forms included (Python's user32).
  std::function<bool(std::string_view)> reserved;
  // The longest name the language takes, its number included.
  std::size_t max_length = std::string::npos;
  // Whether the language compares names without regard to case.
  bool ignore_case = false;
};

// One name per level: the base of the class's variable name, with a number
// where that base is reserved (static1, static2) or taken by a level above
// (edit, edit2, edit3). A base is cut only as far as the longest name and
// its number require.
std::vector<std::string> NumberedNames(const SearchPlan& plan, const NamingRules& rules);

// A double-quoted literal as the C family writes it: backslash and quote
// escaped, CR, LF and tab as \r \n \t, printable ASCII as it is (a "?" after
// another escaped where `escape_trigraphs`), and any other character as
// `spell` writes it.
std::string CFamilyLiteral(std::string_view text, std::string_view opening,
                           const std::function<std::string(char32_t)>& spell,
                           bool escape_trigraphs = false);

// \uXXXX, or \UXXXXXXXX past the basic plane.
std::string UniversalName(char32_t code);

// The code in upper-case hexadecimal, `digits` digits wide.
std::string HexDigits(char32_t code, int digits);

// Whether the word is one of `words`: words each with a blank before it,
// and a blank at the end, as the languages' word lists are kept (a table of
// views would take twice the room in the program).
bool InWordList(std::string_view words, std::string_view word);

// Appends the lines (one call, not a string built in place for each).
void AppendLines(std::vector<std::string>& lines,
                 std::initializer_list<std::string_view> more);

// Lines joined with CR LF, none after the last, as the code box shows them.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace winscout::codegen
