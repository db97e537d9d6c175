#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace winscout::inspector {

// Appends, " | " apart, the names that the standard control classes (buttons,
// edit boxes, static controls, dialog boxes) give to the low 16 bits of a
// window's style, and takes the bits it names out of `left`. Other classes
// name nothing.
void NameClassStyles(std::string_view class_name, std::uint32_t& left,
                     std::string& names);

}  // namespace winscout::inspector
