#include "app/main_window.h"

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
  inspector_arrow_.OnMouseDown([this] { OnInspectorArrowDown(); });
  inspector_arrow_.OnMouseUp([this] { OnInspectorArrowUp(); });
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

void MainWindow::OnCodeArrowDown() {
  code_arrow_.SetPicture(nullptr);
  code_arrow_.SetMousePointer(MousePointer::kCustom);
}

// The arrow comes back before the generator runs, so that it is back on every
// path, message boxes included.
void MainWindow::OnCodeArrowUp() {
  inspector_.PickWindowAtCursor(handle_box_);
  RestoreArrow(code_arrow_);
  const std::optional<std::string> code = codegen::DeliverFinderResult(
      codegen::GenerateFinderCode(handle_box_.Text(), windows_), messages_);
  if (code) code_box_.SetText(*code);
}

void MainWindow::OnInspectorArrowDown() {
  SetLiveInspection(true);
  inspector_arrow_.SetMousePointer(MousePointer::kCustom);
  inspector_arrow_.SetPicture(nullptr);
}

void MainWindow::OnInspectorArrowUp() {
  SetLiveInspection(false);
  RestoreArrow(inspector_arrow_);
}

}  // namespace winscout::app
