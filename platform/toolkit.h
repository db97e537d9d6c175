#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/handler.h"
#include "platform/window_system.h"

namespace winscout {

// A modal message box with an OK button; returns when the user has closed it.
class ModalMessageBox {
 public:
  virtual ~ModalMessageBox() = default;
  // With the exclamation icon, for something that went wrong.
  virtual void ShowExclamation(std::string_view title, std::string_view text) = 0;
  // With the information icon.
  virtual void ShowInformation(std::string_view title, std::string_view text) = 0;
};

// An image a picture box can show; what it is made of is the toolkit's own.
class Picture {
 public:
  virtual ~Picture() = default;
};

enum class MousePointer { kDefault = 0, kCustom = 99 };

// An item of a box's own section of its context menu.
struct MenuChoice {
  // A radio item is one of a group of which one is marked; a check item
  // stands alone; a command is never marked.
  enum class Mark { kRadio, kCheck, kCommand };
  std::string text;
  Mark mark = Mark::kRadio;
  bool marked = false;
  // A separator sets it apart from the items above (in its submenu).
  bool begins_group = false;
  // The submenu it is in, by that submenu's text; empty: the menu itself.
  // The items of a submenu follow one another.
  std::string submenu;
  friend bool operator==(const MenuChoice&, const MenuChoice&) = default;
};

class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual std::string Text() const = 0;
  // Replaces the whole text and raises the change event, as typing does.
  virtual void SetText(std::string_view text) = 0;
  virtual void OnChange(EventHandler handler) = 0;
  // Choices that the box's context menu offers after its edit commands. The
  // marks change only when the choices are set again.
  virtual void SetMenuChoices(std::vector<MenuChoice> choices) = 0;
  // The user chose the choice with this index.
  virtual void OnMenuChoice(Handler<void(std::size_t)> handler) = 0;
};

// A picture box holds the mouse from a press until every button is released,
// so the release comes back to it wherever the pointer is by then. Its events
// come for any mouse button.
class PictureBox {
 public:
  virtual ~PictureBox() = default;
  virtual const Picture* GetPicture() const = 0;
  // nullptr empties the box. The picture is not owned: image holders keep it.
  virtual void SetPicture(const Picture* picture) = 0;
  virtual MousePointer GetMousePointer() const = 0;
  virtual void SetMousePointer(MousePointer pointer) = 0;
  virtual void OnMouseDown(EventHandler handler) = 0;
  virtual void OnMouseUp(EventHandler handler) = 0;
  // While pressed: the pointer moved, wherever it is.
  virtual void OnMouseMove(EventHandler handler) = 0;
  // While pressed: Esc, or the system took the mouse away. The box has let go
  // of the mouse, and no release follows.
  virtual void OnCancel(EventHandler handler) = 0;
};

// An outline around a window on the screen, drawn over it without touching
// it: it takes no focus, no input and no part in hit testing.
class TargetHighlight {
 public:
  virtual ~TargetHighlight() = default;
  // 0 takes the outline away.
  virtual void Outline(WindowHandle window) = 0;
  // The outlined window was destroyed; the outline is gone with it.
  virtual void OnTargetGone(EventHandler handler) = 0;
};

// Keys held with a function key, F1 to F24.
struct KeyCombination {
  bool control = false;
  bool shift = false;
  int function_key = 0;
};

// A key combination that reaches the program whichever program has the
// keyboard, while the program runs.
class GlobalHotKey {
 public:
  virtual ~GlobalHotKey() = default;
  // Takes the combination for the program unless another program holds it;
  // whether the program holds it now.
  virtual bool Register() = 0;
  virtual void OnPressed(EventHandler handler) = 0;
};

// A windowless holder of one picture.
class ImageHolder {
 public:
  virtual ~ImageHolder() = default;
  virtual const Picture* GetPicture() const = 0;
};

class Button {
 public:
  virtual ~Button() = default;
  virtual void OnClick(EventHandler handler) = 0;
};

// Ticks on the user-interface thread, at most one pending at a time.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual int IntervalMs() const = 0;
  virtual void OnTick(EventHandler handler) = 0;
};

// An item of a tree view, named by a key of the caller's choosing.
using TreeItemKey = std::uint64_t;
struct TreeItem {
  TreeItemKey key = 0;
  std::string text;
  bool dimmed = false;
  bool expandable = false;  // shown with a button; its children come when asked
  friend bool operator==(const TreeItem&, const TreeItem&) = default;
};

// A tree whose items are filled in as the user opens them.
class TreeView {
 public:
  virtual ~TreeView() = default;
  // Replaces the items below `parent` (nothing: the top level), and what was
  // below those.
  virtual void SetChildren(std::optional<TreeItemKey> parent,
                           std::vector<TreeItem> items) = 0;
  // Opens the item; its children must be there already.
  virtual void Expand(TreeItemKey key) = 0;
  // The open items, parents before their children.
  virtual std::vector<TreeItemKey> ExpandedItems() const = 0;
  virtual std::optional<TreeItemKey> Selected() const = 0;
  // Selects the item and brings it into view, without the selection event.
  virtual void Select(TreeItemKey key) = 0;
  // The user opens an item whose children were never set.
  virtual void OnExpanding(Handler<void(TreeItemKey)> handler) = 0;
  // The user selects an item.
  virtual void OnSelect(Handler<void(TreeItemKey)> handler) = 0;
  // Shows the item dimmed from now on, as one whose window is gone.
  virtual void Dim(TreeItemKey key) = 0;
  // The item context menu, opened on an item: the one right-clicked (which is
  // selected first, as a click selects it) or, from the keyboard, the selected
  // one. `choices` gives the menu for that item (none: no menu), `on_choose`
  // the choice made, with that item, whatever is selected by then.
  virtual void SetMenu(Handler<std::vector<std::string>(TreeItemKey)> choices,
                       Handler<void(TreeItemKey, std::size_t)> on_choose) = 0;
};

// Lines of a name and a value, one of which the user may select.
class DetailsList {
 public:
  virtual ~DetailsList() = default;
  virtual void SetLines(std::vector<std::pair<std::string, std::string>> lines) = 0;
  virtual std::optional<std::size_t> SelectedLine() const = 0;
  // Ctrl+C in the list.
  virtual void OnCopy(EventHandler handler) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Whether the text went onto the clipboard: not while another program holds
  // it open.
  virtual bool SetText(std::string_view text) = 0;
};

// What became of a Save As: the file written, the dialog cancelled, or the
// file not written.
enum class SaveResult { kSaved, kCancelled, kFailed };

// The window that lists every window of the desktop: a filter box, a
// "Refresh" button, the tree and the details of the selected item. Closing it
// hides it.
class WindowsView {
 public:
  virtual ~WindowsView() = default;
  // Shows the window and gives it the focus.
  virtual void Show() = 0;
  virtual bool Visible() const = 0;
  virtual TextBox& Filter() = 0;
  virtual TreeView& Tree() = 0;
  virtual DetailsList& Details() = 0;
  // The "Refresh" button.
  virtual void OnRefresh(EventHandler handler) = 0;
  // The line below the tree that says what the window is doing.
  virtual void SetStatus(std::string_view text) = 0;
  // Calls `handler` once, `ms` milliseconds from now, on the user-interface
  // thread; a later call replaces a call still to come.
  virtual void CallLater(int ms, EventHandler handler) = 0;
  // Asks where to save, offering `name`, and writes the JSON there.
  virtual SaveResult SaveJson(std::string_view name, std::string_view bytes) = 0;
};

// Positions and sizes in twips, 1440 to the inch.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind {
  kFrame,
  kPictureBox,
  kTextBox,
  kCodeBox,  // multi-line, both scroll bars
  kButton,
  kImage,
  kTimer,
};

// One control of a form, as the toolkit lays it out.
struct ControlSpec {
  int id = 0;  // also the control's ID on the platform
  std::string_view name;
  ControlKind kind = ControlKind::kTextBox;
  int container = 0;  // the id of a frame, or 0 for the form itself
  std::string_view text;
  TwipsRect rect;
  int tab_index = 0;
  bool visible = true;
  int interval_ms = 0;  // timers only
};

struct FormSpec {
  std::string_view caption;
  int client_width = 0;  // twips
  int client_height = 0;
  std::span<const ControlSpec> controls;
  // Kept above the windows that are not, from the moment it exists.
  bool topmost = false;
};

// The one window of the program, with every control of its description, created
// hidden. Controls are reached by their ids.
class Form {
 public:
  virtual ~Form() = default;
  virtual WindowHandle Handle() const = 0;
  virtual int ClientWidth() const = 0;  // twips
  // Sets the outer width so that the client area gets this width; the height
  // and the position stay.
  virtual void SetClientWidth(int twips) = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void Show() = 0;
  // Adds an item at the end of the window's system menu, below a line that
  // sets the program's items apart from the system's; choosing it calls
  // `chosen`. Returns the item's number, for changing its text later.
  virtual std::size_t AddSystemMenuItem(std::string text, EventHandler chosen) = 0;
  virtual void SetSystemMenuItemText(std::size_t item, std::string text) = 0;
  // A function key (F1 to F24) pressed alone in any of the program's windows.
  virtual void OnFunctionKey(int number, EventHandler handler) = 0;
  // Calls `step` whenever no input or message waits, until it returns false;
  // each call must be short, as the program answers nothing meanwhile. A later
  // call for the same queue (0 or 1) replaces the step still to come; the
  // steps of the two queues take turns.
  void WhenIdle(Handler<bool()> step) { WhenIdleIn(0, step); }
  virtual void WhenIdleIn(int queue, Handler<bool()> step) = 0;
  // Esc pressed in the form or one of its controls, taken from them while a
  // handler is set (an empty one gives it back).
  virtual void OnEscape(EventHandler handler) = 0;
  // Milliseconds from some moment before, never going back: for spacing work.
  virtual std::int64_t ClockMs() const = 0;

  virtual TextBox& TextBoxAt(int id) = 0;
  virtual PictureBox& PictureBoxAt(int id) = 0;
  virtual ImageHolder& ImageAt(int id) = 0;
  virtual Button& ButtonAt(int id) = 0;
  virtual Timer& TimerAt(int id) = 0;
  virtual TargetHighlight& Highlight() = 0;
};

}  // namespace winscout
