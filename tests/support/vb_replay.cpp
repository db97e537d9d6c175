#include "tests/support/vb_replay.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

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
class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

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

  std::optional<int> Decimal(int max) {
    const auto end = std::find_if_not(rest_.begin(), rest_.end(),
                                      [](char c) { return c >= '0' && c <= '9'; });
    const std::string_view digits =
        rest_.substr(0, static_cast<std::size_t>(end - rest_.begin()));
    if (digits.empty() || digits.size() > 5 || (digits.size() > 1 && digits[0] == '0')) {
      return std::nullopt;
    }
    int code = 0;
    for (char d : digits) code = code * 10 + (d - '0');
    if (code > max) return std::nullopt;
    rest_.remove_prefix(digits.size());
    return code;
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
};

std::optional<VbLine> ParseDeclaration(std::string_view text) {
  LineReader in(text);
  VbLine line;
  if (!in.Take("Dim ")) return std::nullopt;
  auto name = in.Name();
  if (!name || !in.Take(" As Long") || !in.AtEnd()) return std::nullopt;
  line.variable = std::move(*name);
  return line;
}

std::optional<VbLine> ParseCall(std::string_view text) {
  LineReader in(text);
  VbLine line;
  auto variable = in.Name();
  if (!variable) return std::nullopt;
  line.variable = std::move(*variable);
  if (in.Take(" = GetDesktopWindow()")) {
    if (!in.AtEnd()) return std::nullopt;
    line.kind = VbLineKind::kDesktop;
    return line;
  }
  if (in.Take(" = FindWindow(")) {
    line.kind = VbLineKind::kFindWindow;
  } else if (in.Take(" = FindWindowEx(")) {
    line.kind = VbLineKind::kFindWindowEx;
    auto parent = in.Name();
    if (!parent || !in.Take(", ")) return std::nullopt;
    if (*parent != "0") line.parent = std::move(*parent);
    auto after = in.Name();
    if (!after || !in.Take(", ")) return std::nullopt;
    // A further search continues after the window it assigns to.
    if (*after != "0") {
      if (FoldVbName(*after) != FoldVbName(line.variable)) return std::nullopt;
      line.after_variable = true;
    }
  } else {
    return std::nullopt;
  }
  auto class_name = in.StringExpression();
  if (!class_name || !in.Take(", vbNullString)") || !in.AtEnd()) return std::nullopt;
  line.class_name = std::move(*class_name);
  return line;
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

VbParse ParseFinderCode(std::string_view text) {
  VbParse parse;
  int number = 0;
  if (text.starts_with("'")) {
    const std::string_view comment = text.substr(0, text.find(kLineBreak));
    parse.unicode_calls = comment.find("FindWindowW") != std::string_view::npos &&
                          comment.find("FindWindowExW") != std::string_view::npos;
    if (comment.size() == text.size()) {
      parse.error = "line 1 is a comment and there is nothing after it";
      return parse;
    }
    text.remove_prefix(comment.size() + kLineBreak.size());
    ++number;
  }
  for (;;) {
    ++number;
    const std::size_t end = text.find(kLineBreak);
    const std::string_view content = text.substr(0, end);
    std::optional<VbLine> line = ParseDeclaration(content);
    if (!line) line = ParseCall(content);
    if (!line) {
      parse.error = "line " + std::to_string(number) + " matches no line form: [" +
                    VisibleText(content) + "]";
      return parse;
    }
    line->number = number;
    parse.lines.push_back(std::move(*line));
    if (end == std::string_view::npos) return parse;
    text.remove_prefix(end + kLineBreak.size());
  }
}

std::ostream& operator<<(std::ostream& out, const ReplayResult& result) {
  if (!result.Ran()) return out << "replay failed: " << result.error;
  return out << "replay found " << result.found;
}

ReplayResult ReplayFinderCode(std::string_view text, const WindowSystem& windows) {
  const VbParse parse = ParseFinderCode(text);
  if (!parse.error.empty()) return {parse.error};
  std::unordered_map<std::string, WindowHandle> values;
  std::string last_declared;
  auto failure = [](const VbLine& line, const std::string& what) {
    return ReplayResult{"line " + std::to_string(line.number) + ": " + what};
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
    if (line.kind == VbLineKind::kDesktop) {
      assigned->second = windows.DesktopWindow();
      continue;
    }
    // The API gets a C string: a Chr(0) would end the class name there.
    const std::string_view class_name =
        std::string_view(line.class_name).substr(0, line.class_name.find('\0'));
    if (!parse.unicode_calls && !windows.AnsiCodePageHolds(class_name)) {
      assigned->second = 0;
      continue;
    }
    if (line.kind == VbLineKind::kFindWindow) {
      assigned->second = windows.FindTopLevel(class_name);
      continue;
    }
    WindowHandle parent = 0;
    if (!line.parent.empty()) {
      const auto found = values.find(FoldVbName(line.parent));
      if (found == values.end()) return failure(line, line.parent + " is not declared");
      parent = found->second;
    }
    const WindowHandle after = line.after_variable ? assigned->second : 0;
    assigned->second = windows.FindChild(parent, after, class_name);
  }
  if (last_declared.empty()) return {"no variable is declared"};
  return {"", values.at(last_declared)};
}

}  // namespace winscout::testing
