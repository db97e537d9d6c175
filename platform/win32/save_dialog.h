#pragma once

#include <windows.h>

#include <string_view>

#include "platform/toolkit.h"

namespace winscout::win32 {

// The system's Save As dialog, offering `name` of the kind its filter names
// (pairs of a description and a pattern, each ending in a NUL), then the bytes
// written to the file chosen. comdlg32 is loaded only then: the program starts
// without it.
SaveResult SaveThroughDialog(HWND owner, std::string_view name, const wchar_t* filter,
                             const wchar_t* extension, std::string_view bytes);

}  // namespace winscout::win32
