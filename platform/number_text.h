#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace winscout {

// A whole number written in decimal or (base 16) hex digits of either case,
// ten at most after any leading zeros, with no sign: nothing for any other text.
std::optional<std::int64_t> ParseNumber(std::string_view text, int base);

}  // namespace winscout
