#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/window_system.h"

namespace winscout::model {

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool Contains(ScreenPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
};

// What a window is made with. Rectangles are in screen coordinates, children
// included, so that tests can place the pointer without any arithmetic.
struct WindowSpec {
  std::string class_name;
  std::string text;
  ScreenRect rect;
  std::int32_t id = 0;
  std::string module_path;
  bool visible = true;
  bool enabled = true;
  // Style bits beyond those the tree keeps itself (visible, disabled, child,
  // topmost).
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  std::uint32_t process_id = 0;
  std::uint32_t thread_id = 0;
  // Its thread answers no message.
  bool hung = false;
  // A list control's items and its selection; a button's check.
  ItemRows items;
  int selected = -1;
  bool checked = false;
};

// LVN_ITEMCHANGED and TVN_SELCHANGEDW, as a ParentCommand's code.
inline constexpr int kRowSelected = -101;
inline constexpr int kTreeSelectionChanged = -451;

// A WM_COMMAND that a control sent its parent, or a WM_NOTIFY of a selection.
struct ParentCommand {
  WindowHandle parent = 0;
  std::int32_t id = 0;
  int code = 0;
  WindowHandle control = 0;
  friend bool operator==(const ParentCommand&, const ParentCommand&) = default;
};

// How an owned top-level window answers the parent query: Windows reports the
// owner only for pop-ups (dialog boxes are pop-ups).
enum class OwnedStyle { kPopup, kOverlapped };

// An in-memory desktop that answers every window-manager query the way
// user32 does: Z-order (new top-level windows on top, new children below
// their older siblings, topmost windows above the rest), owners, hit testing,
// FindWindow/FindWindowEx. Handles are never reused, so a destroyed window's
// handle names no window from then on. It fails where Windows fails: a window
// without a class name is not made (no such class can be registered), and an
// owner is always a top-level window (a child given as owner stands for its
// top-level ancestor). Its ANSI code page is windows-1252.
class WindowTree final : public WindowSystem {
 public:
  explicit WindowTree(WindowHandle first_handle = 0x00010010,
                      WindowHandle handle_step = 4);

  // Each gives the new window, or 0 when Windows would refuse to make it.
  WindowHandle AddTopLevel(WindowSpec props);
  WindowHandle AddChild(WindowHandle parent, WindowSpec props);
  WindowHandle AddOwned(WindowHandle owner, WindowSpec props,
                        OwnedStyle style = OwnedStyle::kPopup);
  // Destroys the window, its children and the windows it owns, as Windows does.
  void Destroy(WindowHandle window);

  void SetText(WindowHandle window, std::string text);
  // As WinForms does, giving each control its own handle as its ID.
  void SetControlId(WindowHandle window, std::int32_t id);
  void SetVisible(WindowHandle window, bool visible);
  void SetEnabled(WindowHandle window, bool enabled);
  void SetRect(WindowHandle window, ScreenRect rect);
  void SetHung(WindowHandle window, bool hung);
  void SetItems(WindowHandle window, ItemRows items);
  void SetProcessImage(std::uint32_t process_id, std::string path);
  // The process that asks; until set, no window's.
  void SetOwnProcess(std::uint32_t process_id) { own_process_ = process_id; }
  void MoveCursor(ScreenPoint point) { cursor_ = point; }

  bool Exists(WindowHandle window) const { return nodes_.contains(window); }
  // The window as it stands now (text, items, selection, check).
  const WindowSpec& Props(WindowHandle window) const;
  // Every WM_COMMAND the controls sent their parents, oldest first.
  const std::vector<ParentCommand>& Commands() const { return commands_; }
  // A top-level window raised into the topmost band.
  void MakeTopmost(WindowHandle window);
  bool IsTopmost(WindowHandle window) const;
  std::size_t WindowCount() const { return nodes_.size(); }
  // The whole desktop as indented text, for failure messages.
  std::string Dump() const;

  ScreenPoint CursorPos() const override { return cursor_; }
  WindowHandle WindowAt(ScreenPoint point) const override;
  std::string WindowText(WindowHandle window, int capacity) const override;
  std::string ClassName(WindowHandle window, int capacity) const override;
  WindowHandle Parent(WindowHandle window) const override;
  std::int32_t ControlId(WindowHandle window) const override;
  std::string ModulePath(WindowHandle window) const override;
  WindowHandle FindTopLevel(std::string_view class_name) const override;
  WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                         std::string_view class_name) const override;
  WindowHandle FindChildWithTitle(WindowHandle parent, WindowHandle after,
                                  std::string_view class_name,
                                  std::string_view title) const override;
  WindowHandle DialogItem(WindowHandle parent, std::int32_t id) const override;
  std::vector<WindowHandle> ChildrenOfClass(WindowHandle parent,
                                            std::string_view class_name,
                                            WindowHandle through = 0) const override;
  WindowHandle DesktopWindow() const override { return kDesktop; }
  bool AnsiCodePageHolds(std::string_view text) const override;
  std::vector<TopLevelWindow> TopLevelWindows() const override;
  std::vector<WindowHandle> ChildWindows(WindowHandle parent) const override;
  std::vector<WindowHandle> ChildWindowsAfter(WindowHandle parent, WindowHandle after,
                                              std::size_t most) const override;
  std::optional<WindowFacts> Facts(WindowHandle window) const override;
  std::uint32_t OwnProcessId() const override { return own_process_; }
  std::string ProcessImagePath(std::uint32_t process_id) const override;
  std::optional<std::string> LiveText(WindowHandle window, int timeout_ms) const override;
  bool SetLiveText(WindowHandle window, std::string_view text, int timeout_ms) override;
  std::optional<bool> ButtonChecked(WindowHandle window, int timeout_ms) const override;
  std::optional<int> SelectedIndex(WindowHandle window, SelectionList list,
                                   int timeout_ms) const override;
  bool PostClick(WindowHandle window) override;
  bool PostClose(WindowHandle window) override;
  bool DeliverMessage(WindowHandle window, std::uint32_t message, std::uint64_t wparam,
                      std::int64_t lparam, bool post, int timeout_ms) override;
  bool ChooseItem(WindowHandle window, ItemList list, std::string_view text,
                  int timeout_ms) override;
  // The parent is told as by WM_NOTIFY: a command whose code is the
  // notification's (kRowSelected, kTreeSelectionChanged).
  bool SelectItem(WindowHandle window, ItemList list, std::string_view text,
                  int timeout_ms) override;
  std::optional<ItemRows> Items(WindowHandle window, ItemList list,
                                int timeout_ms) const override;
  // The model's lists are indexed alike, a tree's items in the order it shows
  // them open.
  std::optional<ItemPiece> ItemsFrom(WindowHandle window, ItemList list,
                                     std::uint64_t from, std::size_t most,
                                     int timeout_ms) const override;
  bool SetWindowShown(WindowHandle window, bool shown) override;
  bool SetWindowEnabled(WindowHandle window, bool enabled) override;
  bool BringToFront(WindowHandle window) override;

 private:
  // Siblings sort by this key, highest first: topmost band, then stacking.
  struct ZKey {
    bool topmost = false;
    std::int64_t stacking = 0;
    WindowHandle handle = 0;
    friend auto operator<=>(const ZKey&, const ZKey&) = default;
  };
  using Siblings = std::set<ZKey, std::greater<>>;

  struct Node {
    WindowSpec props;
    WindowHandle parent = 0;  // 0: top-level
    WindowHandle owner = 0;
    OwnedStyle owned_style = OwnedStyle::kPopup;
    ZKey key;
    Siblings children;
  };

  // A handle the builder never gives out, as on Windows, where the desktop
  // is made before any other window.
  static constexpr WindowHandle kDesktop = 0x00010008;

  // The next child of `parent` after `after` (0: from the first) that `pick`
  // accepts, or 0; 0 too when `after` is not a child of `parent`.
  template <typename Pick>
  WindowHandle NextChild(WindowHandle parent, WindowHandle after, Pick pick) const;
  WindowHandle Insert(WindowHandle parent, WindowSpec props, std::int64_t stacking);
  const Node* Find(WindowHandle window) const;
  // The window, where it exists and its thread answers.
  Node* Answering(WindowHandle window);
  const Node* Answering(WindowHandle window) const;
  Node& Get(WindowHandle window);
  Siblings& SiblingsOf(WindowHandle parent);
  const Siblings* SiblingsOf(WindowHandle parent) const;
  // The window under the point, from `window` down.
  WindowHandle HitTest(WindowHandle window, ScreenPoint point) const;
  void DumpLevel(const Siblings& siblings, int depth, std::string& out) const;

  std::unordered_map<WindowHandle, Node> nodes_;
  std::unordered_map<std::uint32_t, std::string> process_images_;
  std::vector<ParentCommand> commands_;
  Node desktop_;
  Siblings top_level_;
  ScreenPoint cursor_;
  WindowHandle next_handle_;
  WindowHandle handle_step_;
  std::int64_t stacking_counter_ = 0;
  std::uint32_t own_process_ = 0xFFFFFFFF;
};

}  // namespace winscout::model
