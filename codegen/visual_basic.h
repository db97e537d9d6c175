#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/search_plan.h"

namespace winscout::codegen {

// The comment that heads code whose class names the ANSI code page cannot
// hold: its searches need the W functions.
inline constexpr std::string_view kUnicodeNote =
    "' Unicode class names: declare FindWindow and FindWindowEx with the W "
    "functions (FindWindowW, FindWindowExW).";

// A Visual Basic string expression for the text: quotes doubled, control
// characters spliced in as Chr(N) and the characters that VB.NET also reads
// as quotes as ChrW(N), so that no class name can end its literal.
std::string VisualBasicLiteral(std::string_view text);

// Whether a class of the plan is beyond the ANSI code page, so that the code
// spells its literals in ChrW pieces and calls the W functions.
bool NeedsUnicodeCalls(const SearchPlan& plan);

// True for the reserved words of VB6 and VB.NET and for the names the emitted
// code itself uses, compared without regard to case as VB does.
bool IsVisualBasicReserved(std::string_view name);

// One variable name per level: the class's variable name, numbered where it
// is reserved (Static1) or already taken by a level above (X, X2, X3).
std::vector<std::string> VisualBasicNames(const SearchPlan& plan);

// The declarations, then the FindWindow/FindWindowEx lines, CR LF between
// lines and none at the end.
std::string EmitVisualBasic(const SearchPlan& plan);

}  // namespace winscout::codegen
