#include "platform/packed_text.h"

#include <cstddef>
#include <cstdint>

namespace winscout {
namespace {

// The packed bytes' bits, the lowest of each byte first. Past the end every
// bit is 0 and `over` says so.
class Bits {
 public:
  explicit Bits(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  unsigned Get(int count) {
    unsigned value = 0;
    for (int i = 0; i < count; ++i, ++at_) {
      if (at_ / 8 >= bytes_.size()) {
        over = true;
        return 0;
      }
      value |= (bytes_[at_ / 8] >> at_ % 8 & 1u) << i;
    }
    return value;
  }
  void ToByte() { at_ = (at_ + 7) / 8 * 8; }

  bool over = false;

 private:
  std::span<const unsigned char> bytes_;
  std::size_t at_ = 0;
};

// A canonical Huffman code: how many codes each length has, and the symbols
// in the order of their codes.
struct Code {
  std::uint16_t counts[16] = {};
  std::uint16_t symbols[288] = {};
};

void Build(Code& code, const std::uint8_t* lengths, int count) {
  std::uint16_t next[16] = {};
  for (int i = 0; i < count; ++i) ++code.counts[lengths[i]];
  code.counts[0] = 0;
  for (int length = 1; length < 15; ++length)
    next[length + 1] = next[length] + code.counts[length];
  for (int i = 0; i < count; ++i) {
    if (lengths[i] != 0) code.symbols[next[lengths[i]]++] = static_cast<std::uint16_t>(i);
  }
}

// The next symbol, or -1 where the bits are no code.
int Decode(Bits& bits, const Code& code) {
  int value = 0, first = 0, index = 0;
  for (int length = 1; length < 16; ++length) {
    value |= static_cast<int>(bits.Get(1));
    const int count = code.counts[length];
    if (value - first < count) return code.symbols[index + value - first];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
  }
  return -1;
}

// A length's (from 257) or a distance's (from 0) base and extra bits: the
// extra bits grow by one every four lengths, every two distances.
unsigned LengthOrDistance(Bits& bits, int symbol, bool distance) {
  const int group = distance ? 2 : 4;
  unsigned base = distance ? 1 : 3;
  for (int i = 0; i < symbol; ++i) base += 1u << (i < 2 * group ? 0 : i / group - 1);
  if (!distance && symbol == 28) return 258;
  return base + bits.Get(symbol < 2 * group ? 0 : symbol / group - 1);
}

// The lengths of a block's two codes, themselves coded (RFC 1951, 3.2.7).
bool ReadCodes(Bits& bits, Code& literals, Code& distances) {
  static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
  const int literal_count = static_cast<int>(bits.Get(5)) + 257;
  const int distance_count = static_cast<int>(bits.Get(5)) + 1;
  const int length_count = static_cast<int>(bits.Get(4)) + 4;
  std::uint8_t lengths[320] = {};
  for (int i = 0; i < length_count; ++i)
    lengths[kOrder[i]] = static_cast<std::uint8_t>(bits.Get(3));
  Code length_code;
  Build(length_code, lengths, 19);
  for (int i = 0; i < literal_count + distance_count;) {
    const int symbol = Decode(bits, length_code);
    if (symbol < 0 || bits.over) return false;
    if (symbol < 16) {
      lengths[i++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    if (symbol == 16 && i == 0) return false;
    const std::uint8_t repeated = symbol == 16 ? lengths[i - 1] : 0;
    const unsigned times = symbol == 16   ? 3 + bits.Get(2)
                           : symbol == 17 ? 3 + bits.Get(3)
                                          : 11 + bits.Get(7);
    if (i + times > static_cast<unsigned>(literal_count + distance_count)) return false;
    for (unsigned n = 0; n < times; ++n) lengths[i++] = repeated;
  }
  Build(literals, lengths, literal_count);
  Build(distances, lengths + literal_count, distance_count);
  return true;
}

}  // namespace

std::string UnpackText(std::span<const unsigned char> packed) {
  std::string text;
  Bits bits(packed);
  for (bool last = false; !last && !bits.over;) {
    last = bits.Get(1) != 0;
    const unsigned type = bits.Get(2);
    if (type == 0) {
      bits.ToByte();
      const unsigned size = bits.Get(16);
      bits.Get(16);  // the size's complement
      for (unsigned i = 0; i < size && !bits.over; ++i)
        text += static_cast<char>(bits.Get(8));
      continue;
    }
    Code literals, distances;
    if (type == 1) {
      std::uint8_t lengths[288 + 30];
      for (int i = 0; i < 288; ++i)
        lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
      for (int i = 288; i < 288 + 30; ++i) lengths[i] = 5;
      Build(literals, lengths, 288);
      Build(distances, lengths + 288, 30);
    } else if (type != 2 || !ReadCodes(bits, literals, distances)) {
      break;
    }
    for (;;) {
      const int symbol = Decode(bits, literals);
      if (symbol < 0 || symbol > 285 || bits.over) return text;
      if (symbol == 256) break;
      if (symbol < 256) {
        text += static_cast<char>(symbol);
        continue;
      }
      const unsigned length = LengthOrDistance(bits, symbol - 257, false);
      const int distance_symbol = Decode(bits, distances);
      if (distance_symbol < 0 || distance_symbol > 29) return text;
      const std::size_t distance = LengthOrDistance(bits, distance_symbol, true);
      if (distance > text.size() || bits.over) return text;
      // Byte by byte: a copy may reach into what it writes.
      for (unsigned n = 0; n < length; ++n) text += text[text.size() - distance];
    }
  }
  return text;
}

}  // namespace winscout
