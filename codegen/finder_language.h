#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/search_plan.h"

namespace winscout::codegen {

enum class FinderLanguage { kVisualBasic, kCpp, kCSharp, kPython };

// In menu order.
inline constexpr FinderLanguage kFinderLanguages[] = {
    FinderLanguage::kVisualBasic, FinderLanguage::kCpp, FinderLanguage::kCSharp,
    FinderLanguage::kPython};

// The language's name as a menu shows it.
std::string_view FinderLanguageName(FinderLanguage language);

// The code that makes the plan's searches, in the language. A plan has at
// least one level: the target.
std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language);

// ---------------------------------------------------------------------------
// What the emitters share, so that each only spells the statements.

// One statement of finder code: it sets the variable of `level`.
struct FinderStep {
  enum class Call {
    kNone,          // no search reached the level: the variable stays null
    kFindWindow,    // FindWindow(class, no title)
    kFindWindowEx,  // FindWindowEx(parent, after, class, no title)
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
};

// The plan's statements in order: each level's calls, or one kNone statement
// for a level without calls.
std::vector<FinderStep> FinderSteps(const SearchPlan& plan);

// One name per level: `base` of the class's variable name, with a number
// where that base is `reserved` (static1, static2) or taken by a level above
// (edit, edit2, edit3). Bases must be free of digits, so that a numbered name
// never meets a plain one; they are compared as they are spelt.
std::vector<std::string> NumberedNames(
    const SearchPlan& plan, const std::function<std::string(std::string_view)>& base,
    const std::function<bool(std::string_view)>& reserved);

// The characters of UTF-8 text. A byte that starts no well-formed sequence
// stands for the character of its own value (as in Latin-1), so that any
// bytes give characters that a literal can spell.
std::u32string CodePoints(std::string_view utf8);

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

// Lines joined with CR LF, none after the last, as the code box shows them.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace winscout::codegen
