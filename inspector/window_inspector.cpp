#include "inspector/window_inspector.h"

#include "platform/text_pieces.h"

namespace winscout::inspector {

ReportLines DescribeWindow(const WindowSystem& windows, WindowHandle window) {
  ReportLines lines;
  lines[0] = "Window Handle: " + DecimalText(window);
  lines[2] = "Window Text: " + windows.WindowText(window, kReportTextCapacity);
  lines[1] = "Window Class Name: " + windows.ClassName(window, kReportTextCapacity);
  const WindowHandle parent = windows.Parent(window);
  if (parent != 0) {
    lines[3] = "Window ID Number: " + DecimalText(windows.ControlId(window));
    lines[4] = "Parent Window Handle: " + DecimalText(parent);
    lines[5] = "Parent Window Text: " + windows.WindowText(parent, kReportTextCapacity);
    lines[6] =
        "Parent Window Class Name: " + windows.ClassName(parent, kReportTextCapacity);
  } else {
    lines[3] = "Window ID Number: N/A";
    lines[4] = "Parent Window Handle: N/A";
    lines[5] = "Parent Window Text: N/A";
    lines[6] = "Parent Window Class Name: N/A";
  }
  lines[7] = "Module: " + windows.ModulePath(window);
  return lines;
}

WindowHandle WindowInspector::WindowAtCursor() const {
  return windows_.WindowAt(windows_.CursorPos());
}

void WindowInspector::ReportWindowAtCursor(const ReportBoxes& boxes) {
  ReportWindow(WindowAtCursor(), boxes);
}

void WindowInspector::PickWindowAtCursor(TextBox& box) {
  PickWindow(WindowAtCursor(), box);
}

void WindowInspector::ReportWindow(WindowHandle window, const ReportBoxes& boxes) {
  if (window == last_reported_window_) return;
  last_reported_window_ = window;
  const ReportLines lines = DescribeWindow(windows_, window);
  for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->SetText(lines[i]);
}

void WindowInspector::PickWindow(WindowHandle window, TextBox& box) {
  if (window == last_picked_window_) return;
  last_picked_window_ = window;
  box.SetText(DecimalText(window));
}

}  // namespace winscout::inspector
