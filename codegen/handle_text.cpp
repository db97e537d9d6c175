#include "codegen/handle_text.h"

#include <cstdint>
#include <string>

namespace winscout::codegen {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A decimal number as significant digits times a power of ten.
struct Decimal {
  bool negative = false;
  std::string digits;  // no leading or trailing zeros; empty for zero
  std::int64_t exponent = 0;
};

// Larger exponents make every nonzero value out of range and every fraction
// round to 0 all the same; the cap keeps the arithmetic in range.
constexpr std::int64_t kExponentCap = 1'000'000'000;

bool ParseDecimal(std::string_view text, Decimal& out) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    out.negative = text[i] == '-';
    ++i;
  }
  std::size_t mantissa_digits = 0;
  std::int64_t fraction_digits = 0;
  bool in_fraction = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++mantissa_digits;
      if (in_fraction) ++fraction_digits;
      if (!out.digits.empty() || text[i] != '0') out.digits += text[i];
    } else if (text[i] == '.' && !in_fraction) {
      in_fraction = true;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return false;
  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exponent_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      exponent_negative = text[i] == '-';
      ++i;
    }
    if (i == text.size() || !IsDigit(text[i])) return false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
    }
    if (exponent_negative) exponent = -exponent;
  }
  if (i != text.size()) return false;
  // Fraction digits that were leading zeros are gone from `digits` but still
  // count for the exponent.
  out.exponent = exponent - fraction_digits;
  while (!out.digits.empty() && out.digits.back() == '0') {
    out.digits.pop_back();
    ++out.exponent;
  }
  return true;
}

// Rounds half to even; false when the magnitude cannot fit 32 bits.
bool RoundToMagnitude(const Decimal& d, std::uint64_t& magnitude) {
  magnitude = 0;
  if (d.digits.empty()) return true;
  const auto length = static_cast<std::int64_t>(d.digits.size());
  const std::int64_t integer_digits = length + d.exponent;
  if (integer_digits > 10) return false;
  for (std::int64_t k = 0; k < integer_digits; ++k) {
    magnitude = magnitude * 10 + (k < length ? d.digits[k] - '0' : 0);
  }
  if (integer_digits >= length || integer_digits < 0) return true;
  // Digits after the point start at index integer_digits; since trailing
  // zeros are stripped, anything after a leading 5 makes it more than a half.
  const char first = d.digits[static_cast<std::size_t>(integer_digits)];
  const bool more_than_half =
      first > '5' || (first == '5' && integer_digits + 1 < length);
  const bool exactly_half = first == '5' && integer_digits + 1 == length;
  if (more_than_half || (exactly_half && magnitude % 2 == 1)) ++magnitude;
  return true;
}

}  // namespace

ParsedHandleText ParseHandleText(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  Decimal decimal;
  if (!ParseDecimal(trimmed, decimal)) return {HandleTextKind::kNotNumeric};
  if (trimmed == "0") return {HandleTextKind::kNoHandle};
  std::uint64_t magnitude = 0;
  const std::uint64_t limit = decimal.negative ? 0x80000000u : 0x7fffffffu;
  if (!RoundToMagnitude(decimal, magnitude) || magnitude > limit) {
    return {HandleTextKind::kOutOfRange};
  }
  const auto value = static_cast<std::int64_t>(magnitude);
  return {HandleTextKind::kHandle,
          static_cast<WindowHandle>(decimal.negative ? -value : value)};
}

}  // namespace winscout::codegen
