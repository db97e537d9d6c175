#include "codegen/finder_texts.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "platform/packed_text.h"

namespace winscout::codegen {
namespace {

struct FinderText {
  FinderPart part;
  std::uint16_t begin, end;  // in the texts unpacked
};

#include "codegen/finder_texts.inc"

constexpr bool InPartOrder() {
  for (std::size_t i = 0; i < std::size(kFinderTexts); ++i) {
    if (static_cast<std::size_t>(kFinderTexts[i].part) != i) return false;
  }
  return true;
}
static_assert(InPartOrder(), "finder_texts.txt lists the parts in FinderPart's order");

// Unpacked once, as the program starts: a constant rather than a static of a
// function, whose guard would bring the C++ runtime's exception machinery in.
const std::string kTexts = UnpackText(kPackedFinderTexts);

}  // namespace

std::vector<std::string> FinderTextLines(FinderPart part) {
  std::vector<std::string> lines;
  AppendFinderText(lines, part);
  return lines;
}

std::string FinderPartText(FinderPart part) {
  const auto& entry = kFinderTexts[static_cast<int>(part)];
  return kTexts.substr(entry.begin, entry.end - entry.begin);
}

void AppendFinderText(std::vector<std::string>& lines, FinderPart part) {
  const std::string text = FinderPartText(part);
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace winscout::codegen
