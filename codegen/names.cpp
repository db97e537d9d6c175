#include "codegen/names.h"

#include <algorithm>
#include <map>
#include <set>

#include "codegen/stable_names.h"
#include "codegen/var_name.h"

namespace winscout::codegen {

namespace {

std::string LowerAscii(std::string text) {
  std::ranges::transform(text, text.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

}  // namespace

std::vector<std::string> NumberedNames(const SearchPlan& plan, const NamingRules& rules) {
  auto key = [&](const std::string& name) {
    return rules.ignore_case ? LowerAscii(name) : name;
  };
  auto cut = [&](const std::string& base, std::size_t suffix) {
    return base.substr(0, rules.max_length - std::min(suffix, rules.max_length));
  };
  std::set<std::string> taken;
  // Per base, the number to try next.
  std::map<std::string, int> next_number;
  std::vector<std::string> names;
  names.reserve(plan.levels.size());
  for (const PlannedLevel& level : plan.levels) {
    // A run-dependent class gives the same name on every run.
    const std::string base =
        rules.base(VarNameFromClass(JudgeClassName(level.class_name).name_source));
    std::string name = cut(base, 0);
    if (rules.reserved(name) || taken.contains(key(name))) {
      int& number =
          next_number.try_emplace(key(base), rules.reserved(name) ? 1 : 2).first->second;
      for (;; ++number) {
        const std::string digits = std::to_string(number);
        name = cut(base, digits.size()) + digits;
        if (!rules.reserved(name) && !taken.contains(key(name))) break;
      }
      ++number;
    }
    taken.insert(key(name));
    names.push_back(std::move(name));
  }
  return names;
}

bool InWordList(std::string_view words, std::string_view word) {
  for (std::size_t at = words.find(word); at != std::string_view::npos;
       at = words.find(word, at + 1)) {
    if (at > 0 && words[at - 1] == ' ' && at + word.size() < words.size() &&
        words[at + word.size()] == ' ') {
      return true;
    }
  }
  return false;
}

}  // namespace winscout::codegen
