#include "platform/number_text.h"

namespace winscout {

std::optional<std::int64_t> ParseNumber(std::string_view text, int base) {
  // Leading zeros do not count: 64-bit tools print a handle with sixteen digits.
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

}  // namespace winscout
