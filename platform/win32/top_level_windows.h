#pragma once

#include <vector>

#include "platform/window_system.h"

namespace winscout::win32 {

// Every top-level window of the desktop with its process, topmost first, in
// a few questions to the window manager whatever the number of windows.
std::vector<TopLevelWindow> ListTopLevelWindows();

}  // namespace winscout::win32
