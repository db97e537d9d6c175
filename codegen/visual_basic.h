#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/finder_steps.h"
#include "codegen/search_plan.h"

// How Visual Basic (classic and VBA) spells the parts of finder code: its
// Declare lines, its pattern helper, its variable names and its search lines.

namespace winscout::codegen {

// The comment that heads code whose class names the ANSI code page cannot
// hold: its searches need the W functions; with the pattern helper, which
// reads class names and titles too, its functions as well.
std::string VisualBasicUnicodeNote(bool helper);

// The lines that set a String variable to the text in that Unicode form:
// its Dim, then as many assignments as VB's line length needs.
std::vector<std::string> VisualBasicTextLines(const std::string& variable,
                                              std::string_view text);

// A comment, over as many lines as VB's line length needs.
std::vector<std::string> VisualBasicComment(std::string_view text);

// One variable name per level: the class's variable name, numbered where it
// is reserved (Static1) or already taken by a level above (X, X2, X3).
std::vector<std::string> VisualBasicNames(const SearchPlan& plan,
                                          std::string_view taken = {});

// How the call lines pass their strings.
enum class VisualBasicStrings {
  kAnsi,      // literals, to declarations that take ANSI strings
  kUnicode,   // literals in ChrW pieces, to declarations that pass Unicode
  kPointers,  // StrPtr of those literals, to W functions declared with pointers
};

// The Declare lines for the functions called: the W functions with string
// pointers where `unicode`; with PtrSafe and LongPtr handles where `vba7`.
std::vector<std::string> VisualBasicDeclarations(const FinderCalls& calls, bool unicode,
                                                 bool vba7);

// The pattern helper FindWindowLike, a blank line after it: passing its
// strings to the W functions as pointers where `pointers`; headed for both
// VBA7 and the VBA before it where `vba`.
std::vector<std::string> VisualBasicHelperLines(bool pointers, bool vba);

// The assignments that make the steps' searches.
std::vector<std::string> VisualBasicCallLines(const SearchPlan& plan,
                                              const std::vector<FinderStep>& steps,
                                              const std::vector<std::string>& names,
                                              VisualBasicStrings strings);

}  // namespace winscout::codegen
