#include "tests/support/vb_replay.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

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

// Private Declare [PtrSafe ]Function N Lib "user32" [Alias "E" ](params) As T
std::optional<VbDeclare> ParseDeclare(std::string_view text) {
  LineReader in(text);
  VbDeclare declare;
  if (!in.Take("Private Declare ")) return std::nullopt;
  declare.ptr_safe = in.Take("PtrSafe ");
  auto name = in.Take("Function ") ? in.Name() : std::nullopt;
  if (!name || !in.Take(" Lib \"user32\" ")) return std::nullopt;
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
    auto parameter = in.Take("ByVal ") ? in.Name() : std::nullopt;
    auto type = parameter && in.Take(" As ") ? in.Name() : std::nullopt;
    if (!type) return std::nullopt;
    declare.parameter_types.push_back(std::move(*type));
  }
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

VbParse ParseFinderCode(std::string_view text, bool vba7) {
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
    } else if (line_text.empty() && content.empty() && after_block) {
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
      } else {
        std::optional<VbLine> line = ParseDeclaration(line_text);
        if (!line) line = ParseCall(line_text, parse.function, texts);
        if (!line) return fail(number, "matches no line form", content);
        line->number = number;
        parse.lines.push_back(std::move(*line));
      }
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + kLineBreak.size());
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

}  // namespace

ReplayResult ReplayFinderCode(std::string_view text, const WindowSystem& windows) {
  const VbParse parse = ParseFinderCode(text);
  if (!parse.error.empty()) return {parse.error};
  std::unordered_map<std::string, WindowHandle> values;
  std::string last_declared;
  std::optional<WindowHandle> result;
  auto failure = [](const VbLine& line, const std::string& what) {
    return ReplayResult{"line " + std::to_string(line.number) + ": " + what};
  };
  // The API gets a C string: a Chr(0) would end the text there.
  auto c_string = [](const std::string& value) {
    return std::string_view(value).substr(0, value.find('\0'));
  };
  for (const VbLine& line : parse.lines) {
    if (line.kind == VbLineKind::kDeclaration) {
      last_declared = FoldVbName(line.variable);
      if (!values.emplace(last_declared, 0).second) {
        return failure(line, line.variable + " is declared twice");
      }
      continue;
    }
    const auto assigned = values.find(FoldVbName(line.variable));
    if (assigned == values.end())
      return failure(line, line.variable + " is not declared");
    if (line.kind == VbLineKind::kResult) {
      result = assigned->second;
      continue;
    }
    WindowHandle parent = 0;
    if (!line.parent.empty()) {
      const auto found = values.find(FoldVbName(line.parent));
      if (found == values.end()) return failure(line, line.parent + " is not declared");
      parent = found->second;
    }
    if (line.kind == VbLineKind::kDesktop) {
      assigned->second = windows.DesktopWindow();
      continue;
    }
    if (line.kind == VbLineKind::kDialogItem) {
      assigned->second = windows.DialogItem(parent, line.id);
      continue;
    }
    if (line.kind == VbLineKind::kFindLike) {
      if (parse.helper.number == 0)
        return failure(line, "FindWindowLike is not in the code");
      const HelperStrings strings = HelperPassing(parse);
      if (!strings.error.empty()) return failure(line, strings.error);
      assigned->second = FindLike(
          windows, parent, line.after_variable ? assigned->second : 0, line, strings);
      continue;
    }
    const std::string_view function =
        line.kind == VbLineKind::kFindWindow ? "FindWindow" : "FindWindowEx";
    const Passing passing = PassingOf(parse, line, function);
    if (!passing.error.empty()) return failure(line, passing.error);
    const std::string_view class_name = c_string(*line.class_name.value);
    const std::optional<std::string_view> title =
        line.title.value ? std::optional(c_string(*line.title.value)) : std::nullopt;
    if (!passing.unicode && (!windows.AnsiCodePageHolds(class_name) ||
                             (title && !windows.AnsiCodePageHolds(*title)))) {
      assigned->second = 0;
      continue;
    }
    const WindowHandle after = line.after_variable ? assigned->second : 0;
    assigned->second = title
                           ? windows.FindChildWithTitle(parent, after, class_name, *title)
                           : windows.FindChild(parent, after, class_name);
  }
  if (last_declared.empty()) return {"no variable is declared"};
  if (!parse.function.empty()) {
    if (!result) return {"the function returns nothing"};
    return {"", *result};
  }
  return {"", values.at(last_declared)};
}

}  // namespace winscout::testing
