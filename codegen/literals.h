#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The string literals of every language the code is written in: the bottom
// of codegen, which every other file may use and which uses none of them.

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

// A C++ wide string literal (L"...") for the UTF-8 text, in plain ASCII:
// backslash and quote escaped, control characters as \r, \n, \t or three-digit
// octal (which no following digit can extend), other characters as universal
// character names, and a second ? in a row escaped so that no trigraph forms.
std::string CppWideLiteral(std::string_view text);

// A C# string literal for the UTF-8 text, in plain ASCII: backslash and quote
// escaped, \r, \n and \t, every other character outside printable ASCII as
// \uXXXX (exactly four digits, so no following digit joins it) or \UXXXXXXXX.
std::string CSharpLiteral(std::string_view text);

// A Python string literal for the UTF-8 text, in plain ASCII: backslash and
// quote escaped, \r, \n and \t, every other character outside printable ASCII
// as \xXX, \uXXXX or \UXXXXXXXX, so the source reads the same in any encoding.
std::string PythonLiteral(std::string_view text);

// A Visual Basic string expression for the text: quotes doubled, control
// characters spliced in as Chr(N) and the characters that VB.NET also reads
// as quotes as ChrW(N), so that no class name can end its literal.
std::string VisualBasicLiteral(std::string_view text);

// The same, with every character outside ASCII in ChrW pieces, so that the
// literal holds the real text in any editor.
std::string VisualBasicUnicodeLiteral(std::string_view text);

// The pieces of that expression: quoted runs and calls, to be joined by " & ";
// every character outside ASCII a call where `unicode`.
std::vector<std::string> VisualBasicPieces(std::string_view text, bool unicode);

// The pieces from `from` up to `to` joined into one expression.
std::string JoinVisualBasicPieces(const std::vector<std::string>& pieces,
                                  std::size_t from = 0,
                                  std::size_t to = std::string::npos);

}  // namespace winscout::codegen
