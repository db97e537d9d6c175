#include "app/main_window.h"

#include <variant>

#include "app/main_form.h"
#include "codegen/finder_code.h"

namespace winscout::app {

MainWindow::MainWindow(Form& form, WindowSystem& windows, ModalMessageBox& messages)
    : form_(form),
      windows_(windows),
      messages_(messages),
      inspector_(windows),
      code_arrow_(form.PictureBoxAt(control::kPicture1)),
      inspector_arrow_(form.PictureBoxAt(control::kPicture3)),
      code_box_(form.TextBoxAt(control::kText4)),
      handle_box_(form.TextBoxAt(control::kTxtHandle)),
      timer_(form.TimerAt(control::kTimer2)),
      highlight_(form.Highlight()),
      arrow_(form.ImageAt(control::kPicture2).GetPicture()),
      report_boxes_{
          &form.TextBoxAt(control::kText5),  &form.TextBoxAt(control::kText6),
          &form.TextBoxAt(control::kText7),  &form.TextBoxAt(control::kText8),
          &form.TextBoxAt(control::kText9),  &form.TextBoxAt(control::kText10),
          &form.TextBoxAt(control::kText11), &form.TextBoxAt(control::kText12)} {
  form.ButtonAt(control::kCommand4).OnClick([this] {
    form_.SetClientWidth(kWideClientWidth);
  });
  form.ButtonAt(control::kCommand5).OnClick([this] {
    form_.SetClientWidth(kNarrowClientWidth);
  });
  form.ButtonAt(control::kCommand2).OnClick([this] { SetLiveInspection(true); });
  form.ButtonAt(control::kCommand3).OnClick([this] { SetLiveInspection(false); });
  code_box_.OnChange([this] { SetLiveInspection(false); });
  timer_.OnTick([this] { OnTick(); });
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

  std::vector<std::string> languages;
  for (codegen::FinderLanguage language : codegen::kFinderLanguages) {
    languages.emplace_back(codegen::FinderLanguageName(language));
  }
  code_box_.SetMenuChoices(std::move(languages), 0,
                           [this](std::size_t index) { OnLanguageChosen(index); });
}

void MainWindow::Start() {
  code_arrow_.SetPicture(arrow_);
  inspector_arrow_.SetPicture(arrow_);
  windows_.MakeTopmost(form_.Handle());
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
  GenerateCode();
  if (on_picked_at_cursor_) on_picked_at_cursor_(inspector_.LastPickedWindow());
}

void MainWindow::PickWindowAtCursor() {
  inspector_.PickWindowAtCursor(handle_box_);
  GenerateCode();
  if (on_picked_at_cursor_) on_picked_at_cursor_(inspector_.LastPickedWindow());
}

void MainWindow::PickWindow(WindowHandle window) {
  inspector_.ReportWindow(window, report_boxes_);
  inspector_.PickWindow(window, handle_box_);
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
    code_box_.SetText(codegen::EmitFinderCode(*plan_, language_));
  } else if (const auto* message = std::get_if<codegen::FinderMessage>(&planned)) {
    messages_.ShowExclamation(codegen::kErrorTitle, message->text);
  }
}

void MainWindow::OnLanguageChosen(std::size_t index) {
  language_ = codegen::kFinderLanguages[index];
  if (plan_) code_box_.SetText(codegen::EmitFinderCode(*plan_, language_));
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
