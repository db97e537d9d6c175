#pragma once

#include <string>
#include <string_view>

namespace winscout::codegen {

// A double-quoted literal as the C family writes it: backslash and quote
// escaped, CR, LF and tab as \r \n \t, printable ASCII as it is (a "?" after
// another escaped where `escape_trigraphs`), and any other character as
// `spell` writes it.
std::string CFamilyLiteral(std::string_view text, std::string_view opening,
                           std::string (*spell)(char32_t), bool escape_trigraphs = false);

// \uXXXX, or \UXXXXXXXX past the basic plane.
std::string UniversalName(char32_t code);

// The code in upper-case hexadecimal, `digits` digits wide.
std::string HexDigits(char32_t code, int digits);

}  // namespace winscout::codegen
