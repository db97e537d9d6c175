#pragma once

#include <span>
#include <string>

namespace winscout {

// The texts that cmake/pack_text.py packed (its notes describe the form),
// one after the other. The program carries its longer texts packed: under a
// quarter of their size.
std::string UnpackText(std::span<const unsigned char> packed);

}  // namespace winscout
