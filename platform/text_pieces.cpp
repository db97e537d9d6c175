#include "platform/text_pieces.h"

#include <iterator>

namespace winscout {

std::string TextPieces::Take() { return std::move(text_); }

TextPieces& TextPieces::Signed(std::int64_t number) {
  if (number < 0) {
    text_ += '-';
    // The magnitude, INT64_MIN's included.
    return Unsigned(~static_cast<std::uint64_t>(number) + 1);
  }
  return Unsigned(static_cast<std::uint64_t>(number));
}

TextPieces& TextPieces::Unsigned(std::uint64_t number) {
  char digits[20];
  char* first = std::end(digits);
  do {
    *--first = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  text_.append(first, std::end(digits));
  return *this;
}

std::string DecimalText(std::int64_t number) { return (TextPieces() << number).Take(); }

}  // namespace winscout
