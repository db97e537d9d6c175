#pragma once

#include <array>
#include <string>

#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// The eight report lines, in box order: handle, class, text, ID, parent
// handle, parent text, parent class, module.
using ReportLines = std::array<std::string, 8>;
using ReportBoxes = std::array<TextBox*, 8>;

// Texts come with room for 99 characters, as the report shows them.
inline constexpr int kReportTextCapacity = 100;

ReportLines DescribeWindow(const WindowSystem& windows, WindowHandle window);

// The inspector's two operations, each with its own memory of the window it
// handled last, so that the pointer resting on one window costs nothing.
class WindowInspector {
 public:
  explicit WindowInspector(const WindowSystem& windows) : windows_(windows) {}

  void ReportWindowAtCursor(const ReportBoxes& boxes);
  void PickWindowAtCursor(TextBox& box);
  // The same for a window chosen some other way, with the same memories.
  void ReportWindow(WindowHandle window, const ReportBoxes& boxes);
  void PickWindow(WindowHandle window, TextBox& box);

  WindowHandle LastReportedWindow() const { return last_reported_window_; }
  WindowHandle LastPickedWindow() const { return last_picked_window_; }

 private:
  WindowHandle WindowAtCursor() const;

  const WindowSystem& windows_;
  WindowHandle last_reported_window_ = 0;
  WindowHandle last_picked_window_ = 0;
};

}  // namespace winscout::inspector
