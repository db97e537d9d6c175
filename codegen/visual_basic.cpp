#include "codegen/visual_basic.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "codegen/action_code.h"
#include "codegen/finder_language.h"
#include "codegen/finder_texts.h"
#include "platform/unicode_text.h"

namespace winscout::codegen {
namespace {

// VB identifiers end at 255 characters.
constexpr std::size_t kMaxNameLength = 255;

// The characters that VB.NET's scanner reads as a double quote besides the
// ASCII one (the left and right quotation marks and the full-width quote):
// raw, they would end the literal.
constexpr char32_t kOtherQuotes[] = {0x201c, 0x201d, 0xff02};

// The Unicode form spells every character outside ASCII as ChrW pieces, so
// that the literal holds the real name in any editor; a character past the
// basic plane takes two, its surrogates.
std::vector<std::string> VisualBasicPieces(std::string_view text, bool unicode) {
  // Quoted runs and calls, with no empty run between calls.
  std::vector<std::string> pieces;
  std::string run;
  auto splice = [&](std::string call) {
    if (!run.empty()) pieces.push_back("\"" + std::exchange(run, {}) + "\"");
    pieces.push_back(std::move(call));
  };
  auto call = [](std::string_view function, char32_t code) {
    return std::string(function) + "(" + std::to_string(code) + ")";
  };
  for (const auto& [c, bytes] : Characters(text)) {
    if (c == '"') {
      run += "\"\"";
    } else if (c < 0x20 || c == 0x7f) {
      splice(call("Chr", c));
    } else if (std::ranges::find(kOtherQuotes, c) != std::end(kOtherQuotes) ||
               (unicode && c >= 0x80)) {
      splice(c > 0xffff ? call("ChrW", 0xd800 + ((c - 0x10000) >> 10)) + " & " +
                              call("ChrW", 0xdc00 + ((c - 0x10000) & 0x3ff))
                        : call("ChrW", c));
    } else {
      run += bytes;
    }
  }
  if (!run.empty() || pieces.empty()) pieces.push_back("\"" + run + "\"");
  return pieces;
}

std::string Joined(const std::vector<std::string>& pieces, std::size_t from = 0,
                   std::size_t to = std::string::npos) {
  std::string expression;
  for (std::size_t i = from; i < std::min(to, pieces.size()); ++i) {
    if (i > from) expression += " & ";
    expression += pieces[i];
  }
  return expression;
}

std::string VisualBasicLiteral(std::string_view text, bool unicode) {
  return Joined(VisualBasicPieces(text, unicode));
}

// VB6 and the VBA editor take lines of at most 1,023 characters; VBA's
// statements stand indented by four, and by four more in the loop that waits
// for the window.
constexpr std::size_t kMaxLineLength = 1023 - 8;

std::size_t LineLength(std::string_view line) { return CodePoints(line).size(); }

// Sets the variable to the text's expression over as many lines as the
// length limit needs: `v = a & b`, then `v = v & c`.
void BuildAcrossLines(std::vector<std::string>& lines, const std::string& variable,
                      std::string_view text, bool unicode) {
  const std::vector<std::string> pieces = VisualBasicPieces(text, unicode);
  lines.push_back("Dim " + variable + " As String");
  std::size_t from = 0;
  for (std::size_t to = 1; to <= pieces.size(); ++to) {
    const std::string head =
        from == 0 ? variable + " = " : variable + " = " + variable + " & ";
    if (to < pieces.size() &&
        LineLength(head + Joined(pieces, from, to + 1)) <= kMaxLineLength) {
      continue;
    }
    lines.push_back(head + Joined(pieces, from, to));
    from = to;
  }
}

}  // namespace

std::vector<std::string> VisualBasicComment(std::string_view text) {
  // Broken after the commas of a list where a line would grow too long.
  std::vector<std::string> lines = {"'"};
  while (!text.empty()) {
    const std::size_t comma = text.find(", ");
    const std::string_view part =
        text.substr(0, comma == text.npos ? text.size() : comma + 1);
    if (lines.back().size() > 1 &&
        LineLength(lines.back()) + 1 + LineLength(part) > kMaxLineLength) {
      lines.push_back("'");
    }
    lines.back() += ' ';
    lines.back() += part;
    text.remove_prefix(std::min(text.size(), part.size() + 1));
  }
  return lines;
}

std::string VisualBasicLiteral(std::string_view text) {
  return VisualBasicLiteral(text, false);
}

std::string VisualBasicUnicodeLiteral(std::string_view text) {
  return VisualBasicLiteral(text, true);
}

std::vector<std::string> VisualBasicTextLines(const std::string& variable,
                                              std::string_view text) {
  std::vector<std::string> lines;
  BuildAcrossLines(lines, variable, text, true);
  return lines;
}

std::string VisualBasicUnicodeNote(bool helper) {
  return FinderTextLines(helper ? FinderPart::kVbUnicodeHelperNote
                                : FinderPart::kVbUnicodeNote)
      .front();
}

std::vector<std::string> VisualBasicNames(const SearchPlan& plan) {
  return NumberedNames(plan,
                       {.base = [](std::string_view name) { return std::string(name); },
                        .reserved = FinderPartText(FinderPart::kVbReserved),
                        .max_length = kMaxNameLength,
                        .ignore_case = true});
}

namespace {

// The declarations and the helper (finder_texts.txt) filled in by Expand: '#' the
// handle type, '%' what a string parameter is declared as, '@' the suffix of
// the function's ANSI or W form, "{v}" the string variable v as the calls
// pass it (StrPtr(v) to W functions declared with pointers). Kept as text:
// the same lines built in code would take several times the room.
struct Spelling {
  std::string_view handle;
  std::string_view text;
  std::string_view suffix;
  bool pointers = false;
};

std::string Expand(std::string_view line, const Spelling& spelling) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '#') {
      out += spelling.handle;
    } else if (c == '%') {
      out += spelling.text;
    } else if (c == '@') {
      out += spelling.suffix;
    } else if (c == '{') {
      const std::size_t end = line.find('}', i);
      const std::string_view variable = line.substr(i + 1, end - i - 1);
      out += spelling.pointers ? "StrPtr(" + std::string(variable) + ")"
                               : std::string(variable);
      i = end;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> VisualBasicDeclarations(const FinderCalls& calls, bool unicode,
                                                 bool vba7) {
  const std::string_view handle = vba7 ? "LongPtr" : "Long";
  // The W functions take the strings' addresses (StrPtr).
  const Spelling spelling{handle, unicode ? handle : "String", unicode ? "W" : "A"};
  const std::string declare =
      vba7 ? "Private Declare PtrSafe Function " : "Private Declare Function ";
  std::vector<std::string> lines;
  auto add = [&](FinderPart part) {
    for (const std::string& line : FinderTextLines(part))
      lines.push_back(declare + Expand(line, spelling));
  };
  if (calls.find_window) add(FinderPart::kVbFindWindow);
  if (calls.find_window_ex || calls.find_like) add(FinderPart::kVbFindWindowEx);
  if (calls.dialog_item) add(FinderPart::kVbDialogItem);
  if (calls.desktop) add(FinderPart::kVbDesktop);
  if (calls.find_like) add(FinderPart::kVbTextFunctions);
  return lines;
}

std::vector<std::string> VisualBasicHelperLines(bool pointers, bool vba) {
  std::vector<std::string> lines = FinderTextLines(FinderPart::kVbHelperComment);
  const std::string heading = FinderTextLines(FinderPart::kVbHelperHeading).front();
  if (vba) {
    lines.push_back("#If VBA7 Then");
    lines.push_back(Expand(heading, {.handle = "LongPtr"}));
    lines.push_back("#Else");
  }
  lines.push_back(Expand(heading, {.handle = "Long"}));
  if (vba) lines.push_back("#End If");
  for (const std::string& line : FinderTextLines(FinderPart::kVbHelperBody))
    lines.push_back(Expand(line, {.pointers = pointers}));
  lines.emplace_back();
  return lines;
}

std::vector<std::string> VisualBasicCallLines(const SearchPlan& plan,
                                              const std::vector<FinderStep>& steps,
                                              const std::vector<std::string>& names,
                                              VisualBasicStrings strings) {
  const bool pointers = strings == VisualBasicStrings::kPointers;
  const bool unicode = strings != VisualBasicStrings::kAnsi;
  std::vector<std::string> lines;
  // A statement too long for one line gets its strings built in variables
  // first, which no level's name can meet (those have no underscore); each
  // text once, in the order the code first needs it.
  bool too_long = false;
  std::vector<std::string> built;  // the texts, Text_1 first
  auto spell = [&](std::string_view value) {
    if (!too_long) return VisualBasicLiteral(value, unicode);
    const auto found = std::ranges::find(built, value);
    const std::string variable = "Text_" + std::to_string(found - built.begin() + 1);
    if (found == built.end()) {
      BuildAcrossLines(lines, variable, value, unicode);
      built.emplace_back(value);
    }
    return variable;
  };
  const StatementSyntax syntax{.null_handle = "0",
                               .null_text = pointers ? "0" : "vbNullString",
                               .text =
                                   [&](std::string_view value) {
                                     return pointers ? "StrPtr(" + spell(value) + ")"
                                                     : spell(value);
                                   },
                               .helper = "FindWindowLike",
                               .helper_text = spell,
                               .helper_null_text = "vbNullString",
                               .unreached = StatementSyntax::Unreached::kNone};
  for (const FinderStep& step : steps) {
    std::string statement = Statement(plan, step, names, syntax);
    if (LineLength(statement) > kMaxLineLength) {
      too_long = true;
      statement = Statement(plan, step, names, syntax);
      too_long = false;
    }
    if (!statement.empty()) lines.push_back(std::move(statement));
  }
  return lines;
}

std::vector<std::string> EmitVisualBasic(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note] = source;
  const bool unicode = NeedsUnicode(plan, style.way);
  std::vector<std::string> lines;
  if (style.declarations) {
    lines = VisualBasicDeclarations(calls, unicode, /*vba7=*/false);
  } else if (unicode) {
    lines.push_back(VisualBasicUnicodeNote(calls.find_like));
  }
  // The action's Declare lines, or the note that asks for them.
  AppendLines(lines, act.declarations);
  const VisualBasicStrings strings = !unicode             ? VisualBasicStrings::kAnsi
                                     : style.declarations ? VisualBasicStrings::kPointers
                                                          : VisualBasicStrings::kUnicode;
  if (calls.find_like) {
    AppendLines(lines, VisualBasicHelperLines(strings == VisualBasicStrings::kPointers,
                                              /*vba=*/false));
  }
  if (!note.empty()) AppendLines(lines, VisualBasicComment(note));
  for (const std::string& name : names) lines.push_back("Dim " + name + " As Long");
  AppendLines(lines, act.before);
  AppendLines(lines, VisualBasicCallLines(plan, steps, names, strings), act.inner_indent);
  AppendLines(lines, act.after);
  return lines;
}

}  // namespace winscout::codegen
