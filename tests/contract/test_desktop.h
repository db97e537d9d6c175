#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "platform/window_system.h"

namespace winscout::testing {

struct TestRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// A window for a contract test to make. Rectangles are in screen pixels for
// children too.
struct TestWindowSpec {
  std::string class_name;
  std::string text;
  TestRect rect{0, 0, 10, 10};
  std::int32_t id = 0;
  bool visible = false;
  bool enabled = true;
  // Style bits of the class's own (a button's kind, a list view's view).
  std::uint32_t style = 0;
};

// A WM_COMMAND that a window made by the desktop received.
struct TestCommand {
  std::int32_t id = 0;
  int code = 0;
  WindowHandle control = 0;
  friend bool operator==(const TestCommand&, const TestCommand&) = default;
};

// A desktop on which a contract test builds the windows it needs and then
// asks the WindowSystem under test about them: the in-memory model natively,
// real windows of the test's own process under Wine. Everything it made is
// destroyed with it. A window that Windows refuses to make (one without a
// class name) comes back as 0.
class TestDesktop {
 public:
  virtual ~TestDesktop() = default;

  virtual WindowSystem& System() = 0;
  virtual WindowHandle AddTopLevel(const TestWindowSpec& props) = 0;
  virtual WindowHandle AddChild(WindowHandle parent, const TestWindowSpec& props) = 0;
  // popup: a pop-up (like a dialog box) rather than an overlapped window.
  virtual WindowHandle AddOwned(WindowHandle owner, const TestWindowSpec& props,
                                bool popup) = 0;
  virtual void Destroy(WindowHandle window) = 0;
  // Gives a list control its items: one text a row but for a list view's
  // columns; a tree item's text is its path from the root, '/' between
  // levels, parents first.
  virtual void FillItems(WindowHandle control, ItemList list, const ItemRows& rows) = 0;
  // The WM_COMMAND messages the window received, and the WM_NOTIFY messages
  // of a selection (a list view's row newly selected, LVN_ITEMCHANGED; a tree
  // view's TVN_SELCHANGEDW), as its control ID, code and window, oldest first.
  virtual std::vector<TestCommand> CommandsTo(WindowHandle window) = 0;
  // Lets the messages posted to the desktop's windows arrive.
  virtual void Pump() = 0;
  virtual void MoveCursor(ScreenPoint point) = 0;
  virtual void MakeTopmost(WindowHandle window) = 0;
  virtual bool IsTopmost(WindowHandle window) = 0;
  // The module path that windows made by this desktop report.
  virtual std::string OwnModulePath() = 0;
  // The process and thread that windows made by this desktop belong to.
  virtual std::uint32_t OwnProcessId() = 0;
  virtual std::uint32_t OwnThreadId() = 0;
  // Whether class names longer than 255 characters can be registered.
  virtual bool AllowsClassNamesOver255() = 0;
  // The windows made so far, for failure messages.
  virtual std::string Describe() = 0;
};

std::unique_ptr<TestDesktop> MakeTestDesktop();

// An empty store of settings, of the kind the program uses; what it holds is
// gone with it.
std::unique_ptr<SettingsStore> MakeTestSettings();

}  // namespace winscout::testing
