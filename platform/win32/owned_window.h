#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace winscout::win32 {

// What the program's second windows (Windows, Messages) share.

// Pixels at 96 dots per inch, at the DPI.
inline int Scale(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), 96);
}

// comctl32 (version 6, by the manifest) with the tree and list views and the
// status bar, loaded only where they are needed, so that the main window
// starts without their code. Ends the program if they cannot be loaded.
UniqueModule LoadCommonControls();

// Beside its owner, where the monitor has room, so that both can be seen.
void PlaceBesideOwner(HWND window);

}  // namespace winscout::win32
