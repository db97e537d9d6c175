#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unicode_text.h"

namespace winscout {

// A window handle as the user sees it: a Win64 HWND narrowed to 32 bits with
// its sign kept (window handles are 32-bit values even on 64-bit Windows).
// 0 means no window.
using WindowHandle = std::int32_t;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A rectangle in screen pixels; right and bottom lie just outside.
struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// How a window's process meets the display's DPI.
enum class DpiAwareness { kUnknown, kUnaware, kSystemAware, kPerMonitorAware };

// What the window manager keeps about a window beyond its texts.
struct WindowFacts {
  std::string class_name;  // the whole name, in Unicode
  // The text the window manager keeps for the window, asking it nothing; an
  // edit control's contents are its own.
  std::string title;
  PixelRect window_rect;
  PixelRect client_rect;  // on the screen too
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  WindowHandle parent = 0;  // of a child window; 0 for a top-level one
  WindowHandle owner = 0;   // of an owned top-level window
  std::uint32_t process_id = 0;
  std::uint32_t thread_id = 0;
  bool visible = false;  // shown, and so are all its parents
  bool enabled = false;
  DpiAwareness dpi_awareness = DpiAwareness::kUnknown;
  int dpi = 0;  // 0 where the system does not say
};

// A top-level window as the list of them gives it: no more than the list of
// processes needs.
struct TopLevelWindow {
  WindowHandle window = 0;
  std::uint32_t process_id = 0;
  friend bool operator==(const TopLevelWindow&, const TopLevelWindow&) = default;
};

// The kinds of item list a standard control keeps, each read and chosen with
// messages of its own.
enum class ItemList { kComboBox, kListBox, kListView, kTreeView };

// The controls whose selected item a snapshot tells, each by the place of it,
// which one message of its own gives; a tree view's place is where its
// selected item comes in the order that Items reads the tree.
enum class SelectionList { kComboBox, kListBox, kListView, kTabControl, kTreeView };

// The items of a list, each a row of its texts: one text but for a list
// view, which gives every column. A tree's items come parents first, in the
// order the tree shows them open.
using ItemRows = std::vector<std::vector<std::string>>;

// A piece of a list's items, read from a place in the list: where the next
// piece starts (0: the list is read), and how many items the list holds.
struct ItemPiece {
  ItemRows rows;
  std::uint64_t next = 0;
  std::size_t total = 0;
};

// What is read of another program is bounded whatever it answers, so that no
// answer can end, or bloat, the reader: a window's text is read up to
// kMostTextUnits UTF-16 units and cut there; a list, up to kMostItems items (a
// list view's rows, each of at most kMostColumns texts), each text up to
// kMostItemTextUnits, and kMostItemUnits units in all.
inline constexpr std::size_t kMostTextUnits = 131072;
inline constexpr std::size_t kMostItems = 1'000'000;
inline constexpr std::size_t kMostColumns = 256;
inline constexpr std::size_t kMostItemTextUnits = std::size_t{1} << 20;
inline constexpr std::size_t kMostItemUnits = std::size_t{1} << 24;
// Whether a text so read reached the limit: it was cut, or is exactly as long.
inline bool ReachesTextLimit(std::string_view text) {
  return CutToUtf16Units(text, kMostTextUnits - 1).size() < text.size();
}

// The window-manager queries the program makes, in the platform's own terms.
// Text comes back as UTF-8. A capacity counts characters including the
// terminator, as the Win32 text queries do: at most capacity - 1 characters
// come back. A handle that names no window (0 included) gives 0 or an empty
// text; no query reports failure in any other way.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual ScreenPoint CursorPos() const = 0;
  // The deepest visible window at the point, disabled ones included, or 0.
  virtual WindowHandle WindowAt(ScreenPoint point) const = 0;

  virtual std::string WindowText(WindowHandle window, int capacity) const = 0;
  // The class name as it was registered, Unicode included (never the
  // question marks of the ANSI query).
  virtual std::string ClassName(WindowHandle window, int capacity) const = 0;
  // The parent of a child window, the owner of an owned pop-up, otherwise 0.
  virtual WindowHandle Parent(WindowHandle window) const = 0;
  // The full control ID (not its low 16 bits), narrowed to 32 bits.
  virtual std::int32_t ControlId(WindowHandle window) const = 0;
  // The module whose instance handle the window carries, in its own process.
  virtual std::string ModulePath(WindowHandle window) const = 0;

  // The desktop window, the ancestor of every top-level window.
  virtual WindowHandle DesktopWindow() const = 0;

  // Whether the text comes back unchanged through the ANSI code page, so that
  // code calling the ANSI functions can search for it.
  virtual bool AnsiCodePageHolds(std::string_view text) const = 0;

  // The first top-level window of the class, any title; class names compare
  // without regard to case.
  virtual WindowHandle FindTopLevel(std::string_view class_name) const = 0;
  // The next direct child of `parent` of the class after `after` (0: from the
  // first child); `parent` 0 searches the top-level windows. An empty class
  // name stands for any class, as a null one does for FindWindowEx. 0 if
  // none, or if `after` is not a child of `parent`.
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                                 std::string_view class_name) const = 0;
  // FindChild for the windows of the class whose title is `title`, titles
  // compared as the window manager compares them.
  virtual WindowHandle FindChildWithTitle(WindowHandle parent, WindowHandle after,
                                          std::string_view class_name,
                                          std::string_view title) const = 0;
  // The first direct child of `parent` with the control ID, or 0.
  virtual WindowHandle DialogItem(WindowHandle parent, std::int32_t id) const = 0;
  // Every window that successive FindChild calls give, from one enumeration
  // of the children: the searches of a plan cost one pass, not one per step.
  // The enumeration ends at `through` where it meets it (0: goes to the end).
  virtual std::vector<WindowHandle> ChildrenOfClass(WindowHandle parent,
                                                    std::string_view class_name,
                                                    WindowHandle through = 0) const = 0;

  // Every top-level window, topmost first, in the window manager's order:
  // a few questions to the window manager, however many windows there are.
  virtual std::vector<TopLevelWindow> TopLevelWindows() const = 0;
  // The direct children of the window, topmost first.
  virtual std::vector<WindowHandle> ChildWindows(WindowHandle parent) const = 0;
  // The same list a piece at a time, for a reader that must not be held by a
  // long one (children cost a question each): at most `most` windows, those
  // after `after` (0: from the first). Where `after` is no longer in the list,
  // from the first again: the reader passes over what it has.
  virtual std::vector<WindowHandle> ChildWindowsAfter(WindowHandle parent,
                                                      WindowHandle after,
                                                      std::size_t most) const = 0;
  // Nothing for a handle that names no window.
  virtual std::optional<WindowFacts> Facts(WindowHandle window) const = 0;
  // The process that asks: WinScout's own.
  virtual std::uint32_t OwnProcessId() const = 0;
  // The path of the program that the process runs, or empty.
  virtual std::string ProcessImagePath(std::uint32_t process_id) const = 0;
  // The text the window itself answers when asked for it, up to
  // kMostTextUnits, or nothing when it does not answer within the time (its
  // thread is busy or hung).
  virtual std::optional<std::string> LiveText(WindowHandle window,
                                              int timeout_ms) const = 0;
  // The live texts of many windows, in their order: what LiveText gives for
  // each, read several at a time where the system can wait for more than one
  // answer at once.
  virtual std::vector<std::optional<std::string>> LiveTexts(
      const std::vector<WindowHandle>& windows, int timeout_ms) const {
    std::vector<std::optional<std::string>> texts;
    texts.reserve(windows.size());
    for (WindowHandle window : windows) texts.push_back(LiveText(window, timeout_ms));
    return texts;
  }

  // Operations on a window, as a user's hand or another program would do
  // them. Each sends to the window with a time limit or posts, so that a
  // hung window never holds the caller; each gives false or nothing where
  // the window is gone or did not answer in time.

  // WM_SETTEXT.
  virtual bool SetLiveText(WindowHandle window, std::string_view text,
                           int timeout_ms) = 0;
  // BM_GETCHECK: whether a check box or radio button is checked.
  virtual std::optional<bool> ButtonChecked(WindowHandle window,
                                            int timeout_ms) const = 0;
  // The place of the selected item from 0 (a multiple-selection list's
  // focused one), or -1 for none; nothing where the window is gone or did not
  // answer in time.
  virtual std::optional<int> SelectedIndex(WindowHandle window, SelectionList list,
                                           int timeout_ms) const = 0;
  // BM_CLICK, posted: a button that opens a modal dialog does not hold the
  // caller until the dialog closes.
  virtual bool PostClick(WindowHandle window) = 0;
  // WM_CLOSE, posted.
  virtual bool PostClose(WindowHandle window) = 0;
  // Any message whose parameters are numbers, posted or sent, as a logged
  // message or a menu command is repeated.
  virtual bool DeliverMessage(WindowHandle window, std::uint32_t message,
                              std::uint64_t wparam, std::int64_t lparam, bool post,
                              int timeout_ms) = 0;
  // Selects the first item that begins with the text, case ignored (as
  // CB_SELECTSTRING and LB_SELECTSTRING do), then sends the parent what a
  // user's choice sends it: WM_COMMAND with CBN_SELCHANGE or LBN_SELCHANGE
  // and the control's ID. Combo and list boxes only; false where no item
  // begins with the text.
  virtual bool ChooseItem(WindowHandle window, ItemList list, std::string_view text,
                          int timeout_ms) = 0;
  // Selects and focuses the first item whose text (a list view row's first
  // column) is the text, alone, as a user's click does; the control tells its
  // parent itself (WM_NOTIFY: a list view's LVN_ITEMCHANGED, a tree view's
  // TVN_SELCHANGED). List and tree views only; false where no item has the
  // text.
  virtual bool SelectItem(WindowHandle window, ItemList list, std::string_view text,
                          int timeout_ms) = 0;
  // Every item of the list, read in the window's own process where the
  // control keeps its items in memory only it can see, up to the limits: a
  // list view or tree view item's text is cut at kMostItemTextUnits; the
  // reading of a combo or list box ends before an item said to be longer,
  // which cannot be read safely (the control writes it whole).
  virtual std::optional<ItemRows> Items(WindowHandle window, ItemList list,
                                        int timeout_ms) const = 0;
  // The same a piece at a time, for a reader that must not be held by a long
  // list: at most `most` (at least 1) items from `from`, 0 for the first
  // item, otherwise the `next` of the piece before. Each send has the time
  // limit; nothing where one fails.
  virtual std::optional<ItemPiece> ItemsFrom(WindowHandle window, ItemList list,
                                             std::uint64_t from, std::size_t most,
                                             int timeout_ms) const = 0;
  // Shows or hides the window without activating it.
  virtual bool SetWindowShown(WindowHandle window, bool shown) = 0;
  virtual bool SetWindowEnabled(WindowHandle window, bool enabled) = 0;
  // Raises the window's top-level window above the others and activates it.
  virtual bool BringToFront(WindowHandle window) = 0;
};

}  // namespace winscout
