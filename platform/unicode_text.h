#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace winscout {

// The characters of UTF-8 text. A byte that starts no well-formed sequence
// stands for the character of its own value (as in Latin-1), so that any
// bytes give characters that a literal can spell.
std::u32string CodePoints(std::string_view utf8);

// A character of UTF-8 text and the bytes that spell it there.
struct Utf8Character {
  char32_t code = 0;
  std::string_view bytes;
};

// The characters of the text, read as CodePoints reads them.
std::vector<Utf8Character> Characters(std::string_view utf8);

// How many UTF-16 units the character takes: 2 past the basic plane.
std::size_t Utf16Units(char32_t code);

// The longest start of the text that takes at most `units` UTF-16 units and
// ends at a whole character, as Windows counts a text's capacity.
std::string CutToUtf16Units(std::string_view utf8, std::size_t units);

// The character in UTF-8; a surrogate or a value past U+10FFFF as U+FFFD.
std::string Utf8FromCodePoint(char32_t code);
// UTF-16 text in UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace winscout
