// The parser of the Visual Basic replay: the code's lines, each matched
// against the few line forms that the finder and action code take.

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/unicode_text.h"
#include "tests/support/vb_line_reader.h"
#include "tests/support/vb_replay.h"

namespace winscout::testing {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Dim v As String, v = expression, v = v & expression: a long text built
// across lines. False where the line is none of these.
bool ParseTextLine(std::string_view text, TextVariables& texts, std::string& error) {
  LineReader in(text);
  if (in.Take("Dim ")) {
    auto name = in.Name();
    if (!name || !in.Take(" As String") || !in.AtEnd()) return false;
    if (!texts.emplace(FoldVbName(*name), std::nullopt).second) {
      error = *name + " is declared twice";
    }
    return true;
  }
  auto name = in.Name();
  if (!name || !texts.contains(FoldVbName(*name)) || !in.Take(" = ")) return false;
  std::optional<std::string>& value = texts[FoldVbName(*name)];
  LineReader rest(in.Rest());
  std::string start;
  if (auto same = rest.Name(); same && FoldVbName(*same) == FoldVbName(*name)) {
    if (!value || !rest.Take(" & ")) return false;
    start = *value;
  } else {
    rest = LineReader(in.Rest());
  }
  const std::optional<std::string> more = rest.StringExpression();
  if (!more || !rest.AtEnd()) return false;
  value = start + *more;
  return true;
}

std::optional<VbLine> ParseDeclaration(std::string_view text) {
  LineReader in(text);
  VbLine line;
  if (!in.Take("Dim ")) return std::nullopt;
  auto name = in.Name();
  if (!name || !in.Take(" As ")) return std::nullopt;
  auto type = in.Name();
  if (!type || (*type != "Long" && *type != "LongPtr") || !in.AtEnd())
    return std::nullopt;
  line.variable = std::move(*name);
  line.type = std::move(*type);
  return line;
}

// The parent and the child-after of FindWindowEx, each a name or 0.
bool ParseSearchStart(LineReader& in, VbLine& line) {
  auto parent = in.Name();
  if (!parent || !in.Take(", ")) return false;
  if (*parent != "0") line.parent = std::move(*parent);
  auto after = in.Name();
  if (!after || !in.Take(", ")) return false;
  // A further search continues after the window it assigns to.
  if (*after != "0") {
    if (FoldVbName(*after) != FoldVbName(line.variable)) return false;
    line.after_variable = true;
  }
  return true;
}

std::optional<VbLine> ParseCall(std::string_view text, std::string_view function,
                                const TextVariables& texts) {
  LineReader in(text, &texts);
  VbLine line;
  auto variable = in.Name();
  if (!variable) return std::nullopt;
  if (!function.empty() && FoldVbName(*variable) == FoldVbName(function)) {
    auto result = in.Take(" = ") ? in.Name() : std::nullopt;
    if (!result || !in.AtEnd()) return std::nullopt;
    line.kind = VbLineKind::kResult;
    line.variable = std::move(*result);
    return line;
  }
  line.variable = std::move(*variable);
  if (in.Take(" = GetDesktopWindow()")) {
    if (!in.AtEnd()) return std::nullopt;
    line.kind = VbLineKind::kDesktop;
    return line;
  }
  if (in.Take(" = GetDlgItem(")) {
    auto parent = in.Name();
    if (!parent || !in.Take(", ")) return std::nullopt;
    auto id = in.Integer();
    if (!id || !in.Take(")") || !in.AtEnd()) return std::nullopt;
    line.kind = VbLineKind::kDialogItem;
    line.parent = std::move(*parent);
    line.id = *id;
    return line;
  }
  if (in.Take(" = FindWindowLike(")) {
    line.kind = VbLineKind::kFindLike;
    if (!ParseSearchStart(in, line)) return std::nullopt;
    // The routine takes Strings: no pointers, and vbNullString for none.
    for (VbString* argument :
         {&line.class_name, &line.title, &line.class_start, &line.title_end}) {
      if (argument != &line.class_name && !in.Take(", ")) return std::nullopt;
      auto value = in.StringArgument();
      if (!value || value->pointer) return std::nullopt;
      *argument = std::move(*value);
    }
    if (!in.Take(")") || !in.AtEnd()) return std::nullopt;
    return line;
  }
  if (in.Take(" = FindWindow(")) {
    line.kind = VbLineKind::kFindWindow;
  } else if (in.Take(" = FindWindowEx(")) {
    line.kind = VbLineKind::kFindWindowEx;
    if (!ParseSearchStart(in, line)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  auto class_name = in.StringArgument();
  if (!class_name || !class_name->value || !in.Take(", ")) return std::nullopt;
  auto title = in.StringArgument();
  if (!title || !in.Take(")") || !in.AtEnd()) return std::nullopt;
  line.class_name = std::move(*class_name);
  line.title = std::move(*title);
  return line;
}

// Private Declare [PtrSafe ]Function N Lib "user32" [Alias "E" ](params) As T,
// or Sub N without the result; a parameter without ByVal is by reference.
std::optional<VbDeclare> ParseDeclare(std::string_view text) {
  LineReader in(text);
  VbDeclare declare;
  if (!in.Take("Private Declare ")) return std::nullopt;
  declare.ptr_safe = in.Take("PtrSafe ");
  const bool sub = in.Take("Sub ");
  auto name = sub || in.Take("Function ") ? in.Name() : std::nullopt;
  if (!name || !in.Take(" Lib \"")) return std::nullopt;
  auto lib = in.Name();
  if (!lib || (*lib != "user32" && *lib != "kernel32") || !in.Take("\" "))
    return std::nullopt;
  declare.lib = *lib;
  declare.name = *name;
  declare.entry = *name;
  if (in.Take("Alias \"")) {
    auto entry = in.Name();
    if (!entry || !in.Take("\" ")) return std::nullopt;
    declare.entry = std::move(*entry);
  }
  if (!in.Take("(")) return std::nullopt;
  while (!in.Take(")")) {
    if (!declare.parameter_types.empty() && !in.Take(", ")) return std::nullopt;
    declare.by_reference.push_back(!in.Take("ByVal "));
    auto parameter = in.Name();
    auto type = parameter && in.Take(" As ") ? in.Name() : std::nullopt;
    if (!type) return std::nullopt;
    declare.parameter_types.push_back(std::move(*type));
  }
  if (sub) return in.AtEnd() ? std::optional(declare) : std::nullopt;
  auto result = in.Take(" As ") ? in.Name() : std::nullopt;
  if (!result || !in.AtEnd()) return std::nullopt;
  declare.result_type = std::move(*result);
  return declare;
}

// The routine's heading, for its handle type: Long or LongPtr.
std::optional<std::string> ParseHelperHeading(std::string_view text) {
  for (std::string type : {"Long", "LongPtr"}) {
    const std::string handle = " As " + type;
    if (text ==
        "Private Function FindWindowLike(ByVal hWndParent" + handle +
            ", ByVal hWndAfter" + handle +
            ", ByVal ClassName As String, ByVal Title As String, ByVal ClassStart "
            "As String, ByVal TitleEnd As String)" +
            handle) {
      return type;
    }
  }
  return std::nullopt;
}

// The routine's body after its heading, line by line; where the pointer form
// differs, its line is the second.
struct HelperLine {
  std::string_view text;
  std::string_view pointer_text;
};
constexpr HelperLine kHelperBody[] = {
    {"    Dim Text As String", {}},
    {"    Do", {}},
    {"        hWndAfter = FindWindowEx(hWndParent, hWndAfter, ClassName, Title)",
     "        hWndAfter = FindWindowEx(hWndParent, hWndAfter, StrPtr(ClassName), "
     "StrPtr(Title))"},
    {"        If hWndAfter = 0 Then Exit Do", {}},
    {"        Text = String$(257, vbNullChar)", {}},
    {"        Text = Left$(Text, GetClassName(hWndAfter, Text, 257))",
     "        Text = Left$(Text, GetClassName(hWndAfter, StrPtr(Text), 257))"},
    {"        If Left$(Text, Len(ClassStart)) = ClassStart Then", {}},
    {"            Text = String$(GetWindowTextLength(hWndAfter) + 1, vbNullChar)", {}},
    {"            Text = Left$(Text, GetWindowText(hWndAfter, Text, Len(Text)))",
     "            Text = Left$(Text, GetWindowText(hWndAfter, StrPtr(Text), Len(Text)))"},
    {"            If Right$(Text, Len(TitleEnd)) = TitleEnd Then Exit Do", {}},
    {"        End If", {}},
    {"    Loop", {}},
    {"    FindWindowLike = hWndAfter", {}},
    {"End Function", {}},
};

// Whether the line is the routine's next body line; the first line where
// the forms differ decides the form.
bool TakeHelperLine(std::string_view content, std::size_t index, bool& pointer_form,
                    bool& form_known) {
  const HelperLine& expected = kHelperBody[index];
  if (expected.pointer_text.empty()) return content == expected.text;
  if (!form_known) {
    form_known = content == expected.text || content == expected.pointer_text;
    pointer_form = content == expected.pointer_text;
    return form_known;
  }
  return content == (pointer_form ? expected.pointer_text : expected.text);
}

// Public Function N() As T
bool ParseFunction(std::string_view text, VbParse& parse) {
  LineReader in(text);
  auto name = in.Take("Public Function ") ? in.Name() : std::nullopt;
  auto type = name && in.Take("() As ") ? in.Name() : std::nullopt;
  if (!type || !in.AtEnd()) return false;
  parse.function = std::move(*name);
  parse.function_type = std::move(*type);
  return true;
}

}  // namespace

std::string FoldVbName(std::string_view name) {
  std::string folded(name);
  std::transform(folded.begin(), folded.end(), folded.begin(), LowerAscii);
  return folded;
}

std::string VisibleText(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (IsControl(c)) {
      out += "\\x";
      out += kHex[code >> 4];
      out += kHex[code & 0xf];
    } else {
      out += c;
    }
  }
  return out;
}

VbParse ParseFinderCode(std::string_view text, bool vba7, bool actions) {
  VbParse parse;
  enum class Branch { kOutside, kTaken, kSkipped } branch = Branch::kOutside;
  // A blank line only sets the declarations of a VBA module apart.
  bool blank_allowed = false;
  // The next line of the routine's body to come, from its heading on; the
  // blank line that must follow it comes at the end.
  constexpr std::size_t kHelperLines = std::size(kHelperBody);
  std::optional<std::size_t> helper_line;
  bool helper_form_known = false;
  TextVariables texts;
  auto fail = [&](int number, std::string_view what, std::string_view content) {
    parse.error = "line " + std::to_string(number) + " " + std::string(what) + ": [" +
                  VisibleText(content) + "]";
    return parse;
  };
  for (int number = 1;; ++number) {
    const std::size_t end = text.find(kLineBreak);
    const std::string_view content = text.substr(0, end);
    const std::string_view line_text =
        content.substr(std::min(content.find_first_not_of(' '), content.size()));
    // VB6 and the VBA editor refuse longer lines.
    constexpr std::size_t kMaxLineCharacters = 1023;
    if (static_cast<std::size_t>(std::ranges::count_if(content, [](char c) {
          return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
        })) > kMaxLineCharacters) {
      return fail(number, "is longer than 1,023 characters", content.substr(0, 80));
    }
    const bool after_block = std::exchange(blank_allowed, line_text == "#End If");
    const bool directive = line_text.starts_with("#");
    if (helper_line && *helper_line <= kHelperLines && !directive &&
        branch != Branch::kSkipped) {
      const bool taken = *helper_line == kHelperLines
                             ? content.empty()
                             : TakeHelperLine(content, *helper_line,
                                              parse.helper.pointers, helper_form_known);
      if (!taken) {
        return fail(number,
                    *helper_line == kHelperLines
                        ? "is not the blank line after FindWindowLike"
                        : "is not the next line of FindWindowLike",
                    content);
      }
      ++*helper_line;
    } else if (line_text.empty() && content.empty() && (after_block || actions)) {
    } else if (line_text == "#If VBA7 Then") {
      if (branch != Branch::kOutside) return fail(number, "opens a second #If", content);
      branch = vba7 ? Branch::kTaken : Branch::kSkipped;
    } else if (line_text == "#Else") {
      if (branch == Branch::kOutside) return fail(number, "has no #If", content);
      branch = branch == Branch::kTaken ? Branch::kSkipped : Branch::kTaken;
    } else if (line_text == "#End If") {
      if (branch == Branch::kOutside) return fail(number, "has no #If", content);
      branch = Branch::kOutside;
    } else if (branch == Branch::kSkipped) {
    } else if (line_text.starts_with("'")) {
      auto names = [&](std::string_view a, std::string_view b) {
        return line_text.find(a) != std::string_view::npos &&
               line_text.find(b) != std::string_view::npos;
      };
      parse.unicode_calls = parse.unicode_calls || names("FindWindowW", "FindWindowExW");
      parse.unicode_text_calls =
          parse.unicode_text_calls || names("GetClassNameW", "GetWindowTextW");
    } else if (line_text == "End Function") {
      if (parse.function.empty() || parse.function_end != 0) {
        return fail(number, "ends no function", content);
      }
      parse.function_end = number;
    } else if (auto declare = ParseDeclare(line_text)) {
      if (helper_line)
        return fail(number, "declares a function after FindWindowLike", content);
      declare->number = number;
      parse.declares.push_back(std::move(*declare));
    } else if (auto handle_type = ParseHelperHeading(content)) {
      // One routine, before the code that calls it.
      if (helper_line || !parse.lines.empty() || !parse.function.empty()) {
        return fail(number, "opens FindWindowLike in the wrong place", content);
      }
      parse.helper.number = number;
      parse.helper.handle_type = std::move(*handle_type);
      helper_line = 0;
    } else if (!ParseFunction(line_text, parse)) {
      std::string error;
      if (ParseTextLine(line_text, texts, error)) {
        if (!error.empty()) return fail(number, error, content);
        // The action code's buffers are Strings the statements use.
        if (actions && line_text.starts_with("Dim ")) {
          parse.lines.push_back(
              {.number = number,
               .variable = std::string(line_text.substr(4, line_text.find(' ', 4) - 4)),
               .type = "String"});
        }
      } else {
        std::optional<VbLine> line = ParseDeclaration(line_text);
        if (!line) line = ParseCall(line_text, parse.function, texts);
        if (!line && actions) {
          line =
              VbLine{.kind = VbLineKind::kStatement, .statement = std::string(line_text)};
        }
        if (!line) return fail(number, "matches no line form", content);
        line->number = number;
        parse.lines.push_back(std::move(*line));
      }
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + kLineBreak.size());
  }
  for (VbLine& line : parse.lines) {
    if (line.type == "String") line.text = texts[FoldVbName(line.variable)].value_or("");
  }
  if (branch != Branch::kOutside) parse.error = "an #If is not closed";
  if (helper_line && *helper_line <= kHelperLines) {
    parse.error = "FindWindowLike ends early, or without the blank line after it";
  }
  if (!parse.function.empty() && parse.function_end == 0) {
    parse.error = "the function has no end";
  }
  return parse;
}

}  // namespace winscout::testing
