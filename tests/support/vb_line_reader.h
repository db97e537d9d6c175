#pragma once

// The line reader that the Visual Basic replay's parser (vb_parse.cpp) and its
// interpreter (vb_replay.cpp) both read the code's lines with.

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/unicode_text.h"
#include "tests/support/vb_replay.h"

namespace winscout::testing {

inline bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_';
}

inline bool IsControl(char c) {
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

}  // namespace winscout::testing
