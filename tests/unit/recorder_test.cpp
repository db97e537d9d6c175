#include "inspector/recorder.h"

#include <gtest/gtest.h>

#include "platform/model/window_tree.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {
namespace {

constexpr std::uint32_t kProcess = 7;
enum Control { kMain, kName, kPassword, kColor, kGift, kFiles, kOk, kCancel, kDialog };

// One thing the hook wrote: typing into a control, a control's notification
// to its parent, a menu command, a system command; or WinScout's tick, which
// takes them and reads what is typed.
struct Event {
  enum Kind { kTyped, kChanged, kNotified, kSelected, kMenu, kSystem, kTick } kind;
  Control control;
  std::uint32_t code = 0;  // the notification, the ID, the SC_ value
  std::u16string item;     // the item the hook read
};

struct RecordCase {
  std::string name;
  std::vector<Event> events;
  std::vector<std::string> steps;
  std::string note;  // set where the program ends after the events
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

// A step as one line: action, text, what was said, the wait, the message.
std::string Line(const codegen::ScriptStep& step) {
  TextPieces out;
  out << codegen::ActionName(step.action.action) << " [" << step.action.text << "] "
      << step.said << (step.action.wait ? " (wait)" : "");
  if (step.message)
    out << " post " << step.message->wparam << " " << step.message->comment;
  return out.Take();
}

class RecorderTest : public ::testing::TestWithParam<RecordCase> {
 protected:
  WindowHandle Add(WindowHandle parent, std::string class_name, std::string text,
                   std::int32_t id, std::uint32_t style = 0) {
    return desktop_.AddChild(parent, {.class_name = std::move(class_name),
                                      .text = std::move(text),
                                      .id = id,
                                      .style = style,
                                      .process_id = kProcess});
  }
  model::WindowTree desktop_;
  WindowHandle windows_[kDialog + 1] = {};
};

TEST_P(RecorderTest, TurnsRecordsIntoSteps) {
  const RecordCase& c = GetParam();
  WindowHandle& main = windows_[kMain];
  main = desktop_.AddTopLevel(
      {.class_name = "OrderMain", .text = "Orders", .process_id = kProcess});
  const std::vector<MenuItemInfo> menu = {
      {.depth = 0, .text = "&File", .submenu = true},
      {.depth = 1, .id = 40001, .text = "Save &As...\tCtrl+S"}};
  Recorder recorder(desktop_, kProcess, [&menu](WindowHandle) {
    return std::optional<std::vector<MenuItemInfo>>(menu);
  });
  // The dialog opens during the recording.
  const WindowHandle dialog = windows_[kDialog] = desktop_.AddOwned(
      main, {.class_name = "#32770", .text = "Order", .process_id = kProcess});
  Add(dialog, "Static", "&Name:", -1);
  windows_[kName] = Add(dialog, "Edit", "Bob", 101);
  Add(dialog, "Static", "Password:", -1);
  windows_[kPassword] = Add(dialog, "Edit", "hunter2", 102, 0x20);
  Add(dialog, "Static", "Color:", -1);
  windows_[kColor] = Add(dialog, "ComboBox", "", 103);
  windows_[kGift] = Add(dialog, "Button", "&Gift wrap", 104, 3);
  // Before OK, with its ID, as in a file dialog: Enter names it, not OK.
  windows_[kFiles] = Add(dialog, "SysListView32", "", 1);
  windows_[kOk] = Add(dialog, "Button", "OK", 1);
  windows_[kCancel] = Add(dialog, "Button", "Cancel", 2);
  std::vector<MessageRecord> records;
  for (const Event& event : c.events) {
    const WindowHandle window = windows_[event.control];
    if (event.kind == Event::kTick) {
      recorder.Add(std::exchange(records, {}));
      recorder.ReadTyping();
      continue;
    }
    MessageRecord record{.window = window, .flags = MessageRecord::kStep};
    switch (event.kind) {
      case Event::kTyped:
        record = {.window = window, .wparam = 'x', .message = 0x0102};
        break;
      case Event::kChanged:  // EN_CHANGE, with the text when it is short
        record = {.window = desktop_.Parent(window),
                  .wparam = (0x300u << 16) | desktop_.ControlId(window),
                  .lparam = window,
                  .message = 0x0111};
        break;
      case Event::kNotified:
        record.window = desktop_.Parent(window);
        record.message = 0x0111;
        record.wparam = (event.code << 16) | (desktop_.ControlId(window) & 0xFFFF);
        record.lparam = window;
        break;
      case Event::kSelected:
        record.window = desktop_.Parent(window);
        record.message = 0x004E;
        record.notify_from = window;
        record.flags |= MessageRecord::kHasNotify;
        break;
      case Event::kMenu:
        record.message = 0x0111;
        record.wparam = event.code;
        break;
      case Event::kSystem:
        record.message = 0x0112;
        record.wparam = event.code;
        break;
      case Event::kTick:
        break;
    }
    if (!event.item.empty()) {
      event.item.copy(record.text, event.item.size());
      record.flags |= MessageRecord::kHasText;
    }
    records.push_back(record);
  }
  recorder.Add(records);
  if (!c.note.empty()) desktop_.Destroy(main);
  const codegen::Script script = recorder.Finish();
  std::vector<std::string> lines;
  for (const codegen::ScriptStep& step : script.steps) lines.push_back(Line(step));
  EXPECT_EQ(lines, c.steps);
  EXPECT_EQ(script.note, c.note);
  const std::string code =
      codegen::EmitScript(script, codegen::FinderLanguage::kCpp, codegen::FinderStyle{});
  EXPECT_EQ(code.find("hunter2"), std::string::npos) << code;
}

constexpr std::uint32_t kClicked = 0, kSelChange = 1, kKillFocus = 0x200;
const std::string kEnded = "The program ended during the recording.";

INSTANTIATE_TEST_SUITE_P(
    Table, RecorderTest,
    ::testing::Values(
        RecordCase{"TypingIsOneStepReadWhenTheBoxIsLeft",
                   {{Event::kTyped, kName},
                    {Event::kTyped, kName},
                    {Event::kNotified, kName, kKillFocus},
                    {Event::kNotified, kOk, kClicked}},
                   {"Set its text [Bob] type \"Bob\" in the Name box (wait)",
                    "Click it [] click \"OK\" (wait)"}},
        RecordCase{"APasswordIsNeverRead",
                   {{Event::kTyped, kPassword}, {Event::kNotified, kOk, kClicked}},
                   {"Set its text [Password] type the password in the Password box (it "
                    "was not recorded: fill it in here) (wait)",
                    "Click it [] click \"OK\" (wait)"}},
        RecordCase{"TheLastChoiceOfABoxInARowCounts",
                   {{Event::kNotified, kColor, kSelChange, u"Red"},
                    {Event::kNotified, kColor, kSelChange, u"Blue"},
                    {Event::kNotified, kGift, kClicked},
                    {Event::kNotified, kGift, kClicked}},
                   {"Choose an item [Blue] choose \"Blue\" in the Color box (wait)",
                    "Uncheck it [] uncheck \"Gift wrap\" (wait)"}},
        RecordCase{"ARowSelectedIsSelectedByItsText",
                   {{Event::kSelected, kFiles, 0, u"a.txt"},
                    {Event::kSelected, kFiles, 0, u"b.txt"}},
                   {"Select the item [b.txt] select \"b.txt\" in the SysListView32 box "
                    "(ID 1) (wait)"}},
        RecordCase{"ClicksInARowAreCounted",
                   {{Event::kNotified, kOk, kClicked},
                    {Event::kNotified, kFiles, kClicked},
                    {Event::kNotified, kOk, kClicked}},
                   {"Click it [] click \"OK\" (3 times) (wait)"}},
        RecordCase{"AMenuCommandIsPostedWithItsPath",
                   {{Event::kTyped, kName}, {Event::kMenu, kMain, 40001}},
                   {"Set its text [Bob] type \"Bob\" in the Name box (wait)",
                    "Find only [] choose File > Save As... in the menu post 40001 File > "
                    "Save As..."}},
        RecordCase{"ClosingADialogIsNotAlsoItsCancel",
                   {{Event::kSystem, kDialog, 0xF060},
                    {Event::kNotified, kCancel, kClicked},
                    {Event::kSystem, kMain, 0xF012},
                    {Event::kSystem, kMain, 0xF020}},
                   {"Close it [] close \"Order\" (wait)",
                    "Find only [] minimize \"Orders\" post 61472 SC_MINIMIZE"}},
        RecordCase{"TheStepsStayWhenTheProgramEnds",
                   {{Event::kNotified, kOk, kClicked}, {Event::kTyped, kName}},
                   {"Click it [] click \"OK\" (wait)"},
                   "What was typed in the Name box could not be read. " + kEnded},
        RecordCase{"TypingReadOnATickStaysWhenTheProgramEnds",
                   {{Event::kTyped, kName}, {Event::kTick, kMain}},
                   {"Set its text [Bob] type \"Bob\" in the Name box (wait)"},
                   kEnded},
        RecordCase{"TheTextOfTheLastChangeStaysWhenTheProgramEnds",
                   {{Event::kTyped, kName},
                    {Event::kChanged, kName, 0, u"Bo"},
                    {Event::kChanged, kColor, 0, u"Red"}},
                   {"Set its text [Bo] type \"Bo\" in the Name box (wait)"},
                   kEnded}));

}  // namespace
}  // namespace winscout::inspector
