#include "codegen/literals.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/text_pieces.h"
#include "platform/unicode_text.h"

namespace winscout::codegen {
namespace {

std::string Octal(char32_t code) {
  return {'\\', static_cast<char>('0' + ((code >> 6) & 7)),
          static_cast<char>('0' + ((code >> 3) & 7)),
          static_cast<char>('0' + (code & 7))};
}

// The characters that VB.NET's scanner reads as a double quote besides the
// ASCII one (the left and right quotation marks and the full-width quote):
// raw, they would end the literal.
constexpr char32_t kOtherQuotes[] = {0x201c, 0x201d, 0xff02};

}  // namespace

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

std::string CppWideLiteral(std::string_view text) {
  // Some compilers refuse universal character names below U+00A0; octal has
  // three digits at most, so no following digit can extend it.
  return CFamilyLiteral(
      text, "L\"", [](char32_t c) { return c < 0xa0 ? Octal(c) : UniversalName(c); },
      /*escape_trigraphs=*/true);
}

std::string CSharpLiteral(std::string_view text) {
  // \x would take up to four hex digits, so the fixed-width forms only.
  return CFamilyLiteral(text, "\"", UniversalName);
}

std::string PythonLiteral(std::string_view text) {
  return CFamilyLiteral(text, "\"", [](char32_t c) {
    return c <= 0xff ? "\\x" + HexDigits(c, 2) : UniversalName(c);
  });
}

// The Unicode form spells every character outside ASCII as ChrW pieces, so
// that the literal holds the real name in any editor; a character past the
// basic plane takes two, its surrogates.
std::vector<std::string> VisualBasicPieces(std::string_view text, bool unicode) {
  // Quoted runs and calls, with no empty run between calls.
  std::vector<std::string> pieces;
  std::string run;
  auto splice = [&](std::string call) {
    if (!run.empty()) pieces.push_back("\"" + std::exchange(run, {}) + "\"");
    pieces.push_back(std::move(call));
  };
  auto call = [](std::string_view function, char32_t code) {
    return std::string(function) + "(" + DecimalText(code) + ")";
  };
  for (const auto& [c, bytes] : Characters(text)) {
    if (c == '"') {
      run += "\"\"";
    } else if (c < 0x20 || c == 0x7f) {
      splice(call("Chr", c));
    } else if (std::ranges::find(kOtherQuotes, c) != std::end(kOtherQuotes) ||
               (unicode && c >= 0x80)) {
      splice(c > 0xffff ? call("ChrW", 0xd800 + ((c - 0x10000) >> 10)) + " & " +
                              call("ChrW", 0xdc00 + ((c - 0x10000) & 0x3ff))
                        : call("ChrW", c));
    } else {
      run += bytes;
    }
  }
  if (!run.empty() || pieces.empty()) pieces.push_back("\"" + run + "\"");
  return pieces;
}

std::string JoinVisualBasicPieces(const std::vector<std::string>& pieces,
                                  std::size_t from, std::size_t to) {
  std::string expression;
  for (std::size_t i = from; i < std::min(to, pieces.size()); ++i) {
    if (i > from) expression += " & ";
    expression += pieces[i];
  }
  return expression;
}

std::string VisualBasicLiteral(std::string_view text) {
  return JoinVisualBasicPieces(VisualBasicPieces(text, false));
}

std::string VisualBasicUnicodeLiteral(std::string_view text) {
  return JoinVisualBasicPieces(VisualBasicPieces(text, true));
}

}  // namespace winscout::codegen
