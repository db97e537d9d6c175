#include "codegen/literals.h"

#include "platform/unicode_text.h"

namespace winscout::codegen {

std::string CFamilyLiteral(std::string_view text, std::string_view opening,
                           std::string (*spell)(char32_t), bool escape_trigraphs) {
  std::string literal(opening);
  char32_t previous = 0;
  for (const char32_t c : CodePoints(text)) {
    if (c == '\\' || c == '"' || (escape_trigraphs && c == '?' && previous == '?')) {
      literal += '\\';
      literal += static_cast<char>(c);
    } else if (c == '\r') {
      literal += "\\r";
    } else if (c == '\n') {
      literal += "\\n";
    } else if (c == '\t') {
      literal += "\\t";
    } else if (c >= 0x20 && c < 0x7f) {
      literal += static_cast<char>(c);
    } else {
      literal += spell(c);
    }
    previous = c;
  }
  return literal + "\"";
}

std::string UniversalName(char32_t code) {
  return code <= 0xffff ? "\\u" + HexDigits(code, 4) : "\\U" + HexDigits(code, 8);
}

std::string HexDigits(char32_t code, int digits) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, code >>= 4) {
    hex[static_cast<std::size_t>(i)] = kDigits[code & 0xf];
  }
  return hex;
}

}  // namespace winscout::codegen
