#include "tests/support/vb_replay.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/unicode_text.h"

namespace winscout::testing {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_';
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsControl(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 0x20 || code == 0x7f;
}

// Consumes one line from the left; every method either takes what it names
// and reports success or leaves the reader in an unspecified position.
// The String variables that long texts are built in, by folded name: their
// values so far, or none before the first assignment.
using TextVariables = std::map<std::string, std::optional<std::string>>;

class LineReader {
 public:
  explicit LineReader(std::string_view line, const TextVariables* texts = nullptr)
      : rest_(line), texts_(texts) {}

  bool AtEnd() const { return rest_.empty(); }

  bool Take(std::string_view piece) {
    if (!rest_.starts_with(piece)) return false;
    rest_.remove_prefix(piece.size());
    return true;
  }

  // Any run of letters, digits and underscores: whether it is a usable
  // identifier is for the checker to say, so the parser stays permissive here.
  std::optional<std::string> Name() {
    const auto end = std::find_if_not(rest_.begin(), rest_.end(), IsNameChar);
    const auto length = static_cast<std::size_t>(end - rest_.begin());
    if (length == 0) return std::nullopt;
    std::string name(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return name;
  }

  std::string_view Rest() const { return rest_; }

  // &H and hexadecimal digits, with or without the & that makes it a Long.
  std::optional<long long> HexNumber() {
    if (!Take("&H")) return std::nullopt;
    const auto end = std::find_if_not(rest_.begin(), rest_.end(), [](char c) {
      return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    });
    const std::string digits(
        rest_.substr(0, static_cast<std::size_t>(end - rest_.begin())));
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    rest_.remove_prefix(digits.size());
    const long long value = std::stoll(digits, nullptr, 16);
    const bool as_long = Take("&");
    if (value >= 0x80000000LL) return value - 0x100000000LL;
    // Without the &, four digits make an Integer: &HFFFF is -1.
    if (!as_long && digits.size() <= 4 && value >= 0x8000) return value - 0x10000;
    return value;
  }

  // A whole number in plain decimal, with a minus sign for negative ones.
  std::optional<std::int32_t> Integer() {
    const bool negative = Take("-");
    const std::optional<long long> magnitude = Digits(10);
    if (!magnitude || *magnitude > 2147483648LL ||
        (!negative && *magnitude > 2147483647LL)) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -*magnitude : *magnitude);
  }

  // A string argument: a string expression, StrPtr of one, or none.
  std::optional<VbString> StringArgument() {
    if (Take("vbNullString")) return VbString{};
    if (Take("0")) return VbString{.pointer = true};
    if (Take("StrPtr(")) {
      auto value = TextVariable();
      if (!value) value = StringExpression();
      if (!value || !Take(")")) return std::nullopt;
      return VbString{std::move(*value), true};
    }
    auto value = TextVariable();
    if (!value) value = StringExpression();
    if (!value) return std::nullopt;
    return VbString{std::move(*value), false};
  }

  // A String variable that holds a text, standing alone as an argument.
  std::optional<std::string> TextVariable() {
    if (!texts_) return std::nullopt;
    const std::string_view before = rest_;
    const std::optional<std::string> name = Name();
    if (name && (rest_.starts_with(",") || rest_.starts_with(")"))) {
      const auto found = texts_->find(FoldVbName(*name));
      if (found != texts_->end() && found->second) return *found->second;
    }
    rest_ = before;
    return std::nullopt;
  }

  // Pieces joined by " & ": quoted literals, Chr(N) and ChrW(N); the value
  // in UTF-8, the UTF-16 units of ChrW pieces paired up.
  std::optional<std::string> StringExpression() {
    std::string value;
    char16_t pending = 0;  // a high surrogate waiting for its low one
    do {
      if (Take("ChrW(")) {
        if (!WideCode(value, pending) || !Take(")")) return std::nullopt;
        continue;
      }
      std::string piece;
      if (!Piece(piece) || (pending != 0 && !piece.empty())) return std::nullopt;
      value += piece;
    } while (Take(" & "));
    if (pending != 0) return std::nullopt;
    return value;
  }

 private:
  static void AppendUtf8(std::string& value, char32_t code) {
    if (code < 0x80) {
      value += static_cast<char>(code);
      return;
    }
    constexpr unsigned char kLead[] = {0, 0xc0, 0xe0, 0xf0};
    const int tail = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    value += static_cast<char>(kLead[tail] | (code >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i) {
      value += static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3f));
    }
  }

  // Up to `most` decimal digits, without leading zeros.
  std::optional<long long> Digits(std::size_t most) {
    const auto end = std::find_if_not(rest_.begin(), rest_.end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
    const std::string_view digits =
        rest_.substr(0, static_cast<std::size_t>(end - rest_.begin()));
    if (digits.empty() || digits.size() > most ||
        (digits.size() > 1 && digits[0] == '0')) {
      return std::nullopt;
    }
    long long value = 0;
    for (char d : digits) value = value * 10 + (d - '0');
    rest_.remove_prefix(digits.size());
    return value;
  }

  std::optional<int> Decimal(int max) {
    const std::optional<long long> code = Digits(5);
    if (!code || *code > max) return std::nullopt;
    return static_cast<int>(*code);
  }

  // A UTF-16 unit 0..65535: a surrogate must come in a pair.
  bool WideCode(std::string& value, char16_t& pending) {
    const std::optional<int> unit = Decimal(0xffff);
    if (!unit) return false;
    const bool high = *unit >= 0xd800 && *unit <= 0xdbff;
    const bool low = *unit >= 0xdc00 && *unit <= 0xdfff;
    if (pending != 0) {
      if (!low) return false;
      AppendUtf8(value, 0x10000 + ((pending - 0xd800) << 10) + (*unit - 0xdc00));
      pending = 0;
    } else if (high) {
      pending = static_cast<char16_t>(*unit);
    } else if (low) {
      return false;
    } else {
      AppendUtf8(value, static_cast<char32_t>(*unit));
    }
    return true;
  }

  // VB.NET's scanner reads the curly quotes and the full-width one as a
  // double quote: raw in a literal, they would end it there.
  bool StartsWithOtherQuote() const {
    return rest_.starts_with("\u201C") || rest_.starts_with("\u201D") ||
           rest_.starts_with("\uFF02");
  }

  bool Piece(std::string& value) {
    if (Take("Chr(")) return Code(value) && Take(")");
    if (!Take("\"")) return false;
    while (!rest_.empty()) {
      const char c = rest_.front();
      if (IsControl(c) || StartsWithOtherQuote()) return false;
      rest_.remove_prefix(1);
      if (c == '"') {
        if (!Take("\"")) return true;
      }
      value += c;
    }
    return false;
  }

  // A character code 0..255 in plain decimal, without leading zeros.
  bool Code(std::string& value) {
    const std::optional<int> code = Decimal(255);
    if (code) value += static_cast<char>(*code);
    return code.has_value();
  }

  std::string_view rest_;
  const TextVariables* texts_ = nullptr;
};

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

std::ostream& operator<<(std::ostream& out, const ReplayResult& result) {
  if (!result.Ran()) return out << "replay failed: " << result.error;
  return out << "replay found " << result.found;
}

namespace {

// How a call hands its strings over: whole to a W function, or through the
// ANSI code page. An empty `error` when the arguments fit the declaration.
struct Passing {
  bool unicode = false;
  std::string error;
};

Passing PassingOf(const VbParse& parse, const VbLine& line, std::string_view function) {
  const bool pointers = line.class_name.pointer || line.title.pointer;
  if (parse.declares.empty()) {
    if (pointers)
      return {false, "a pointer argument without a declaration that takes one"};
    return {parse.unicode_calls, ""};
  }
  const auto declare = std::ranges::find_if(parse.declares, [&](const VbDeclare& d) {
    return FoldVbName(d.name) == FoldVbName(function);
  });
  if (declare == parse.declares.end()) {
    return {false, std::string(function) + " is called but not declared"};
  }
  const bool wide = declare->entry.ends_with('W');
  const bool takes_strings = std::ranges::count(declare->parameter_types, "String") > 0;
  if (wide == takes_strings) {
    return {false, declare->entry + " is declared with the wrong string type"};
  }
  // A string expression where a pointer is taken, or the other way round.
  if ((line.class_name.pointer != wide) ||
      (line.title.value && line.title.pointer != wide)) {
    return {false, "the strings do not match " + declare->entry + "'s declaration"};
  }
  return {wide, ""};
}

// How FindWindowLike hands its strings over: its form and the declarations
// of the four functions it calls (or, without Declare lines, the comments on
// the W functions) must agree. `unicode` is for its FindWindowEx,
// `text_unicode` for the texts it reads and compares.
struct HelperStrings {
  bool unicode = false;
  bool text_unicode = false;
  std::string error;
};

HelperStrings HelperPassing(const VbParse& parse) {
  const bool pointers = parse.helper.pointers;
  auto failed = [](std::string error) {
    return HelperStrings{false, false, std::move(error)};
  };
  if (parse.declares.empty()) {
    if (pointers)
      return failed("a pointer argument without a declaration that takes one");
    return {parse.unicode_calls, parse.unicode_text_calls, ""};
  }
  for (std::string_view function :
       {"FindWindowEx", "GetClassName", "GetWindowText", "GetWindowTextLength"}) {
    const auto declare = std::ranges::find_if(parse.declares, [&](const VbDeclare& d) {
      return FoldVbName(d.name) == FoldVbName(function);
    });
    const std::string name(function);
    if (declare == parse.declares.end()) {
      return failed(name + " is called by FindWindowLike but not declared");
    }
    if (declare->entry != name + "A" && declare->entry != name + "W") {
      return failed(name + " is declared as " + declare->entry);
    }
    const bool wide = declare->entry.ends_with('W');
    const bool takes_strings = std::ranges::count(declare->parameter_types, "String") > 0;
    if (function != "GetWindowTextLength" && wide == takes_strings) {
      return failed(declare->entry + " is declared with the wrong string type");
    }
    if (wide != pointers) {
      return failed("FindWindowLike's strings do not match " + declare->entry +
                    "'s declaration");
    }
  }
  return {pointers, pointers, ""};
}

// A window's whole title: its length is not known beforehand, so the room
// for it grows until the text falls short of it.
std::string WholeTitle(const WindowSystem& windows, WindowHandle window) {
  for (int capacity = 256;; capacity *= 4) {
    std::string title = windows.WindowText(window, capacity);
    // UTF-8 takes at least as many bytes as UTF-16 takes units.
    if (title.size() + 1 < static_cast<std::size_t>(capacity) || capacity > (1 << 24)) {
      return title;
    }
  }
}

// The API gets a C string: a Chr(0) would end the text there.
std::optional<std::string_view> CString(const VbString& text) {
  if (!text.value) return std::nullopt;
  return std::string_view(*text.value).substr(0, text.value->find('\0'));
}

WindowHandle FindLike(const WindowSystem& windows, WindowHandle parent,
                      WindowHandle after, const VbLine& line,
                      const HelperStrings& strings) {
  const std::optional<std::string_view> class_name = CString(line.class_name);
  const std::optional<std::string_view> title = CString(line.title);
  // The comparisons are VB's own, of whole Strings, Chr(0) included.
  const std::optional<std::string>& class_start = line.class_start.value;
  const std::optional<std::string>& title_end = line.title_end.value;
  // Through the ANSI code page, a text it cannot hold matches nothing: it
  // reaches FindWindowExA, or is compared with what GetClassNameA and
  // GetWindowTextA give, with question marks in its place.
  auto held = [&](bool unicode,
                  std::initializer_list<std::optional<std::string_view>> texts) {
    return unicode || std::ranges::all_of(texts, [&](const auto& text) {
             return !text || windows.AnsiCodePageHolds(*text);
           });
  };
  if (!held(strings.unicode, {class_name, title}) ||
      !held(strings.text_unicode, {class_start, title_end})) {
    return 0;
  }
  // An empty class name is no class: FindWindowEx finds nothing for it.
  if (class_name && class_name->empty()) return 0;
  for (;;) {
    // FindChild with an empty class name: any class, as FindWindowEx with none.
    after =
        title ? windows.FindChildWithTitle(parent, after, class_name.value_or(""), *title)
              : windows.FindChild(parent, after, class_name.value_or(""));
    if (after == 0) return 0;
    // GetClassName into room for 256 characters, the longest class name.
    if (class_start && !windows.ClassName(after, 257).starts_with(*class_start)) continue;
    if (title_end && !WholeTitle(windows, after).ends_with(*title_end)) continue;
    return after;
  }
}

// The message numbers of the Windows headers, and the flag and the
// notification code the action code needs.
constexpr long long kSetText = 0xC, kGetText = 0xD, kGetTextLength = 0xE, kClose = 0x10,
                    kCommand = 0x111, kGetCheck = 0xF0, kClick = 0xF5,
                    kCbGetCount = 0x146, kCbGetText = 0x148, kCbGetTextLength = 0x149,
                    kCbSelect = 0x14D, kLbGetText = 0x189, kLbGetTextLength = 0x18A,
                    kLbGetCount = 0x18B, kLbSelect = 0x18C, kAbortIfHung = 2,
                    kSelectionChange = 1;
constexpr int kAnyTimeoutMs = 2000;

// A value of the code: a number or a String; StrPtr of a String variable
// names the variable, for a message to write into.
struct Value {
  long long number = 0;
  std::optional<std::string> text;
  std::string buffer;
};

std::size_t Units(std::string_view text) {
  std::size_t units = 0;
  for (char32_t c : CodePoints(text)) units += Utf16Units(c);
  return units;
}

// What each function the action code calls must be declared as, where the
// code declares anything: its entry, library and count of parameters.
struct ActionFunction {
  std::string_view name, entry, lib;
  std::size_t parameters;
};
constexpr ActionFunction kActionFunctions[] = {
    {"SendMessageTimeout", "SendMessageTimeoutW", "user32", 7},
    {"SendMessage", "SendMessageW", "user32", 4},
    {"PostMessage", "PostMessageW", "user32", 4},
    {"GetParent", "GetParent", "user32", 1},
    {"GetDlgCtrlID", "GetDlgCtrlID", "user32", 1},
    {"Sleep", "Sleep", "kernel32", 1}};

class Runner {
 public:
  Runner(const VbParse& parse, const WindowSystem& windows, WindowSystem* acting)
      : parse_(parse), windows_(windows), acting_(acting) {}

  ReplayResult Run() {
    if (!parse_.error.empty()) return {parse_.error};
    // Every statement is read once before any runs, those of the branches
    // not taken too.
    std::vector<std::string> opened;
    for (const VbLine& line : parse_.lines) {
      if (line.kind != VbLineKind::kStatement) continue;
      number_ = line.number;
      std::size_t pc = 0;
      Execute(line.statement, pc);
      if (!error_.empty()) return Failed();
      const std::string_view text = line.statement;
      const bool block_if = text.starts_with("If ") && text.ends_with(" Then");
      if (text.starts_with("For ") || block_if)
        opened.emplace_back(block_if ? "End If" : "Next");
      if (text == "Next" || text == "End If") {
        if (opened.empty() || opened.back() != text)
          return Fail(std::string(text) + " closes nothing");
        opened.pop_back();
      }
    }
    if (!opened.empty()) return {"an " + opened.back() + " is missing"};
    dry_ = false;
    for (std::size_t pc = 0; pc < parse_.lines.size(); ++pc) {
      const VbLine& line = parse_.lines[pc];
      number_ = line.number;
      if (line.kind == VbLineKind::kStatement) {
        Execute(line.statement, pc);
      } else {
        FinderLine(line);
      }
      if (!error_.empty()) return Failed();
    }
    if (!parse_.function.empty()) {
      if (!result_) return {"the function returns nothing"};
      return {"", *result_, printed_};
    }
    if (acting_) return {"", 0, printed_};
    if (last_declared_.empty()) return {"no variable is declared"};
    return {"", static_cast<WindowHandle>(values_.at(last_declared_).number)};
  }

 private:
  ReplayResult Failed() const {
    return {"line " + std::to_string(number_) + ": " + error_};
  }
  ReplayResult Fail(std::string what) {
    error_ = std::move(what);
    return Failed();
  }
  Value Error(std::string what) {
    if (error_.empty()) error_ = std::move(what);
    return {};
  }

  Value* Variable(const std::string& name) {
    const auto found = values_.find(FoldVbName(name));
    if (found == values_.end()) {
      if (!dry_) Error(name + " is not declared");
      return nullptr;
    }
    return &found->second;
  }

  // A variable of the function's name hides it: a compile error.
  void HidesFunction(const std::string& name) {
    if (values_.contains(FoldVbName(name)))
      Error(name + " is a variable, not the function");
  }

  void Declare(const std::string& name, Value value) {
    if (!values_.emplace(FoldVbName(name), std::move(value)).second)
      Error(name + " is declared twice");
  }

  // The searches, as the finder code makes them.
  void FinderLine(const VbLine& line) {
    if (line.kind == VbLineKind::kDeclaration) {
      if (line.type != "String") last_declared_ = FoldVbName(line.variable);
      Declare(line.variable, line.type == "String" ? Value{.text = line.text} : Value{});
      return;
    }
    Value* assigned = Variable(line.variable);
    if (!assigned) return;
    if (line.kind == VbLineKind::kResult) {
      result_ = static_cast<WindowHandle>(assigned->number);
      return;
    }
    WindowHandle parent = 0;
    if (!line.parent.empty()) {
      const Value* found = Variable(line.parent);
      if (!found) return;
      parent = static_cast<WindowHandle>(found->number);
    }
    const auto after =
        static_cast<WindowHandle>(line.after_variable ? assigned->number : 0);
    assigned->number = Search(line, parent, after);
  }

  WindowHandle Search(const VbLine& line, WindowHandle parent, WindowHandle after) {
    if (line.kind == VbLineKind::kDesktop) return windows_.DesktopWindow();
    if (line.kind == VbLineKind::kDialogItem) return windows_.DialogItem(parent, line.id);
    if (line.kind == VbLineKind::kFindLike) {
      if (parse_.helper.number == 0) return Error("FindWindowLike is not in the code"), 0;
      const HelperStrings strings = HelperPassing(parse_);
      if (!strings.error.empty()) return Error(strings.error), 0;
      return FindLike(windows_, parent, after, line, strings);
    }
    const std::string_view function =
        line.kind == VbLineKind::kFindWindow ? "FindWindow" : "FindWindowEx";
    const Passing passing = PassingOf(parse_, line, function);
    if (!passing.error.empty()) return Error(passing.error), 0;
    // The API gets a C string: a Chr(0) would end the text there.
    const std::string_view class_name = *CString(line.class_name);
    const std::optional<std::string_view> title = CString(line.title);
    if (!passing.unicode && (!windows_.AnsiCodePageHolds(class_name) ||
                             (title && !windows_.AnsiCodePageHolds(*title)))) {
      return 0;
    }
    return title ? windows_.FindChildWithTitle(parent, after, class_name, *title)
                 : windows_.FindChild(parent, after, class_name);
  }

  // The statement at `pc`, which a jump moves.
  void Execute(std::string_view text, std::size_t& pc) {
    LineReader in(text);
    if (in.Take("If ")) {
      const Value condition = Expression(in);
      if (!in.Take(" Then")) return void(Error("If without Then"));
      if (in.AtEnd()) {
        if (!dry_ && condition.number == 0) pc = Closing(pc, "End If");
      } else if (!in.Take(" ")) {
        Error("more after Then");
      } else if (dry_ || condition.number != 0) {
        Execute(in.Rest(), pc);
      }
      return;
    }
    if (text == "End If" || text == "End Sub") return;
    if (text == "Exit Sub") {
      while (!dry_ && pc < parse_.lines.size() && parse_.lines[pc].statement != "End Sub")
        ++pc;
      loops_.clear();
      return;
    }
    if (text == "Exit For" || text == "Next") {
      if (dry_) return;
      if (loops_.empty()) return void(Error(std::string(text) + " outside a loop"));
      Loop& loop = loops_.back();
      Value* counter = Variable(loop.variable);
      if (text == "Next" && counter && ++counter->number <= loop.last) {
        pc = loop.start;
      } else {
        pc = Closing(loop.start, "Next");
        loops_.pop_back();
      }
      return;
    }
    if (in.Take("Public Sub ")) {
      // Its variables are its own.
      if (!in.Name() || !in.Take("()") || !in.AtEnd())
        Error("a Sub heading of another form");
      if (!dry_) values_.clear();
      return;
    }
    if (in.Take("Debug.Print ")) {
      const Value value = Expression(in);
      if (!dry_)
        printed_.push_back(value.text ? *value.text : std::to_string(value.number));
    } else if (in.Take("Const ")) {
      const auto name = in.Name();
      if (!name || !in.Take(" As Long = ")) return void(Error("a Const of another form"));
      const Value value = Expression(in);
      if (!dry_) Declare(*name, value);
    } else if (in.Take("For ")) {
      const auto name = in.Name();
      if (!name || !in.Take(" = ")) return void(Error("a For of another form"));
      const Value first = Expression(in);
      const Value last = in.Take(" To ") ? Expression(in) : Error("For without To");
      if (!in.AtEnd()) return void(Error("a For of another form"));
      Value* counter = dry_ ? nullptr : Variable(*name);
      if (!counter) return;
      counter->number = first.number;
      if (counter->number > last.number) {
        pc = Closing(pc, "Next");
      } else {
        loops_.push_back({pc, *name, last.number});
      }
      return;
    } else {
      const std::optional<std::string> name = in.Name();
      if (!name) return void(Error("no statement"));
      if (in.Take(" = ")) {
        const Value value = Expression(in);
        Value* assigned = Variable(*name);
        if (assigned && !dry_) {
          if (assigned->text.has_value() != value.text.has_value())
            return void(Error(*name + " is assigned a value of another type"));
          *assigned = value;
        }
      } else if (!in.Take(" ") || !Call(*name, in, false)) {
        return void(Error("no statement"));
      }
    }
    if (!in.AtEnd() && error_.empty()) Error("more after the statement");
  }

  // The line of the statement that closes the one at `pc`.
  std::size_t Closing(std::size_t pc, std::string_view close) const {
    int depth = 0;
    for (std::size_t i = pc + 1; i < parse_.lines.size(); ++i) {
      const std::string& text = parse_.lines[i].statement;
      const bool opens = close == "Next"
                             ? text.starts_with("For ")
                             : text.starts_with("If ") && text.ends_with(" Then");
      if (opens) ++depth;
      if (text == close && depth-- == 0) return i;
    }
    return parse_.lines.size();
  }

  // And, below the comparisons, below + and -, below *.
  Value Expression(LineReader& in) {
    Value value = Comparison(in);
    while (in.Take(" And ")) value = {value.number & Comparison(in).number};
    return value;
  }
  Value Comparison(LineReader& in) {
    const Value left = Sum(in);
    for (const bool equal : {true, false}) {
      if (in.Take(equal ? " = " : " <> ")) {
        const Value right = Sum(in);
        const bool same = left.text || right.text ? left.text == right.text
                                                  : left.number == right.number;
        return {same == equal ? -1 : 0};
      }
    }
    return left;
  }
  Value Sum(LineReader& in) {
    Value value = Product(in);
    for (;;) {
      if (in.Take(" + ")) {
        value.number += Product(in).number;
      } else if (in.Take(" - ")) {
        value.number -= Product(in).number;
      } else {
        return value;
      }
    }
  }
  Value Product(LineReader& in) {
    Value value = Primary(in);
    while (in.Take(" * ")) value.number *= Primary(in).number;
    return value;
  }

  Value Primary(LineReader& in) {
    if (in.Take("-")) return {-Primary(in).number};
    if (in.Take("(")) {
      const Value value = Expression(in);
      return in.Take(")") ? value : Error("a ( without its )");
    }
    if (in.Rest().starts_with("&H")) {
      const auto number = in.HexNumber();
      return number ? Value{*number} : Error("a malformed hexadecimal number");
    }
    if (in.Rest().starts_with("\"") || in.Rest().starts_with("Chr(") ||
        in.Rest().starts_with("ChrW(")) {
      auto text = in.StringExpression();
      return text ? Value{.text = std::move(*text)} : Error("a malformed string");
    }
    if (!in.Rest().empty() && in.Rest()[0] >= '0' && in.Rest()[0] <= '9') {
      const auto number = in.Integer();
      return number ? Value{*number} : Error("a malformed number");
    }
    const std::optional<std::string> name = in.Name();
    if (!name) return Error("no value");
    if (in.Take("$(")) {
      HidesFunction(*name);
      const Value first = Expression(in);
      const Value second = in.Take(", ") ? Expression(in) : Error("one argument too few");
      if (!in.Take(")")) return Error("a ( without its )");
      if (dry_) return {};
      if (*name == "String" && !first.text && second.number == 0 && !second.text) {
        return {.text = std::string(static_cast<std::size_t>(std::max(0LL, first.number)),
                                    '\0')};
      }
      if (*name == "Left" && first.text && !second.text) {
        if (second.number < 0) return Error("Left$ of a negative length");
        return {.text = CutToUtf16Units(*first.text,
                                        static_cast<std::size_t>(second.number))};
      }
      return Error(*name + "$ is not known here, or not with these arguments");
    }
    if (in.Take("(")) {
      Value value;
      if (!Call(*name, in, true, &value))
        return Error("a call of " + *name + " of another form");
      return value;
    }
    const Value* variable = Variable(*name);
    return variable ? *variable : Value{};
  }

  // A call: with its arguments in parentheses where it gives a value.
  bool Call(const std::string& name, LineReader& in, bool parentheses,
            Value* result = nullptr) {
    HidesFunction(name);
    if (name == "FindTarget" && parentheses) {
      if (!in.Take(")")) return false;
      if (!dry_ && !result_) Error("FindTarget has not run");
      *result = {result_.value_or(0)};
      return true;
    }
    if (name == "StrPtr" && parentheses) {
      LineReader copy = in;
      if (auto variable = in.Name(); variable && in.Take(")")) {
        const Value* value = Variable(*variable);
        if (value && !value->text) return Error(*variable + " is no String"), true;
        *result =
            value ? Value{.text = value->text, .buffer = FoldVbName(*variable)} : Value{};
        return true;
      }
      in = copy;
      *result = Expression(in);
      if (!dry_ && !result->text) Error("StrPtr of a number");
      return in.Take(")");
    }
    const auto function =
        std::ranges::find(kActionFunctions, name, &ActionFunction::name);
    if (function == std::end(kActionFunctions))
      return Error(name + " is not known here"), true;
    std::vector<Value> arguments;
    std::string by_reference;
    while (arguments.size() < function->parameters) {
      if (!arguments.empty() && !in.Take(", ")) return false;
      // SendMessageTimeout's answer goes into a variable.
      if (arguments.size() == 6) {
        const auto variable = in.Name();
        if (!variable) return false;
        by_reference = *variable;
        arguments.emplace_back();
      } else {
        arguments.push_back(Expression(in));
      }
    }
    if (parentheses && !in.Take(")")) return false;
    if (!parse_.declares.empty()) {
      const auto declare = std::ranges::find_if(parse_.declares, [&](const VbDeclare& d) {
        return FoldVbName(d.name) == FoldVbName(name);
      });
      if (declare == parse_.declares.end())
        return Error(name + " is called but not declared"), true;
      if (declare->entry != function->entry || declare->lib != function->lib ||
          declare->parameter_types.size() != function->parameters ||
          std::ranges::count(declare->by_reference, true) !=
              (by_reference.empty() ? 0 : 1) ||
          (!by_reference.empty() && !declare->by_reference.back())) {
        return Error(name + " is declared otherwise than it is called"), true;
      }
    }
    if (dry_ || !error_.empty()) return true;
    const Value answer = Act(name, arguments);
    if (!by_reference.empty() && answer.number != 0) {
      Value* variable = Variable(by_reference);
      if (variable && variable->text) Error(by_reference + " is a String");
      if (variable && answer.text) variable->number = std::stoll(*answer.text);
    }
    if (result) *result = {answer.number};
    return true;
  }

  // What the function does; SendMessageTimeout's answer in `text`.
  Value Act(const std::string& name, const std::vector<Value>& a) {
    auto handle = [&](std::size_t i) { return static_cast<WindowHandle>(a[i].number); };
    if (name == "Sleep") return {};
    if (name == "GetParent") return {windows_.Parent(handle(0))};
    if (name == "GetDlgCtrlID") return {windows_.ControlId(handle(0))};
    const long long message = a[1].number;
    if (name == "PostMessage") {
      if (message == kClick) return {acting_->PostClick(handle(0))};
      if (message == kClose) return {acting_->PostClose(handle(0))};
      return Error("posts message " + std::to_string(message));
    }
    if (name == "SendMessage") {
      if (message != kCommand) return Error("sends message " + std::to_string(message));
      return Command(handle(0), a[2].number, handle(3));
    }
    if ((a[4].number & kAbortIfHung) == 0 || a[5].number <= 0)
      return Error("a send that a hung window would hold");
    const int timeout = static_cast<int>(a[5].number);
    const WindowHandle window = handle(0);
    auto answered = [](long long result) { return Value{1, std::to_string(result)}; };
    switch (message) {
      case kGetTextLength:
      case kGetText: {
        const std::optional<std::string> text = acting_->LiveText(window, timeout);
        if (!text) return {};
        if (message == kGetTextLength)
          return answered(static_cast<long long>(Units(*text)));
        return Write(a[3], a[2].number, *text);
      }
      case kSetText: {
        const std::string text =
            a[3].text.value_or("").substr(0, a[3].text.value_or("").find('\0'));
        if (!a[3].text) return Error("WM_SETTEXT without a text");
        return acting_->SetLiveText(window, text, timeout) ? answered(1) : Value{};
      }
      case kGetCheck: {
        const std::optional<bool> checked = acting_->ButtonChecked(window, timeout);
        return checked ? answered(*checked ? 1 : 0) : Value{};
      }
      default:
        break;
    }
    const bool combo = message >= kCbGetCount && message <= kCbSelect;
    const std::optional<ItemRows> rows =
        acting_->Items(window, combo ? ItemList::kComboBox : ItemList::kListBox, timeout);
    if (!rows) return {};
    const long long count = static_cast<long long>(rows->size());
    const long long item = a[2].number;
    const bool held = item >= 0 && item < count;
    switch (message) {
      case kCbGetCount:
      case kLbGetCount:
        return answered(count);
      case kCbGetTextLength:
      case kLbGetTextLength:
        return answered(held ? static_cast<long long>(Units((*rows)[item][0])) : -1);
      case kCbGetText:
      case kLbGetText:
        if (!held) return answered(-1);
        return Write(a[3], static_cast<long long>(Units((*rows)[item][0])) + 1,
                     (*rows)[item][0]);
      case kCbSelect:
      case kLbSelect: {
        if (item != -1 || !a[3].text)
          return Error("a selection not searched from the start");
        const std::string wanted = a[3].text->substr(0, a[3].text->find('\0'));
        const auto found = std::ranges::find_if(*rows, [&](const auto& row) {
          return FoldVbName(row[0]).starts_with(FoldVbName(wanted));
        });
        if (found == rows->end()) return answered(-1);
        choice_ = {window, combo ? ItemList::kComboBox : ItemList::kListBox, wanted};
        return answered(found - rows->begin());
      }
      default:
        return Error("sends message " + std::to_string(message));
    }
  }

  // The text written into the buffer that StrPtr named, at most `capacity`
  // units with the terminator; the count written as the answer.
  Value Write(const Value& pointer, long long capacity, const std::string& text) {
    Value* buffer = pointer.buffer.empty() ? nullptr : &values_.at(pointer.buffer);
    if (!buffer || capacity < 1 ||
        Units(*buffer->text) < static_cast<std::size_t>(capacity))
      return Error("a text written past the end of its buffer");
    const std::string copied =
        CutToUtf16Units(text, static_cast<std::size_t>(capacity - 1));
    buffer->text = copied + std::string(Units(*buffer->text) - Units(copied), '\0');
    return {1, std::to_string(Units(copied))};
  }

  // WM_COMMAND to the parent, as a user's choice sends it after the
  // selection.
  Value Command(WindowHandle parent, long long w, WindowHandle control) {
    if (!choice_ || choice_->window != control)
      return Error("WM_COMMAND without a selection before it");
    if (parent != windows_.Parent(control) ||
        (w & 0xFFFF) != (windows_.ControlId(control) & 0xFFFF) ||
        (w >> 16) != kSelectionChange) {
      return Error("WM_COMMAND that is not the selection change of the control");
    }
    const Choice choice = *std::exchange(choice_, std::nullopt);
    return {acting_->ChooseItem(control, choice.list, choice.text, kAnyTimeoutMs)};
  }

  struct Loop {
    std::size_t start;
    std::string variable;
    long long last;
  };
  struct Choice {
    WindowHandle window;
    ItemList list;
    std::string text;
  };

  const VbParse& parse_;
  const WindowSystem& windows_;
  WindowSystem* acting_;
  bool dry_ = true;
  int number_ = 0;
  std::string error_;
  std::unordered_map<std::string, Value> values_;
  std::string last_declared_;
  std::optional<WindowHandle> result_;
  std::vector<Loop> loops_;
  std::optional<Choice> choice_;
  std::vector<std::string> printed_;
};

}  // namespace

ReplayResult ReplayFinderCode(std::string_view text, const WindowSystem& windows) {
  return Runner(ParseFinderCode(text), windows, nullptr).Run();
}

ReplayResult ReplayActionCode(std::string_view text, WindowSystem& windows, bool vba7) {
  return Runner(ParseFinderCode(text, vba7, true), windows, &windows).Run();
}

}  // namespace winscout::testing
