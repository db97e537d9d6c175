#include "inspector/recorder.h"

#include <algorithm>
#include <utility>

#include "inspector/menu_tree.h"
#include "inspector/message_decode.h"
#include "platform/text_pieces.h"
#include "platform/unicode_text.h"

namespace winscout::inspector {
namespace {

using codegen::Action;
using codegen::TargetKind;

constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kChar = 0x0102;
constexpr std::uint32_t kNotify = 0x004E;
constexpr std::uint32_t kCommand = 0x0111;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kCut = 0x0300;
constexpr std::uint32_t kUndo = 0x0304;
constexpr int kClicked = 0;                     // BN_CLICKED
constexpr int kSelChange = 1;                   // CBN_SELCHANGE, LBN_SELCHANGE
constexpr int kChange = 0x300;                  // EN_CHANGE
constexpr int kKillFocus = 0x200;               // EN_KILLFOCUS
constexpr std::int32_t kOk = 1;                 // IDOK
constexpr std::int32_t kCancel = 2;             // IDCANCEL
constexpr std::uint32_t kPasswordStyle = 0x20;  // ES_PASSWORD
constexpr std::uint32_t kScClose = 0xF060;
// The program waits for the reading and answers at once; a hung one holds
// WinScout no longer than this.
constexpr int kReadTimeoutMs = 150;
constexpr int kParentLimit = 64;  // a loop of parents ends the walk
constexpr std::size_t kSaidTextLimit = 40;

// The system commands a script can post; the others (moving, sizing, the
// menu opened) are the way to a step, not one.
struct SystemCommand {
  std::uint32_t code;
  const char* said;
  const char* name;
};
constexpr SystemCommand kSystemCommands[] = {{0xF020, "minimize", "SC_MINIMIZE"},
                                             {0xF030, "maximize", "SC_MAXIMIZE"},
                                             {0xF120, "restore", "SC_RESTORE"}};

// A text as a step's comment quotes it: one line, cut when long.
std::string Quoted(std::string_view text) {
  std::string line;
  for (char c : text) line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  if (line.size() > kSaidTextLimit) line = CutToUtf16Units(line, kSaidTextLimit) + "...";
  return '"' + line + '"';
}

bool IsButton(TargetKind kind) {
  return kind == TargetKind::kPushButton || kind == TargetKind::kCheckBox ||
         kind == TargetKind::kRadioButton;
}

bool IsCheckState(Action action) {
  return action == Action::kCheck || action == Action::kUncheck;
}

bool IsTyping(const MessageRecord& record) {
  return record.message == kChar || record.message == kKeyDown ||
         (record.message >= kCut && record.message <= kUndo);
}

}  // namespace

Recorder::Recorder(const WindowSystem& windows, std::uint32_t process_id,
                   MenuReader read_menu)
    : windows_(windows), process_id_(process_id), read_menu_(read_menu) {
  for (const TopLevelWindow& top : windows.TopLevelWindows()) {
    if (top.process_id == process_id) first_windows_.push_back(top.window);
  }
}

const Recorder::Known& Recorder::Window(WindowHandle window) {
  for (const auto& [handle, known] : known_) {
    if (handle == window) return known;
  }
  Known& known = known_.emplace_back(window, Known{}).second;
  const std::optional<WindowFacts> facts = windows_.Facts(window);
  if (!facts) return known;
  known.plan = codegen::PlanSearches(windows_, window, facts->class_name);
  known.kind = codegen::KindOfTarget(facts->class_name, facts->style);
  known.password = known.kind == TargetKind::kEdit && (facts->style & kPasswordStyle);
  WindowHandle top = window;
  for (int i = 0; i < kParentLimit; ++i) {
    const std::optional<WindowFacts> above = windows_.Facts(top);
    if (!above || above->parent == 0) break;
    top = above->parent;
  }
  known.appeared = std::ranges::find(first_windows_, top) == first_windows_.end();
  const bool titled = IsButton(known.kind) || facts->parent == 0;
  known.name = titled && !facts->title.empty() ? Quoted(PlainMenuText(facts->title))
                                               : BoxName(window, *facts);
  return known;
}

std::string Recorder::BoxName(WindowHandle window, const WindowFacts& facts) const {
  const std::vector<WindowHandle> siblings = windows_.ChildWindows(facts.parent);
  const auto place = std::ranges::find(siblings, window);
  // A dialog's label comes just before its box, in creation order.
  if (place != siblings.begin() && place != siblings.end()) {
    const std::optional<WindowFacts> label = windows_.Facts(*(place - 1));
    std::string text = label && label->class_name == "Static"
                           ? PlainMenuText(label->title)
                           : std::string();
    while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.pop_back();
    if (!text.empty()) return "the " + text + " box";
  }
  return (TextPieces() << "the " << facts.class_name << " box (ID "
                       << windows_.ControlId(window) << ')')
      .Take();
}

void Recorder::Add(const std::vector<MessageRecord>& records) {
  for (const MessageRecord& record : records) {
    const auto window = static_cast<WindowHandle>(record.window);
    if (record.flags & MessageRecord::kStep) {
      AddStep(record);
    } else if (record.message == kCommand && (record.wparam >> 16) == kChange) {
      // The text after the change, unless it was too long for the record.
      if (static_cast<WindowHandle>(record.lparam) != typed_) continue;
      reads_due_ = (record.flags & MessageRecord::kHasText) ? 0 : 2;
      if (reads_due_ == 0) typed_text_ = RecordText(record);
    } else if (IsTyping(record) && Window(window).kind == TargetKind::kEdit) {
      if (typed_ != window) TakeTyping();
      typed_ = window;
      reads_due_ = 2;
    }
  }
}

void Recorder::AddStep(const MessageRecord& record) {
  if (record.message == kCommand && record.lparam != 0) {
    AddCommand(record);
  } else if (record.message == kCommand) {
    TakeTyping();
    AddMenuCommand(record);
  } else if (record.message == kSysCommand) {
    TakeTyping();
    AddSystemCommand(record);
  } else if (record.message == kNotify && (record.flags & MessageRecord::kHasNotify) &&
             (record.flags & MessageRecord::kHasText)) {
    // A list view's row or a tree view's item, selected.
    TakeTyping();
    const auto control = static_cast<WindowHandle>(record.notify_from);
    std::string item = RecordText(record);
    std::string said = "select " + Quoted(item) + " in " + Window(control).name;
    Push(control, Action::kSelectItem, std::move(item), std::move(said));
  }
}

void Recorder::AddCommand(const MessageRecord& record) {
  const auto control = static_cast<WindowHandle>(record.lparam);
  const int code = static_cast<int>((record.wparam >> 16) & 0xFFFF);
  if (code == kKillFocus) {
    if (control == typed_) TakeTyping();
    return;
  }
  TakeTyping();
  const bool cancel_of_close = closing_ == static_cast<WindowHandle>(record.window) &&
                               (record.wparam & 0xFFFF) == kCancel;
  closing_ = 0;
  if (cancel_of_close) return;
  WindowHandle target = control;
  if (code == kClicked && !IsButton(Window(control).kind)) {
    // Enter in a dialog clicks the default button by its ID, which names
    // another child first in some dialogs: the button with the ID is meant.
    const auto id = static_cast<std::int32_t>(record.wparam & 0xFFFF);
    const auto dialog = static_cast<WindowHandle>(record.window);
    target = 0;
    for (WindowHandle button : windows_.ChildrenOfClass(dialog, "Button")) {
      if (windows_.ControlId(button) == id) target = button;
    }
    // Without one, Enter or Esc is the command itself; a static's click is none.
    if (target == 0 && (id == kOk || id == kCancel)) AddMenuCommand(record);
    if (target == 0) return;
  }
  const Known& known = Window(target);
  switch (known.kind) {
    case TargetKind::kPushButton:
      if (code == kClicked) Push(target, Action::kClick, {}, "click " + known.name);
      return;
    case TargetKind::kCheckBox:
    case TargetKind::kRadioButton:
      if (code == kClicked) {
        // The hook read the state of the control clicked, in its thread.
        const bool checked =
            target == control
                ? (record.flags & MessageRecord::kChecked) != 0
                : windows_.ButtonChecked(target, kReadTimeoutMs).value_or(true);
        Push(target, checked ? Action::kCheck : Action::kUncheck, {},
             (checked ? "check " : "uncheck ") + known.name);
      }
      return;
    case TargetKind::kComboBox:
    case TargetKind::kListBox:
      if (code == kSelChange && (record.flags & MessageRecord::kHasText)) {
        std::string item = RecordText(record);
        std::string said = "choose " + Quoted(item) + " in " + known.name;
        Push(target, Action::kChooseItem, std::move(item), std::move(said));
      }
      return;
    default:
      return;
  }
}

void Recorder::AddMenuCommand(const MessageRecord& record) {
  const auto window = static_cast<WindowHandle>(record.window);
  const auto id = static_cast<std::uint32_t>(record.wparam & 0xFFFF);
  // Read at each menu step, which the user gives at a human pace.
  const std::vector<MenuItemInfo> items =
      read_menu_(window).value_or(std::vector<MenuItemInfo>{});
  const auto item = std::ranges::find_if(items, [&](const MenuItemInfo& i) {
    return i.id == id && !i.submenu && !i.separator && i.left_out == 0;
  });
  std::string path;
  if (item != items.end())
    path = MenuPath(items, static_cast<std::size_t>(item - items.begin()));
  const bool accelerator = (record.wparam >> 16) == 1;
  codegen::MessageToSend send{
      .message = kCommand,
      .name = "WM_COMMAND",
      .wparam = record.wparam,
      .comment = !path.empty()
                     ? path
                     : (TextPieces()
                        << (accelerator ? "accelerator" : "command") << ", ID " << id)
                           .Take()};
  std::string said = !path.empty() ? "choose " + path + " in the menu"
                                   : (TextPieces() << "give command " << id).Take();
  Push(window, Action::kFindOnly, {}, std::move(said));
  script_.steps.back().message = std::move(send);
}

void Recorder::AddSystemCommand(const MessageRecord& record) {
  const auto window = static_cast<WindowHandle>(record.window);
  const auto code = static_cast<std::uint32_t>(record.wparam & 0xFFF0);
  const std::string& name = Window(window).name;
  if (code == kScClose) {
    Push(window, Action::kClose, {}, "close " + name);
    closing_ = window;
    return;
  }
  for (const SystemCommand& known : kSystemCommands) {
    if (known.code != code) continue;
    Push(window, Action::kFindOnly, {}, known.said + (' ' + name));
    script_.steps.back().message = codegen::MessageToSend{.message = kSysCommand,
                                                          .name = "WM_SYSCOMMAND",
                                                          .wparam = code,
                                                          .comment = known.name};
  }
}

void Recorder::ReadTyping() {
  const WindowHandle box = typed_;
  if (box == 0 || reads_due_ == 0 || Window(box).password) return;
  --reads_due_;
  std::optional<std::string> text = windows_.LiveText(box, kReadTimeoutMs);
  if (text && typed_ == box) typed_text_ = std::move(text);
}

bool Recorder::ProgramEnded() const {
  const std::vector<TopLevelWindow> tops = windows_.TopLevelWindows();
  return std::ranges::none_of(
      tops, [&](const TopLevelWindow& top) { return top.process_id == process_id_; });
}

void Recorder::TakeTyping() {
  const WindowHandle box = std::exchange(typed_, 0);
  std::optional<std::string> read = std::exchange(typed_text_, std::nullopt);
  if (box == 0) return;
  const Known& known = Window(box);
  if (known.password) {
    Push(
        box, Action::kSetText, std::string(codegen::kPasswordPlaceholder),
        "type the password in " + known.name + " (it was not recorded: fill it in here)");
    return;
  }
  // A box gone with its program, or hung, has nothing to read: its text as
  // read last stands in.
  std::optional<std::string> text =
      windows_.Facts(box) ? windows_.LiveText(box, kReadTimeoutMs) : std::nullopt;
  if (!text) text = std::move(read);
  if (!text) {
    unread_ += "What was typed in " + known.name + " could not be read. ";
    return;
  }
  std::string said = "type " + Quoted(*text) + " in " + known.name;
  Push(box, Action::kSetText, std::move(*text), std::move(said));
}

// A step on the same window as the last, of the same kind, takes its place
// (a combo box's choice changed again, a box typed into again, a check box
// clicked again: the state it is left in) or, for a click, counts it.
void Recorder::Push(WindowHandle window, Action action, std::string text,
                    std::string said) {
  const Known& known = Window(window);
  if (known.plan.levels.empty()) return;  // gone before it was read
  codegen::ScriptStep* last = script_.steps.empty() ? nullptr : &script_.steps.back();
  const bool same_window =
      last && last_window_ == window && !last->message && action != Action::kFindOnly;
  const bool same = same_window && last->action.action == action;
  if (same && action == Action::kClick) {
    last->said = (TextPieces() << said << " (" << ++clicks_ << " times)").Take();
    return;
  }
  if (same_window && (IsCheckState(action) ? IsCheckState(last->action.action)
                                           : same && action != Action::kClose)) {
    last->action = codegen::PlanAction(action, known.kind, known.appeared);
    last->action.text = std::move(text);
    last->said = std::move(said);
    return;
  }
  codegen::ScriptStep step{
      .plan = known.plan,
      .action = codegen::PlanAction(action, known.kind, known.appeared),
      .said = std::move(said)};
  step.action.text = std::move(text);
  script_.steps.push_back(std::move(step));
  last_window_ = window;
  clicks_ = 1;
}

codegen::Script Recorder::Finish() {
  TakeTyping();
  script_.note = std::move(unread_);
  if (ProgramEnded()) script_.note += "The program ended during the recording.";
  while (!script_.note.empty() && script_.note.back() == ' ') script_.note.pop_back();
  return std::move(script_);
}

}  // namespace winscout::inspector
