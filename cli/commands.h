#pragma once

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/window_system.h"

namespace winscout::cli {

// What the program's exit code says.
inline constexpr int kDone = 0;
inline constexpr int kNotFound = 1;  // the window or input, or it is not valid
inline constexpr int kUsage = 2;

// Runs the command the arguments (after the program's name) give, writing its
// answer to the console's output and any failure as a line to its errors.
int RunCommand(const std::vector<std::string>& args, const WindowSystem& windows,
               Console& console);

}  // namespace winscout::cli
