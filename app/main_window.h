#pragma once

#include "inspector/window_inspector.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::app {

// The behaviour of the main window: start-up, the layout switch, live
// inspection and the two arrow gestures, wired to the controls of a form
// that a toolkit made from kMainForm. It owns the inspector's memory.
class MainWindow {
 public:
  MainWindow(Form& form, WindowSystem& windows, ModalMessageBox& messages);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Arrow pictures in, topmost, shown.
  void Start();

  const inspector::WindowInspector& inspector() const { return inspector_; }

 private:
  void OnCodeArrowDown();
  void OnCodeArrowUp();
  void OnInspectorArrowDown();
  void OnInspectorArrowUp();
  void OnTick();
  void SetLiveInspection(bool on);
  void RestoreArrow(PictureBox& box);

  Form& form_;
  WindowSystem& windows_;
  ModalMessageBox& messages_;
  inspector::WindowInspector inspector_;
  PictureBox& code_arrow_;
  PictureBox& inspector_arrow_;
  TextBox& code_box_;
  TextBox& handle_box_;
  Timer& timer_;
  const Picture* arrow_;
  inspector::ReportBoxes report_boxes_;
};

}  // namespace winscout::app
