#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "app/main_window.h"
#include "inspector/desktop_tree.h"
#include "inspector/menu_tree.h"
#include "inspector/window_details.h"
#include "platform/message_tap.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::app {

// The behaviour of the "Windows" window: the desktop tree with its filter and
// refresh, the details of the selected item, copying, and picks: selecting a
// window in the tree does what a drop on it does, and a pick under the pointer
// selects its window in the tree.
class WindowsWindow {
 public:
  static constexpr int kOpenKey = 2;     // F2, anywhere in the program
  static constexpr int kRefreshKey = 5;  // F5, while the window is open
  static constexpr char kMenuText[] = "&Windows...\tF2";
  // The tree's context menu.
  static constexpr std::size_t kCopyHandle = 0;
  static constexpr std::size_t kCopyCode = 1;
  static constexpr std::uint32_t kMenuCommandMessage = 0x0111;  // WM_COMMAND

  // Opened from the form's system menu and by F2; refreshed by F5 or the view's button;
  // follows the main window's picks.
  // The view is made by `make_view` when the window first opens, so that the
  // program starts without it.
  WindowsWindow(std::function<WindowsView&()> make_view, Form& form,
                const WindowSystem& windows, MainWindow& main, Clipboard& clipboard);
  WindowsWindow(const WindowsWindow&) = delete;
  WindowsWindow& operator=(const WindowsWindow&) = delete;

  // Shows the window; the first time, with the desktop as it is now and the
  // window picked last selected.
  void Open();
  // A window was picked under the pointer: the open tree selects it.
  void ShowPicked(WindowHandle window);
  // The window selected in the tree while the window is shown.
  std::optional<WindowHandle> SelectedWindow() const;
  // One more choice of the tree's context menu, after the copies, for the
  // selected window.
  void AddWindowChoice(std::string text, std::function<void(WindowHandle)> chosen);
  // Top-level windows with a menu bar get a "Menu" branch, read with the tap.
  void ReadMenusWith(MessageTap& tap) { menus_tap_ = &tap; }

 private:
  void Fill(std::optional<TreeItemKey> parent);
  void Rebuild();
  void Refresh();
  bool Reveal(WindowHandle window);
  void OnExpanding(TreeItemKey key);
  void OnSelect(TreeItemKey key);
  void ShowDetails(std::optional<TreeItemKey> key);
  void OnMenuChoice(std::size_t choice);
  void CopyLine();
  // The branch's items, the menu read when it is first opened.
  std::vector<TreeItem> MenuItems(const inspector::MenuPlace& place);
  void ChooseMenuItem(const inspector::MenuPlace& place);

  // The view's events, once it is made.
  void Wire();

  std::function<WindowsView&()> make_view_;
  WindowsView* view_ = nullptr;
  const WindowSystem& windows_;
  MainWindow& main_;
  Clipboard& clipboard_;
  inspector::DesktopTree tree_;
  bool loaded_ = false;
  // The items the view holds now.
  std::set<TreeItemKey> shown_;
  std::set<TreeItemKey> filled_;
  std::vector<inspector::DetailLine> details_;
  // The window the user chose last, in the tree or by a pick.
  std::optional<WindowHandle> chosen_;
  std::vector<std::pair<std::string, std::function<void(WindowHandle)>>> window_choices_;
  MessageTap* menus_tap_ = nullptr;
  std::map<WindowHandle, std::vector<MenuItemInfo>> menus_;
};

}  // namespace winscout::app
