#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace winscout::codegen {

// The texts that code is written from (action_templates.txt and
// finder_texts.txt) name what they leave open in braces: "{name}", a word of
// lower-case letters, digits and underscores, or "{@Name}", a local variable
// that the code declares. cmake/pack_text.py refuses a text that names a
// placeholder its file does not declare.

// The length of the placeholder that starts the text, its braces included;
// 0 where none does.
std::size_t PlaceholderLength(std::string_view text);

// Appends the text with each placeholder replaced by what `fill(name, out)`
// appends for its name (without the braces), every other character as it is.
template <typename Fill>
void ExpandTemplate(std::string_view text, std::string& out, Fill&& fill) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t length = PlaceholderLength(text.substr(i));
    if (length == 0) {
      out += text[i];
      continue;
    }
    fill(text.substr(i + 1, length - 2), out);
    i += length - 1;
  }
}

}  // namespace winscout::codegen
