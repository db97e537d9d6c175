#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace winscout::win32 {

// The platform's user-interface font at the given DPI.
UniqueFont MessageFont(UINT dpi);

}  // namespace winscout::win32
