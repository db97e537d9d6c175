#include "platform/unicode_text.h"

namespace winscout {
namespace {

// A well-formed UTF-8 sequence: its length, and the range of its second
// byte (the ranges that rule out overlong forms, surrogates and code points
// past U+10FFFF); further bytes are 80..BF.
struct SequenceForm {
  std::size_t length = 0;
  unsigned char second_low = 0x80;
  unsigned char second_high = 0xbf;
};

SequenceForm FormOf(unsigned char lead) {
  if (lead >= 0xc2 && lead <= 0xdf) return {2};
  if (lead == 0xe0) return {3, 0xa0, 0xbf};
  if (lead == 0xed) return {3, 0x80, 0x9f};
  if (lead >= 0xe1 && lead <= 0xef) return {3};
  if (lead == 0xf0) return {4, 0x90, 0xbf};
  if (lead >= 0xf1 && lead <= 0xf3) return {4};
  if (lead == 0xf4) return {4, 0x80, 0x8f};
  return {};
}

// The character that starts at `i`, and how many bytes it takes.
struct Decoded {
  char32_t code = 0;
  std::size_t length = 1;
};

Decoded DecodeAt(std::string_view utf8, std::size_t i) {
  const auto lead = static_cast<unsigned char>(utf8[i]);
  if (lead < 0x80) return {lead};
  const SequenceForm form = FormOf(lead);
  bool well_formed = form.length > 0 && i + form.length <= utf8.size();
  char32_t code = lead & (0x7f >> form.length);
  for (std::size_t j = 1; well_formed && j < form.length; ++j) {
    const auto next = static_cast<unsigned char>(utf8[i + j]);
    const unsigned char low = j == 1 ? form.second_low : 0x80;
    const unsigned char high = j == 1 ? form.second_high : 0xbf;
    well_formed = next >= low && next <= high;
    code = (code << 6) | (next & 0x3f);
  }
  return well_formed ? Decoded{code, form.length} : Decoded{lead};
}

}  // namespace

std::u32string CodePoints(std::string_view utf8) {
  std::u32string text;
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded decoded = DecodeAt(utf8, i);
    text += decoded.code;
    i += decoded.length;
  }
  return text;
}

std::vector<Utf8Character> Characters(std::string_view utf8) {
  std::vector<Utf8Character> characters;
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded decoded = DecodeAt(utf8, i);
    characters.push_back({decoded.code, utf8.substr(i, decoded.length)});
    i += decoded.length;
  }
  return characters;
}

std::size_t Utf16Units(char32_t code) { return code > 0xffff ? 2 : 1; }

std::string CutToUtf16Units(std::string_view utf8, std::size_t units) {
  std::size_t end = 0;
  while (end < utf8.size()) {
    const Decoded decoded = DecodeAt(utf8, end);
    if (Utf16Units(decoded.code) > units) break;
    units -= Utf16Units(decoded.code);
    end += decoded.length;
  }
  return std::string(utf8.substr(0, end));
}

std::string Utf8FromCodePoint(char32_t code) {
  if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = 0xFFFD;
  std::string bytes;
  if (code < 0x80) {
    bytes += static_cast<char>(code);
  } else if (code < 0x800) {
    bytes += static_cast<char>(0xC0 | (code >> 6));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    bytes += static_cast<char>(0xE0 | (code >> 12));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (code >> 18));
    bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  }
  return bytes;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string utf8;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    utf8 += Utf8FromCodePoint(code);
  }
  return utf8;
}

}  // namespace winscout
