#include "codegen/finder_language.h"

#include <algorithm>
#include <map>
#include <set>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/python_emitter.h"
#include "codegen/var_name.h"
#include "codegen/vba_emitter.h"
#include "codegen/visual_basic.h"
#include "platform/unicode_text.h"

namespace winscout::codegen {
namespace {

std::string LowerAscii(std::string text) {
  std::ranges::transform(text, text.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

}  // namespace
std::string_view FinderLanguageName(FinderLanguage language) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return "Visual Basic";
    case FinderLanguage::kVba:
      return "VBA (Office)";
    case FinderLanguage::kCpp:
      return "C++";
    case FinderLanguage::kCSharp:
      return "C#";
    case FinderLanguage::kPython:
      return "Python";
  }
  return {};
}

std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return EmitVisualBasic(plan, style);
    case FinderLanguage::kVba:
      return EmitVba(plan, style.way);
    case FinderLanguage::kCpp:
      return EmitCpp(plan, style.way);
    case FinderLanguage::kCSharp:
      return EmitCSharp(plan, style.way);
    case FinderLanguage::kPython:
      return EmitPython(plan, style.way);
  }
  return {};
}

bool IsDesktopPlan(const SearchPlan& plan) {
  return plan.levels.size() == 1 && plan.levels[0].key == PlannedLevel::Key::kDesktop;
}

namespace {

bool FoundByItsOwnKey(const SearchPlan& plan, std::size_t k) {
  const PlannedLevel& level = plan.levels[k];
  return (k > 0 && level.unique_id != 0) || level.unique_title.has_value();
}

}  // namespace

std::vector<FinderStep> FinderSteps(const SearchPlan& plan, SearchWay way) {
  std::vector<FinderStep> steps;
  for (std::size_t k = 0; k < plan.levels.size(); ++k) {
    const PlannedLevel& level = plan.levels[k];
    if (level.key == PlannedLevel::Key::kDesktop) {
      steps.push_back({.level = k, .call = FinderStep::Call::kDesktop, .declares = true});
      continue;
    }
    if (level.calls == 0) {
      steps.push_back({.level = k, .declares = true});
      continue;
    }
    if (way == SearchWay::kIdAndTitle && FoundByItsOwnKey(plan, k)) {
      FinderStep step{.level = k, .declares = true};
      if (k > 0) step.parent = k - 1;
      if (k > 0 && level.unique_id != 0) {
        step.call = FinderStep::Call::kDialogItem;
        step.id = level.unique_id;
      } else {
        step.call =
            k == 0 ? FinderStep::Call::kFindWindow : FinderStep::Call::kFindWindowEx;
        step.title = &*level.unique_title;
      }
      steps.push_back(step);
      continue;
    }
    for (int call = 0; call < level.calls; ++call) {
      FinderStep step{.level = k, .declares = call == 0};
      if (k == 0 && call == 0) {
        step.call = FinderStep::Call::kFindWindow;
      } else {
        step.call = FinderStep::Call::kFindWindowEx;
        if (k > 0) step.parent = k - 1;
        step.after_self = call > 0;
      }
      steps.push_back(step);
    }
  }
  return steps;
}

FinderCalls CallsOf(const std::vector<FinderStep>& steps) {
  FinderCalls calls;
  for (const FinderStep& step : steps) {
    switch (step.call) {
      case FinderStep::Call::kNone:
        break;
      case FinderStep::Call::kFindWindow:
        calls.find_window = true;
        break;
      case FinderStep::Call::kFindWindowEx:
        calls.find_window_ex = true;
        break;
      case FinderStep::Call::kDesktop:
        calls.desktop = true;
        break;
      case FinderStep::Call::kDialogItem:
        calls.dialog_item = true;
        break;
    }
  }
  return calls;
}

std::vector<std::size_t> PositionLevels(const SearchPlan& plan, SearchWay way) {
  std::vector<std::size_t> levels;
  if (way == SearchWay::kPosition) return levels;
  for (std::size_t k = 0; k < plan.levels.size(); ++k) {
    const PlannedLevel& level = plan.levels[k];
    if (level.key == PlannedLevel::Key::kPosition && level.calls > 0 &&
        !FoundByItsOwnKey(plan, k)) {
      levels.push_back(k);
    }
  }
  return levels;
}

std::string PositionNote(const SearchPlan& plan, SearchWay way,
                         const std::vector<std::string>& names) {
  const std::vector<std::size_t> levels = PositionLevels(plan, way);
  if (levels.empty()) return {};
  std::string note = "Found by place among windows of the same class, which can change: ";
  for (std::size_t i = 0; i < levels.size(); ++i) {
    note += (i > 0 ? ", " : "") + names[levels[i]];
  }
  return note;
}

bool NeedsUnicode(const SearchPlan& plan, SearchWay way) {
  for (const PlannedLevel& level : plan.levels) {
    if (!level.ansi_class) return true;
    // A level with an ID of its own has no title (the ID wins).
    if (way == SearchWay::kIdAndTitle && level.unique_title && !level.ansi_title) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> StatementLines(const SearchPlan& plan,
                                        const std::vector<FinderStep>& steps,
                                        const std::vector<std::string>& names,
                                        const StatementSyntax& syntax) {
  using Unreached = StatementSyntax::Unreached;
  std::vector<std::string> lines;
  for (const FinderStep& step : steps) {
    const bool target = step.level + 1 == plan.levels.size();
    if (step.call == FinderStep::Call::kNone &&
        (syntax.unreached == Unreached::kNone ||
         (syntax.unreached == Unreached::kTargetOnly && !target))) {
      continue;
    }
    const std::string& v = names[step.level];
    std::string line(syntax.indent);
    if (step.declares) line += syntax.declaration;
    line += v;
    line += " = ";
    auto call = [&](std::string_view function, bool wide) {
      line += syntax.call_prefix;
      line += function;
      if (wide) line += syntax.wide_suffix;
      line += '(';
    };
    const std::string parent(step.parent ? std::string_view(names[*step.parent])
                                         : syntax.null_handle);
    auto search_for = [&] {
      line += syntax.text(plan.levels[step.level].class_name);
      line += ", ";
      line += step.title ? syntax.text(*step.title) : std::string(syntax.null_text);
      line += ')';
    };
    switch (step.call) {
      case FinderStep::Call::kNone:
        line += syntax.null_handle;
        break;
      case FinderStep::Call::kDesktop:
        call("GetDesktopWindow", false);
        line += ')';
        break;
      case FinderStep::Call::kDialogItem:
        call("GetDlgItem", false);
        line += parent + ", " + std::to_string(step.id) + ")";
        break;
      case FinderStep::Call::kFindWindow:
        call("FindWindow", true);
        search_for();
        break;
      case FinderStep::Call::kFindWindowEx:
        call("FindWindowEx", true);
        line += parent + ", ";
        line += step.after_self ? std::string_view(v) : syntax.null_handle;
        line += ", ";
        search_for();
        break;
    }
    line += syntax.end;
    lines.push_back(std::move(line));
  }
  return lines;
}

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
    const std::string base = rules.base(VarNameFromClass(level.class_name));
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

std::string CFamilyLiteral(std::string_view text, std::string_view opening,
                           const std::function<std::string(char32_t)>& spell,
                           bool escape_trigraphs) {
  std::string literal(opening);
  char32_t previous = 0;
  for (const char32_t c : CodePoints(text)) {
    if (c == '\\' || c == '"' || (escape_trigraphs && c == '?' && previous == '?')) {
      literal += '\\';
      literal += static_cast<char>(c);
    } else if (c == '\r') {
      literal += "\\r";
    } else if (c == '\n') {
      literal += "\\n";
    } else if (c == '\t') {
      literal += "\\t";
    } else if (c >= 0x20 && c < 0x7f) {
      literal += static_cast<char>(c);
    } else {
      literal += spell(c);
    }
    previous = c;
  }
  return literal + "\"";
}

std::string UniversalName(char32_t code) {
  return code <= 0xffff ? "\\u" + HexDigits(code, 4) : "\\U" + HexDigits(code, 8);
}

std::string HexDigits(char32_t code, int digits) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, code >>= 4) {
    hex[static_cast<std::size_t>(i)] = kDigits[code & 0xf];
  }
  return hex;
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

void AppendLines(std::vector<std::string>& lines,
                 std::initializer_list<std::string_view> more) {
  for (std::string_view line : more) lines.emplace_back(line);
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace winscout::codegen
