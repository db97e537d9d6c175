#include "app/step_recording.h"

#include "app/main_form.h"
#include "platform/text_pieces.h"

namespace winscout::app {

StepRecording::StepRecording(Form& form, const WindowSystem& windows, MessageTap& tap,
                             MainWindow& main, ModalMessageBox& messages)
    : form_(form),
      windows_(windows),
      tap_(tap),
      main_(main),
      messages_(messages),
      timer_(form.TimerAt(control::kRecordTimer)) {
  form.OnFunctionKey(kKey, [this] { Toggle(); });
  timer_.OnTick([this] { OnTick(); });
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
  timer_.SetEnabled(true);
}

// While the program waits for the answer: the records are read at once.
void StepRecording::OnStep() {
  if (recorder_) TakeArrived();
}

// Between steps: what is typed is read while the box is there, and a program
// that has ended ends its recording.
void StepRecording::OnTick() {
  if (!recorder_ || busy_ || !TakeArrived()) return;
  recorder_->ReadTyping();
  if (recorder_->ProgramEnded()) Stop();
}

// A step's message can come while WinScout asks the program something: its
// records are then read after the records in hand, in their order.
bool StepRecording::TakeArrived() {
  if (busy_) {
    again_ = true;
    return true;
  }
  busy_ = true;
  bool taken = true;
  do {
    again_ = false;
    arrived_.clear();
    taken = tap_.Take(arrived_).has_value();
    if (taken) recorder_->Add(arrived_);
  } while (taken && again_);
  busy_ = false;
  if (!taken) {
    Stop();
    return false;
  }
  if (recorder_->StepCount() != shown_count_) ShowCount();
  return true;
}

void StepRecording::Stop() {
  timer_.SetEnabled(false);
  busy_ = true;
  arrived_.clear();
  if (tap_.Take(arrived_)) recorder_->Add(arrived_);
  tap_.Stop();
  codegen::Script script = recorder_->Finish();
  recorder_.reset();
  busy_ = false;
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
