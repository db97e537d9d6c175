#include "codegen/names.h"

#include <algorithm>

#include "codegen/var_name.h"
#include "platform/text_pieces.h"

namespace winscout::codegen {

namespace {

std::string LowerAscii(std::string text) {
  std::ranges::transform(text, text.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

}  // namespace

std::vector<std::string> NumberedNames(const SearchPlan& plan, const NamingRules& rules,
                                       std::string_view taken_before) {
  auto key = [&](const std::string& name) {
    return rules.ignore_case ? LowerAscii(name) : name;
  };
  auto cut = [&](const std::string& base, std::size_t suffix) {
    return base.substr(0, rules.max_length - std::min(suffix, rules.max_length));
  };
  // The names given so far, and per base the number to try next, by key: a
  // plan has a few levels, so vectors searched serve.
  std::vector<std::string> taken;
  std::vector<std::pair<std::string, int>> next_number;
  auto is_taken = [&](const std::string& name) {
    return std::ranges::find(taken, key(name)) != taken.end();
  };
  const std::string before = rules.ignore_case ? LowerAscii(std::string(taken_before))
                                               : std::string(taken_before);
  auto reserved = [&](const std::string& name) {
    return InWordList(rules.reserved, key(name)) || InWordList(before, key(name));
  };
  std::vector<std::string> names;
  names.reserve(plan.levels.size());
  for (const PlannedLevel& level : plan.levels) {
    // A run-dependent class gives the same name on every run.
    const std::string base = rules.base(VarNameFromClass(level.name_source));
    std::string name = cut(base, 0);
    if (reserved(name) || is_taken(name)) {
      const auto found =
          std::ranges::find(next_number, key(base), &std::pair<std::string, int>::first);
      int& number =
          found != next_number.end()
              ? found->second
              : next_number.emplace_back(key(base), reserved(name) ? 1 : 2).second;
      for (;; ++number) {
        const std::string digits = DecimalText(number);
        name = cut(base, digits.size()) + digits;
        if (!reserved(name) && !is_taken(name)) break;
      }
      ++number;
    }
    taken.push_back(key(name));
    names.push_back(std::move(name));
  }
  return names;
}

bool InWordList(std::string_view words, std::string_view word) {
  for (std::size_t at = words.find(word); at != std::string_view::npos;
       at = words.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || words[at - 1] <= ' ') && (end == words.size() || words[end] <= ' ')) {
      return true;
    }
  }
  return false;
}

}  // namespace winscout::codegen
