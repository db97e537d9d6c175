#include "app/messages_window.h"

#include "inspector/message_decode.h"
#include "inspector/message_names.h"
#include "inspector/window_details.h"
#include "platform/text_pieces.h"

namespace winscout::app {
namespace {

constexpr char kTitle[] = "Messages";
constexpr int kClassCapacity = 256;
constexpr int kParentLimit = 64;  // a loop of owners ends the walk
constexpr std::uint32_t kSetText = 0x000C;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kCommand = 0x0111;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kButtonClick = 0x00F5;

// The same message again, where the log holds all it needs and it means the
// same in another run: a control in a WM_COMMAND is found again by its ID, a
// text is spelled as a literal. Nothing for other messages.
std::optional<codegen::MessageToSend> Repeat(const inspector::LoggedMessage& line,
                                             const inspector::MessageNames& names) {
  const MessageRecord& record = line.record;
  codegen::MessageToSend send{
      .message = record.message,
      .name = line.name,
      .wparam = record.wparam,
      .post = record.kind == MessageKind::kPosted,
      .comment = inspector::ColumnText(line, names, inspector::LogColumn::kParameters)};
  switch (record.message) {
    case kCommand:
      if (record.lparam != 0) {
        send.lparam =
            codegen::ChildWithId{static_cast<std::int32_t>(record.wparam & 0xFFFF)};
      }
      break;
    case kSysCommand:
      send.lparam = record.lparam;
      break;
    case kButtonClick:
    case kClose:
      send.wparam = 0;
      break;
    case kSetText:
      if (!(record.flags & MessageRecord::kHasText)) return std::nullopt;
      send.wparam = 0;
      send.lparam = inspector::RecordText(record);
      send.comment.clear();
      break;
    default:
      return std::nullopt;
  }
  return send;
}

}  // namespace

MessagesWindow::MessagesWindow(Handler<MessagesView&(MessagesView::Listener&)> make_view,
                               Form& form, const WindowSystem& windows, MessageTap& tap,
                               MainWindow& main, WindowsWindow& windows_window,
                               Clipboard& clipboard, ModalMessageBox& messages)
    : make_view_(std::move(make_view)),
      windows_(windows),
      tap_(tap),
      clipboard_(clipboard),
      messages_(messages),
      main_(main) {
  form.AddSystemMenuItem(kMenuText, [this, &main] { Open(main.LastPickedWindow()); });
  // The window selected in the Windows window, where it is open; else the
  // window picked last.
  form.OnFunctionKey(kOpenKey, [this, &main, &windows_window] {
    Open(windows_window.SelectedWindow().value_or(main.LastPickedWindow()));
  });
  windows_window.AddWindowChoice(kTreeMenuText,
                                 [this](WindowHandle window) { Open(window); });
}

std::string MessagesWindow::RowText(std::size_t row, std::size_t column) {
  if (row >= log_.ShownCount()) return std::string();
  return inspector::ColumnText(log_.Shown(row), names_,
                               static_cast<inspector::LogColumn>(column));
}

void MessagesWindow::OnMenuChoice(std::size_t choice) {
  if (choice == kCopyLines) OnCommand(MessagesView::Command::kCopy);
  if (choice == kWriteCode) WriteCode();
}

void MessagesWindow::Open(WindowHandle window) {
  if (window == 0) {
    messages_.ShowInformation(kTitle,
                              "Pick a window first: drag an arrow onto it, or select "
                              "it in the Windows window.");
    return;
  }
  if (!view_) {
    view_ = &make_view_(*this);
    view_->Filter().OnChange([this] { ApplyFilter(); });
    view_->SetMenuChoices(kMenuChoices);
  }
  Stop();
  target_ = window;
  // The lines go before the class names they view.
  log_.Clear();
  known_.Clear();
  fault_ = false;
  started_ = tap_.Now();
  if (const std::optional<std::string> error = tap_.Start(window)) {
    messages_.ShowExclamation(kTitle, *error);
    return;
  }
  running_ = true;
  paused_ = false;
  view_->SetPaused(false);
  view_->SetTicking(true);
  view_->Show((TextPieces() << kTitle << ": " << inspector::HandleText(window) << ' '
                            << Known(window).class_name)
                  .Take());
  ShowLines();
}

void MessagesWindow::Stop() {
  if (!running_) return;
  running_ = false;
  tap_.Stop();
  view_->SetTicking(false);
}

void MessagesWindow::OnTick() {
  arrived_.clear();
  const std::optional<std::uint64_t> taken = tap_.Take(arrived_);
  if (!taken) {
    fault_ = true;
    Stop();
    ShowLines();
    return;
  }
  const std::uint64_t dropped = *taken;
  if (paused_) return;
  log_.AddDropped(dropped);
  for (const MessageRecord& record : arrived_) {
    if (InScope(record.window)) log_.Add(Decode(record));
  }
  if (!arrived_.empty() || dropped != 0) ShowLines();
}

void MessagesWindow::ShowLines() {
  view_->SetRows(log_.ShownCount());
  std::string status = log_.Status();
  if (paused_) status += ", paused";
  if (fault_) status += "; stopped: another program changed the log's shared memory";
  view_->SetStatus(status);
}

void MessagesWindow::OnCommand(MessagesView::Command command) {
  switch (command) {
    case MessagesView::Command::kPause:
      paused_ = !paused_;
      view_->SetPaused(paused_);
      ShowLines();
      break;
    case MessagesView::Command::kClear:
      log_.Clear();
      known_.Clear();
      ShowLines();
      break;
    case MessagesView::Command::kCopy:
      if (const auto lines = SelectedLines(); !lines.empty()) {
        clipboard_.SetText(inspector::CopyText(lines, names_));
      }
      break;
    case MessagesView::Command::kSave: {
      std::vector<const inspector::LoggedMessage*> lines;
      for (std::size_t i = 0; i < log_.ShownCount(); ++i) lines.push_back(&log_.Shown(i));
      if (view_->Save("messages.csv", inspector::CsvText(lines, names_)) ==
          SaveResult::kFailed) {
        messages_.ShowExclamation(kTitle, "The log could not be saved there.");
      }
      break;
    }
  }
}

void MessagesWindow::OnSwitch() {
  known_.ForgetScopes();
  ApplyFilter();
}

void MessagesWindow::ApplyFilter() {
  log_.SetFilter(
      {view_->Filter().Text(), view_->SwitchedOn(MessagesView::Switch::kAllGroups)});
  ShowLines();
}

// The window itself; with the switches, its children (and windows it owns)
// or every window of its thread.
bool MessagesWindow::InScope(std::int64_t window) {
  const auto handle = static_cast<WindowHandle>(window);
  if (handle == target_ || view_->SwitchedOn(MessagesView::Switch::kThread)) return true;
  if (!view_->SwitchedOn(MessagesView::Switch::kChildren) || handle == 0) return false;
  std::optional<bool>& known = Known(window).in_scope;
  if (!known) {
    WindowHandle above = windows_.Parent(handle);
    for (int i = 0; above != 0 && i < kParentLimit && above != target_; ++i)
      above = windows_.Parent(above);
    known = above == target_;
  }
  return *known;
}

inspector::KnownWindows::Window& MessagesWindow::Known(std::int64_t window) {
  return known_.Get(window, [this](std::int64_t named) {
    return windows_.ClassName(static_cast<WindowHandle>(named), kClassCapacity);
  });
}

inspector::LoggedMessage MessagesWindow::Decode(const MessageRecord& record) {
  inspector::LoggedMessage line{.record = record};
  line.time_ms = (record.ticks - started_) * 1000 / tap_.TicksPerSecond();
  line.window_class = Known(record.window).class_name;
  std::string_view registered;
  if (inspector::IsRegisteredMessage(record.message)) {
    std::uint64_t& known = registered_at_.Put(record.message);
    if (!known) {
      known = reinterpret_cast<std::uintptr_t>(
          &registered_.emplace_front(tap_.RegisteredName(record.message)));
    }
    registered = *reinterpret_cast<const std::string*>(known);
  }
  line.name = names_.MessageName(record.message, line.window_class, registered);
  line.group = inspector::GroupOf(record.message);
  if (record.message == kCommand && record.lparam != 0)
    line.control_class = Known(record.lparam).class_name;
  if (record.flags & MessageRecord::kHasNotify)
    line.control_class = Known(record.notify_from).class_name;
  return line;
}

void MessagesWindow::WriteCode() {
  const std::vector<const inspector::LoggedMessage*> lines = SelectedLines();
  std::optional<codegen::MessageToSend> send =
      lines.size() == 1 ? Repeat(*lines.front(), names_) : std::nullopt;
  if (!send) {
    messages_.ShowInformation(
        kTitle,
        "Select one WM_COMMAND, BM_CLICK, WM_SETTEXT (with its text), "
        "WM_CLOSE or WM_SYSCOMMAND line.");
    return;
  }
  main_.PickWindowToSend(static_cast<WindowHandle>(lines.front()->record.window),
                         std::move(send));
}

std::vector<const inspector::LoggedMessage*> MessagesWindow::SelectedLines() const {
  std::vector<const inspector::LoggedMessage*> lines;
  for (std::size_t row : view_->SelectedRows()) {
    if (row < log_.ShownCount()) lines.push_back(&log_.Shown(row));
  }
  return lines;
}

}  // namespace winscout::app
