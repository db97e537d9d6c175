#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace winscout {

// Text put together piece by piece in one string: words, and whole numbers in
// decimal. Chains of `+` make a string for each step; this makes none, which
// keeps the code that spells many short texts small.
class TextPieces {
 public:
  TextPieces() = default;
  explicit TextPieces(std::string start) : text_(std::move(start)) {}

  TextPieces& operator<<(std::string_view piece) {
    text_ += piece;
    return *this;
  }
  // Numbers, never characters: a char is a piece of text.
  template <std::integral Number>
  requires(!std::same_as<Number, char> && !std::same_as<Number, bool>) TextPieces&
  operator<<(Number number) {
    if constexpr (std::signed_integral<Number>) {
      return Signed(number);
    } else {
      return Unsigned(number);
    }
  }
  TextPieces& operator<<(char c) {
    text_ += c;
    return *this;
  }

  bool empty() const { return text_.empty(); }
  // Not inlined: the compiler takes the string's move for free and would
  // spell it again at each use.
  [[gnu::noinline]] std::string Take();

 private:
  TextPieces& Signed(std::int64_t number);
  TextPieces& Unsigned(std::uint64_t number);

  std::string text_;
};

// The number in decimal.
std::string DecimalText(std::int64_t number);

}  // namespace winscout
