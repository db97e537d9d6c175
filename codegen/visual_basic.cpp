#include "codegen/visual_basic.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "codegen/finder_texts.h"
#include "codegen/literals.h"
#include "codegen/names.h"
#include "codegen/statements.h"
#include "codegen/template_text.h"
#include "platform/text_pieces.h"
#include "platform/unicode_text.h"

namespace winscout::codegen {
namespace {

// VB identifiers end at 255 characters.
constexpr std::size_t kMaxNameLength = 255;

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
        LineLength(head + JoinVisualBasicPieces(pieces, from, to + 1)) <=
            kMaxLineLength) {
      continue;
    }
    lines.push_back(head + JoinVisualBasicPieces(pieces, from, to));
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

std::vector<std::string> VisualBasicNames(const SearchPlan& plan,
                                          std::string_view taken) {
  return NumberedNames(plan,
                       {.base = [](std::string_view name) { return std::string(name); },
                        .reserved = FinderPartText(FinderPart::kVbReserved),
                        .max_length = kMaxNameLength,
                        .ignore_case = true},
                       taken);
}

namespace {

// What the declarations and the helper (finder_texts.txt) leave open: the
// handle type, what a string parameter is declared as, the suffix of the
// function's ANSI or W form, and whether the helper passes its String
// variables as pointers (StrPtr(v)) to W functions declared with them. Kept
// as text: the same lines built in code would take several times the room.
struct Spelling {
  std::string_view handle;
  std::string_view text;
  std::string_view suffix;
  bool pointers = false;
};

std::string Expand(std::string_view line, const Spelling& spelling) {
  std::string out;
  ExpandTemplate(line, out, [&](std::string_view name, std::string& into) {
    if (name == "handle") {
      into += spelling.handle;
    } else if (name == "string") {
      into += spelling.text;
    } else if (name == "suffix") {
      into += spelling.suffix;
    } else {
      // {pass_class_name}, {pass_title}, {pass_text}: the helper's variables.
      const std::string_view variable = name == "pass_class_name" ? "ClassName"
                                        : name == "pass_title"    ? "Title"
                                                                  : "Text";
      into += spelling.pointers ? "StrPtr(" + std::string(variable) + ")"
                                : std::string(variable);
    }
  });
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
    if (!too_long) {
      return unicode ? VisualBasicUnicodeLiteral(value) : VisualBasicLiteral(value);
    }
    const auto found = std::ranges::find(built, value);
    const std::string variable = "Text_" + DecimalText(found - built.begin() + 1);
    if (found == built.end()) {
      BuildAcrossLines(lines, variable, value, unicode);
      built.emplace_back(value);
    }
    return variable;
  };
  const StatementSyntax syntax{
      .null_handle = "0",
      .null_text = pointers ? "0" : "vbNullString",
      .text =
          [&](std::string_view value) {
            return pointers ? "StrPtr(" + spell(value) + ")" : spell(value);
          },
      .helper = "FindWindowLike",
      .helper_text = [&](std::string_view value) { return spell(value); },
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

}  // namespace winscout::codegen
