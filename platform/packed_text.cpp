#include "platform/packed_text.h"

#include <cstddef>

namespace winscout {

std::string UnpackText(std::span<const unsigned char> packed) {
  std::string text;
  unsigned copies = 0;
  for (std::size_t i = 0, item = 0; i < packed.size(); item = (item + 1) % 8) {
    if (item == 0) copies = packed[i++];
    if (i == packed.size()) break;
    if (!(copies >> item & 1)) {
      text += static_cast<char>(packed[i++]);
      continue;
    }
    if (i + 1 == packed.size()) break;
    const unsigned copy = packed[i] | packed[i + 1] << 8;
    i += 2;
    const std::size_t distance = (copy >> 4) + 1;
    if (distance > text.size()) break;
    // Byte by byte: a copy may reach into what it writes.
    for (unsigned n = (copy & 0xf) + 3; n > 0; --n) text += text[text.size() - distance];
  }
  return text;
}

}  // namespace winscout
