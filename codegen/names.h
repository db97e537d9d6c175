#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/search_plan.h"

namespace winscout::codegen {

// How a language turns class names into variable names.
struct NamingRules {
  // The language's form of a class's variable name; free of digits, so that
  // a numbered name never meets a plain one.
  std::string (*base)(std::string_view) = nullptr;
  // Names the language or the emitted code itself has a use for, numbered
  // forms included (Python's user32), as a word list (InWordList's form) in
  // the case the names are compared in.
  std::string reserved;
  // The longest name the language takes, its number included.
  std::size_t max_length = std::string::npos;
  // Whether the language compares names without regard to case.
  bool ignore_case = false;
};

// One name per level: the base of the class's variable name, with a number
// where that base is reserved (static1, static2) or taken by a level above
// (edit, edit2, edit3). A base is cut only as far as the longest name and
// its number require.
// `taken`: names that other code beside this (a script's earlier steps) has
// taken, as a word list, which are numbered past as reserved ones are.
std::vector<std::string> NumberedNames(const SearchPlan& plan, const NamingRules& rules,
                                       std::string_view taken = {});

// Whether the word is one of `words`: words parted by blanks or line breaks,
// as the languages' word lists are kept (a table of views would take twice
// the room in the program).
bool InWordList(std::string_view words, std::string_view word);

}  // namespace winscout::codegen
