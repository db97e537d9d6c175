#include "app/step_recording.h"

#include "app/main_form.h"
#include "platform/text_pieces.h"

namespace winscout::app {

StepRecording::StepRecording(Form& form, const WindowSystem& windows, MessageTap& tap,
                             MainWindow& main, ModalMessageBox& messages)
    : form_(form), windows_(windows), tap_(tap), main_(main), messages_(messages) {
  form.OnFunctionKey(kKey, [this] { Toggle(); });
  main.OnRecordChosen([this] { Toggle(); });
}

void StepRecording::Toggle() {
  if (recorder_) {
    Stop();
  } else {
    Start();
  }
}

void StepRecording::Start() {
  WindowHandle top = main_.LastPickedWindow();
  std::optional<WindowFacts> facts = windows_.Facts(top);
  if (!facts) {
    messages_.ShowInformation(
        kTitle, "Pick a window of the program to record first: drag the arrow onto it.");
    return;
  }
  if (facts->process_id == windows_.OwnProcessId()) {
    messages_.ShowExclamation(kTitle, kOwnRefused);
    return;
  }
  while (facts && facts->parent != 0) {
    top = facts->parent;
    facts = windows_.Facts(top);
  }
  // Made before the hook, so that it knows the windows there are now.
  recorder_.emplace(windows_, facts ? facts->process_id : 0,
                    [this](WindowHandle window) { return tap_.ReadMenu(window); });
  if (const std::optional<std::string> error =
          tap_.StartRecording(top, [this] { OnStep(); })) {
    recorder_.reset();
    messages_.ShowExclamation(kTitle, *error);
    return;
  }
  shown_count_ = 0;
  main_.SetRecording(true);
  ShowCount();
}

// While the program waits for the answer: the records are read at once.
void StepRecording::OnStep() {
  if (!recorder_) return;
  arrived_.clear();
  if (!tap_.Take(arrived_)) {
    Stop();
    return;
  }
  recorder_->Add(arrived_);
  if (recorder_->StepCount() != shown_count_) ShowCount();
}

void StepRecording::Stop() {
  arrived_.clear();
  if (tap_.Take(arrived_)) recorder_->Add(arrived_);
  tap_.Stop();
  codegen::Script script = recorder_->Finish();
  recorder_.reset();
  form_.SetCaption(kCaption);
  main_.SetRecording(false);
  main_.ShowScript(std::move(script));
}

void StepRecording::ShowCount() {
  shown_count_ = recorder_->StepCount();
  form_.SetCaption((TextPieces() << kCaption << " - Recording... " << shown_count_
                                 << (shown_count_ == 1 ? " step" : " steps"))
                       .Take());
}

}  // namespace winscout::app
