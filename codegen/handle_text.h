#pragma once

#include <string_view>

#include "platform/window_system.h"

namespace winscout::codegen {

enum class HandleTextKind {
  kNotNumeric,  // the user must be told to enter a handle
  kNoHandle,    // empty or "0" after trimming: nothing to do, nothing to say
  kOutOfRange,  // a number, but not a 32-bit handle
  kHandle,
};

struct ParsedHandleText {
  HandleTextKind kind = HandleTextKind::kNotNumeric;
  WindowHandle handle = 0;
};

// Reads the handle box. A number may have blanks around it, a sign, a
// fraction and an exponent; its exact value is rounded to the nearest
// integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
ParsedHandleText ParseHandleText(std::string_view text);

}  // namespace winscout::codegen
