#include "codegen/template_text.h"

namespace winscout::codegen {

std::size_t PlaceholderLength(std::string_view text) {
  if (text.size() < 3 || text[0] != '{') return 0;
  // A local's name keeps its capitals; a value's is lower case.
  const bool local = text[1] == '@';
  std::size_t end = local ? 2 : 1;
  auto is_letter = [&](char c) {
    return (c >= 'a' && c <= 'z') || (local && c >= 'A' && c <= 'Z');
  };
  if (end == text.size() || !is_letter(text[end])) return 0;
  while (end < text.size() && (is_letter(text[end]) || text[end] == '_' ||
                               (text[end] >= '0' && text[end] <= '9'))) {
    ++end;
  }
  return end < text.size() && text[end] == '}' ? end + 1 : 0;
}

}  // namespace winscout::codegen
