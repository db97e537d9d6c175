#include "cli/json_reader.h"

#include "platform/unicode_text.h"

namespace winscout::cli {
namespace {

// Nested deeper than this, the text is not one WinScout wrote.
constexpr int kDeepest = 64;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::optional<JsonValue> Whole() {
    std::optional<JsonValue> value = Value(0);
    SkipSpace();
    if (at_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  void SkipSpace() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
      ++at_;
    }
  }
  bool Take(char c) {
    SkipSpace();
    if (at_ == text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  std::optional<JsonValue> Value(int depth) {
    SkipSpace();
    if (at_ == text_.size() || depth > kDeepest) return std::nullopt;
    JsonValue value;
    const char c = text_[at_];
    if (c == '{' || c == '[') {
      value.kind = c == '{' ? JsonValue::Kind::kObject : JsonValue::Kind::kArray;
      ++at_;
      const char close = c == '{' ? '}' : ']';
      if (Take(close)) return value;
      do {
        if (c == '{') {
          SkipSpace();
          std::optional<std::string> key = String();
          if (!key || !Take(':')) return std::nullopt;
          value.keys.push_back(std::move(*key));
        }
        std::optional<JsonValue> item = Value(depth + 1);
        if (!item) return std::nullopt;
        value.items.push_back(std::move(*item));
      } while (Take(','));
      return Take(close) ? std::optional(std::move(value)) : std::nullopt;
    }
    if (c == '"') {
      std::optional<std::string> text = String();
      if (!text) return std::nullopt;
      value.kind = JsonValue::Kind::kString;
      value.text = std::move(*text);
    } else if (TakeWord("true") || TakeWord("false")) {
      value.kind = JsonValue::Kind::kBool;
      value.boolean = c == 't';
    } else if (TakeWord("null")) {
      value.kind = JsonValue::Kind::kNull;
    } else {
      const bool negative = c == '-';
      if (negative) ++at_;
      const std::size_t start = at_;
      std::uint64_t magnitude = 0;
      for (; at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9'; ++at_) {
        magnitude = magnitude * 10 + static_cast<unsigned>(text_[at_] - '0');
        if (magnitude > (std::uint64_t{1} << 53)) return std::nullopt;
      }
      if (at_ == start) return std::nullopt;
      value.kind = JsonValue::Kind::kNumber;
      value.number = negative ? -static_cast<std::int64_t>(magnitude)
                              : static_cast<std::int64_t>(magnitude);
    }
    return value;
  }

  // At the opening quote; UTF-16 escapes, surrogate pairs among them, become
  // UTF-8.
  std::optional<std::string> String() {
    if (at_ == text_.size() || text_[at_] != '"') return std::nullopt;
    ++at_;
    std::string out;
    std::u16string units;  // escaped units waiting for their pair
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c != '\\' && !units.empty()) {
        out += Utf8FromUtf16(units);
        units.clear();
      }
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ == text_.size()) return std::nullopt;
      const char escape = text_[at_++];
      if (escape == 'u') {
        if (at_ + 4 > text_.size()) return std::nullopt;
        char16_t unit = 0;
        for (int i = 0; i < 4; ++i) {
          const char h = text_[at_++];
          const int digit = h >= '0' && h <= '9'   ? h - '0'
                            : h >= 'a' && h <= 'f' ? h - 'a' + 10
                            : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                   : -1;
          if (digit < 0) return std::nullopt;
          unit = static_cast<char16_t>(unit * 16 + digit);
        }
        units += unit;
        continue;
      }
      if (!units.empty()) {
        out += Utf8FromUtf16(units);
        units.clear();
      }
      const std::size_t known = std::string_view("\"\\/bfnrt").find(escape);
      if (known == std::string_view::npos) return std::nullopt;
      out += "\"\\/\b\f\n\r\t"[known];
    }
    return std::nullopt;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Field(std::string_view key) const {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return &items[i];
  }
  return nullptr;
}

std::optional<JsonValue> ReadJson(std::string_view text) { return Reader(text).Whole(); }

}  // namespace winscout::cli
