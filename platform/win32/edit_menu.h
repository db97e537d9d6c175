#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit.h"

namespace winscout::win32 {

// Shows an edit control's context menu: the standard edit commands, which it
// carries out itself, then `choices` with their marks. `position` is
// WM_CONTEXTMENU's (-1, -1 for the keyboard). Returns the index of the choice
// picked, if one was.
std::optional<std::size_t> TrackEditMenu(HWND edit, LPARAM position,
                                         const std::vector<MenuChoice>& choices);

}  // namespace winscout::win32
