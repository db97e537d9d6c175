#include "app/main_window.h"

#include <algorithm>
#include <variant>

#include "app/about.h"
#include "app/main_form.h"
#include "codegen/finder_code.h"
#include "platform/text_pieces.h"

static_assert(winscout::app::kControls.back().interval_ms ==
              winscout::inspector::kScriptPollMs);

namespace winscout::app {
namespace {

// The reading of items takes turns with the Windows window's reading.
constexpr int kItemsIdleQueue = 1;
// A step reads pieces for this long, and a send waits this long for an
// answer, so that WinScout answers its user meanwhile.
constexpr std::int64_t kStepMs = 15;
constexpr int kItemAnswerTimeoutMs = 150;
constexpr std::size_t kMostPieceItems = 32;
// A message box shows a long text slowly, and taller than the screen.
constexpr std::size_t kShownLines = 30;

}  // namespace

MainWindow::MainWindow(Form& form, WindowSystem& windows, ModalMessageBox& messages,
                       SettingsStore& settings, Clipboard& clipboard)
    : form_(form),
      windows_(windows),
      messages_(messages),
      clipboard_(clipboard),
      inspector_(windows),
      code_arrow_(form.PictureBoxAt(control::kCodeArrow)),
      inspector_arrow_(form.PictureBoxAt(control::kInspectorArrow)),
      code_box_(form.TextBoxAt(control::kCodeBox)),
      handle_box_(form.TextBoxAt(control::kHandleBox)),
      timer_(form.TimerAt(control::kLiveTimer)),
      script_timer_(form.TimerAt(control::kScriptTimer)),
      highlight_(form.Highlight()),
      arrow_(form.ImageAt(control::kArrowHolder).GetPicture()),
      report_boxes_{
          &form.TextBoxAt(control::kReportLine1), &form.TextBoxAt(control::kReportLine2),
          &form.TextBoxAt(control::kReportLine3), &form.TextBoxAt(control::kReportLine4),
          &form.TextBoxAt(control::kReportLine5), &form.TextBoxAt(control::kReportLine6),
          &form.TextBoxAt(control::kReportLine7), &form.TextBoxAt(control::kReportLine8)},
      store_(settings),
      finder_settings_(LoadFinderSettings(settings)) {
  form.ButtonAt(control::kApiButton).OnClick([this] {
    form_.SetClientWidth(kWideClientWidth);
  });
  form.ButtonAt(control::kCodeButton).OnClick([this] {
    form_.SetClientWidth(kNarrowClientWidth);
  });
  form.ButtonAt(control::kStartButton).OnClick([this] { SetLiveInspection(true); });
  form.ButtonAt(control::kStopButton).OnClick([this] { SetLiveInspection(false); });
  code_box_.OnChange([this] { SetLiveInspection(false); });
  timer_.OnTick([this] { OnTick(); });
  script_timer_.OnTick([this] { OnScriptTick(); });
  code_arrow_.OnMouseDown([this] { OnCodeArrowDown(); });
  code_arrow_.OnMouseUp([this] { OnCodeArrowUp(); });
  code_arrow_.OnMouseMove([this] { OnArrowMove(); });
  code_arrow_.OnCancel([this] { OnCodeArrowCancel(); });
  inspector_arrow_.OnMouseDown([this] { OnInspectorArrowDown(); });
  inspector_arrow_.OnMouseUp([this] { OnInspectorArrowUp(); });
  inspector_arrow_.OnMouseMove([this] { OnArrowMove(); });
  // Esc on the inspector arrow ends the drag as a release does: the report
  // stays, live inspection ends.
  inspector_arrow_.OnCancel([this] { OnInspectorArrowUp(); });
  // Only shown while an arrow is held: the outline goes to the window now
  // under the pointer.
  highlight_.OnTargetGone([this] {
    outlined_ = 0;
    OnArrowMove();
  });

  SetCodeMenu();
  code_box_.OnMenuChoice([this](std::size_t index) { OnFinderMenuChosen(index); });
}

void MainWindow::SetCodeMenu() {
  std::vector<MenuChoice> menu = FinderMenu(finder_settings_);
  menu.push_back({.text = recording_ ? kStopRecordingItem : kRecordItem,
                  .mark = MenuChoice::Mark::kCommand,
                  .begins_group = true});
  for (MenuChoice& choice : ActionMenu(offered_actions_, action_)) {
    menu.push_back(std::move(choice));
  }
  code_box_.SetMenuChoices(std::move(menu));
}

void MainWindow::Start() {
  // Last in the system menu, after the items of the program's other parts.
  form_.AddSystemMenuItem(AboutMenuItemText(), [this] {
    messages_.ShowInformation(kAboutTitle, AboutText());
  });
  code_arrow_.SetPicture(arrow_);
  inspector_arrow_.SetPicture(arrow_);
  form_.Show();
}

void MainWindow::SetLiveInspection(bool on) { timer_.SetEnabled(on); }

void MainWindow::OnTick() { inspector_.ReportWindowAtCursor(report_boxes_); }

void MainWindow::RestoreArrow(PictureBox& box) {
  box.SetMousePointer(MousePointer::kDefault);
  box.SetPicture(arrow_);
}

// Outlined again only when the pointer reaches another window, so the
// outline does not flicker.
void MainWindow::Outline(WindowHandle window) {
  if (window == outlined_) return;
  outlined_ = window;
  highlight_.Outline(window);
}

void MainWindow::OnArrowMove() { Outline(windows_.WindowAt(windows_.CursorPos())); }

void MainWindow::OnCodeArrowDown() {
  code_arrow_.SetPicture(nullptr);
  code_arrow_.SetMousePointer(MousePointer::kCustom);
}

// The arrow comes back before the generator runs, so that it is back on every
// path, message boxes included.
void MainWindow::OnCodeArrowUp() {
  Outline(0);
  inspector_.PickWindowAtCursor(handle_box_);
  RestoreArrow(code_arrow_);
  send_.reset();
  script_.reset();
  GenerateCode();
  if (on_picked_at_cursor_) on_picked_at_cursor_(inspector_.LastPickedWindow());
}

void MainWindow::PickWindowAtCursor() {
  inspector_.PickWindowAtCursor(handle_box_);
  send_.reset();
  script_.reset();
  GenerateCode();
  if (on_picked_at_cursor_) on_picked_at_cursor_(inspector_.LastPickedWindow());
}

void MainWindow::PickWindow(WindowHandle window) {
  PickWindowToSend(window, std::nullopt);
}

void MainWindow::PickWindowToSend(WindowHandle window,
                                  std::optional<codegen::MessageToSend> message) {
  inspector_.ReportWindow(window, report_boxes_);
  inspector_.PickWindow(window, handle_box_);
  send_ = std::move(message);
  script_.reset();
  GenerateCode();
}

void MainWindow::OnCodeArrowCancel() {
  Outline(0);
  RestoreArrow(code_arrow_);
}

void MainWindow::GenerateCode() {
  codegen::FinderPlanResult planned =
      codegen::PlanFinderCode(handle_box_.Text(), windows_);
  if (auto* plan = std::get_if<codegen::SearchPlan>(&planned)) {
    plan_ = std::move(*plan);
    const std::optional<WindowFacts> facts =
        windows_.Facts(inspector_.LastPickedWindow());
    const codegen::TargetKind kind =
        facts ? codegen::KindOfTarget(facts->class_name, facts->style)
              : codegen::TargetKind::kOther;
    action_ = codegen::PlanAction(codegen::Action::kFindOnly, kind, false);
    offered_actions_ = codegen::ActionsFor(kind);
    SetCodeMenu();
    WriteCode();
  } else if (const auto* message = std::get_if<codegen::FinderMessage>(&planned)) {
    messages_.ShowExclamation(codegen::kErrorTitle, message->text);
  }
}

// Saved at once, so that a choice outlives a run that does not end well.
void MainWindow::OnFinderMenuChosen(std::size_t index) {
  const std::size_t finder_items = FinderMenu(finder_settings_).size();
  if (index < finder_items) {
    finder_settings_ = ChooseFromFinderMenu(finder_settings_, index);
    SaveFinderSettings(finder_settings_, store_);
  } else if (index == finder_items) {
    if (on_record_chosen_) on_record_chosen_();
    return;
  } else if (const auto chosen =
                 ChooseFromActionMenu(offered_actions_, index - finder_items - 1)) {
    switch (chosen->kind) {
      case ActionMenuChoice::Kind::kAction:
        action_ = codegen::PlanAction(chosen->action, action_.kind, action_.wait);
        send_.reset();
        script_.reset();
        break;
      case ActionMenuChoice::Kind::kWait:
        action_.wait = !action_.wait;
        break;
      case ActionMenuChoice::Kind::kTryIt:
        TryIt();
        return;
    }
  }
  SetCodeMenu();
  if (plan_ || script_) WriteCode();
}

void MainWindow::SetRecording(bool recording) {
  recording_ = recording;
  SetCodeMenu();
}

void MainWindow::ShowScript(codegen::Script script) {
  script_ = std::move(script);
  WriteCode();
}

void MainWindow::WriteCode() {
  if (script_) {
    code_box_.SetText(
        codegen::EmitScript(*script_, finder_settings_.language, finder_settings_.style));
    return;
  }
  if (send_) {
    code_box_.SetText(codegen::EmitSendCode(*plan_, finder_settings_.language,
                                            finder_settings_.style, *send_));
    return;
  }
  codegen::FinderStyle style = finder_settings_.style;
  style.action = action_;
  code_box_.SetText(codegen::EmitFinderCode(*plan_, finder_settings_.language, style));
}

void MainWindow::TryAction(codegen::Action action) {
  const codegen::ActionPlan chosen = action_;
  action_ = codegen::PlanAction(action, chosen.kind, false);
  TryIt();
  action_ = chosen;
}

// Nothing in WinScout could bring back one of its own windows closed, hidden
// or disabled: that is refused, where any other window may be.
bool MainWindow::RefusedAsOwn(WindowHandle target) {
  const std::optional<WindowFacts> facts = windows_.Facts(target);
  if (!facts || facts->process_id != windows_.OwnProcessId()) return false;
  messages_.ShowExclamation(kTryItItem, kOwnWindowRefused);
  return true;
}

void MainWindow::Operate(WindowOperation operation) {
  const WindowHandle target = inspector_.LastPickedWindow();
  if ((operation == WindowOperation::kHide || operation == WindowOperation::kDisable) &&
      RefusedAsOwn(target)) {
    return;
  }
  bool done = false;
  switch (operation) {
    case WindowOperation::kShow:
    case WindowOperation::kHide:
      done = windows_.SetWindowShown(target, operation == WindowOperation::kShow);
      break;
    case WindowOperation::kEnable:
    case WindowOperation::kDisable:
      done = windows_.SetWindowEnabled(target, operation == WindowOperation::kEnable);
      break;
    case WindowOperation::kBringToFront:
      done = windows_.BringToFront(target);
      break;
  }
  if (!done)
    messages_.ShowExclamation(kTryItItem, "The window is gone or did not answer.");
}

void MainWindow::RunScript() {
  if (script_run_) return;  // the run before goes on
  script_run_.emplace(*script_, windows_, finder_settings_.style.way);
  script_timer_.SetEnabled(true);
  OnScriptTick();
}

void MainWindow::OnScriptTick() {
  if (!script_run_) return;
  const std::optional<inspector::ActionOutcome> outcome = script_run_->Advance();
  if (!outcome) return;
  script_timer_.SetEnabled(false);
  script_run_.reset();
  if (outcome->done) {
    messages_.ShowInformation(kTryItItem, outcome->text);
  } else {
    messages_.ShowExclamation(kTryItItem, outcome->text);
  }
}

void MainWindow::TryIt() {
  if (script_) return RunScript();
  const WindowHandle target = inspector_.LastPickedWindow();
  if (!plan_ || target == 0) {
    messages_.ShowInformation(kTryItItem, "Drop the arrow on a window first.");
    return;
  }
  constexpr std::uint32_t kClose = 0x0010, kSysCommand = 0x0112, kScClose = 0xF060;
  const bool closes =
      send_ ? send_->message == kClose ||
                  (send_->message == kSysCommand && (send_->wparam & 0xFFF0) == kScClose)
            : action_.action == codegen::Action::kClose;
  if (closes && RefusedAsOwn(target)) return;
  const std::optional<ItemList> list = codegen::ItemListOf(action_.kind);
  if (!send_ && action_.action == codegen::Action::kReadItems && list) {
    ReadItems(target, *list);
    return;
  }
  ShowOutcome(send_ ? inspector::PerformSend(*send_, target, windows_)
                    : inspector::PerformAction(action_, target, windows_));
}

void MainWindow::ShowOutcome(const inspector::ActionOutcome& outcome) {
  std::string_view text = outcome.text;
  std::string shown;
  const auto lines = static_cast<std::size_t>(std::ranges::count(text, '\n')) + 1;
  if (lines > kShownLines) {
    std::size_t end = 0;
    for (std::size_t line = 0; line < kShownLines; ++line) end = text.find('\n', end) + 1;
    shown = (TextPieces() << text.substr(0, end) << "...\r\n"
                          << text.substr(text.rfind('\n') + 1) << "\r\n(" << lines
                          << " lines in all"
                          << (clipboard_.SetText(text) ? ", all of them on the clipboard)"
                                                       : ")"))
                .Take();
    text = shown;
  }
  if (outcome.done) {
    messages_.ShowInformation(kTryItItem, text);
  } else {
    messages_.ShowExclamation(kTryItItem, text);
  }
}

// A long list is read a piece at a time while idle, its progress in the
// caption; Esc stops it.
void MainWindow::ReadItems(WindowHandle target, ItemList list) {
  reading_.emplace(windows_, target, list, kItemAnswerTimeoutMs);
  piece_items_ = 1;
  form_.OnEscape([this] { EndReading(reading_->Stopped()); });
  form_.SetCaption(reading_->Progress());
  form_.WhenIdleIn(kItemsIdleQueue, [this] { return ReadItemsStep(); });
}

bool MainWindow::ReadItemsStep() {
  if (!reading_) return false;
  const std::int64_t start = form_.ClockMs();
  bool more = true;
  while (more && form_.ClockMs() - start < kStepMs) {
    const std::int64_t asked = form_.ClockMs();
    more = reading_->ReadPiece(piece_items_);
    // The pieces grow while the program answers quickly; a slow one is asked
    // one item at a time.
    const std::int64_t took = form_.ClockMs() - asked;
    if (took > kStepMs) {
      piece_items_ = 1;
    } else if (took < kStepMs / 4) {
      piece_items_ = std::min(piece_items_ * 2, kMostPieceItems);
    }
  }
  if (!more) {
    EndReading(reading_->Outcome());
    return false;
  }
  form_.SetCaption(reading_->Progress());
  return true;
}

void MainWindow::EndReading(inspector::ActionOutcome outcome) {
  reading_.reset();
  form_.WhenIdleIn(kItemsIdleQueue, {});
  form_.OnEscape({});
  form_.SetCaption(kCaption);
  ShowOutcome(outcome);
}

void MainWindow::OnInspectorArrowDown() {
  SetLiveInspection(true);
  inspector_arrow_.SetMousePointer(MousePointer::kCustom);
  inspector_arrow_.SetPicture(nullptr);
}

void MainWindow::OnInspectorArrowUp() {
  Outline(0);
  SetLiveInspection(false);
  RestoreArrow(inspector_arrow_);
}

}  // namespace winscout::app
