#include "codegen/finder_language.h"

#include <unordered_map>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/python_emitter.h"
#include "codegen/var_name.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {
namespace {

// A well-formed UTF-8 sequence: its length, and the range of its second
// byte (the ranges that rule out overlong forms, surrogates and code points
// past U+10FFFF); further bytes are 80..BF.
struct SequenceForm {
  std::size_t length = 0;
  unsigned char second_low = 0x80;
  unsigned char second_high = 0xbf;
};

SequenceForm FormOf(unsigned char lead) {
  if (lead >= 0xc2 && lead <= 0xdf) return {2};
  if (lead == 0xe0) return {3, 0xa0, 0xbf};
  if (lead == 0xed) return {3, 0x80, 0x9f};
  if (lead >= 0xe1 && lead <= 0xef) return {3};
  if (lead == 0xf0) return {4, 0x90, 0xbf};
  if (lead >= 0xf1 && lead <= 0xf3) return {4};
  if (lead == 0xf4) return {4, 0x80, 0x8f};
  return {};
}

}  // namespace

std::string_view FinderLanguageName(FinderLanguage language) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return "Visual Basic";
    case FinderLanguage::kCpp:
      return "C++";
    case FinderLanguage::kCSharp:
      return "C#";
    case FinderLanguage::kPython:
      return "Python";
  }
  return {};
}

std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return EmitVisualBasic(plan);
    case FinderLanguage::kCpp:
      return EmitCpp(plan);
    case FinderLanguage::kCSharp:
      return EmitCSharp(plan);
    case FinderLanguage::kPython:
      return EmitPython(plan);
  }
  return {};
}

std::vector<FinderStep> FinderSteps(const SearchPlan& plan) {
  std::vector<FinderStep> steps;
  for (std::size_t k = 0; k < plan.levels.size(); ++k) {
    if (plan.levels[k].calls == 0) {
      steps.push_back({.level = k, .declares = true});
      continue;
    }
    for (int call = 0; call < plan.levels[k].calls; ++call) {
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

std::vector<std::string> NumberedNames(
    const SearchPlan& plan, const std::function<std::string(std::string_view)>& base,
    const std::function<bool(std::string_view)>& reserved) {
  std::unordered_map<std::string, int> uses;
  std::vector<std::string> names;
  names.reserve(plan.levels.size());
  for (const PlannedLevel& level : plan.levels) {
    std::string name = base(VarNameFromClass(level.class_name));
    const int use = ++uses[name];
    if (reserved(name) || use > 1) name += std::to_string(use);
    names.push_back(std::move(name));
  }
  return names;
}

std::u32string CodePoints(std::string_view utf8) {
  std::u32string text;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      text += lead;
      ++i;
      continue;
    }
    const SequenceForm form = FormOf(lead);
    bool well_formed = form.length > 0 && i + form.length <= utf8.size();
    char32_t code = lead & (0x7f >> form.length);
    for (std::size_t j = 1; well_formed && j < form.length; ++j) {
      const auto next = static_cast<unsigned char>(utf8[i + j]);
      const unsigned char low = j == 1 ? form.second_low : 0x80;
      const unsigned char high = j == 1 ? form.second_high : 0xbf;
      well_formed = next >= low && next <= high;
      code = (code << 6) | (next & 0x3f);
    }
    if (well_formed) {
      text += code;
      i += form.length;
    } else {
      text += static_cast<char32_t>(lead);
      ++i;
    }
  }
  return text;
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

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace winscout::codegen
