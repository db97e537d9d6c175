#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "inspector/recorder.h"
#include "platform/message_tap.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::app {

// "Record Steps" and F4: records what the user does to the program of the
// window picked last, through the hook on the thread of its top-level window
// (a program's dialogs belong to that thread as a rule), and puts the script
// into the code box when the recording ends. The caption counts the steps
// meanwhile.
class StepRecording {
 public:
  static constexpr int kKey = 4;  // F4
  static constexpr char kTitle[] = "Record Steps";
  static constexpr char kOwnRefused[] =
      "That is one of WinScout's own windows: WinScout does not record itself.";

  StepRecording(Form& form, const WindowSystem& windows, MessageTap& tap,
                MainWindow& main, ModalMessageBox& messages);
  StepRecording(const StepRecording&) = delete;
  StepRecording& operator=(const StepRecording&) = delete;

  // Starts recording, or ends it.
  void Toggle();

 private:
  void Start();
  void Stop();
  void OnStep();
  void OnTick();
  // The records come; false where the log is gone, which ends the recording.
  bool TakeArrived();
  void ShowCount();

  Form& form_;
  const WindowSystem& windows_;
  MessageTap& tap_;
  MainWindow& main_;
  ModalMessageBox& messages_;
  Timer& timer_;
  std::optional<inspector::Recorder> recorder_;
  std::vector<MessageRecord> arrived_;
  std::size_t shown_count_ = 0;
  bool busy_ = false;   // the records are being read
  bool again_ = false;  // a step came meanwhile
};

}  // namespace winscout::app
