#pragma once

#include <forward_list>
#include <optional>
#include <vector>

#include "app/main_window.h"
#include "inspector/desktop_tree.h"
#include "inspector/menu_tree.h"
#include "inspector/window_details.h"
#include "platform/key_index.h"
#include "platform/message_tap.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::app {

// The behaviour of the "Windows" window: the desktop tree with its filter and
// refresh, the details of the selected item, copying, and picks: selecting a
// window in the tree does what a drop on it does, and a pick under the pointer
// selects its window in the tree. What a filter needs read is read in idle
// time, a little at a time, so that the program answers the user throughout;
// the tree shows the matches as they are found and the status line says that
// reading goes on.
class WindowsWindow {
 public:
  static constexpr int kOpenKey = 2;     // F2, anywhere in the program
  static constexpr int kRefreshKey = 5;  // F5, while the window is open
  static constexpr char kMenuText[] = "&Windows...\tF2";
  // The tree's context menu.
  static constexpr std::size_t kCopyHandle = 0;
  static constexpr std::size_t kCopyCode = 1;
  static constexpr std::uint32_t kMenuCommandMessage = 0x0111;  // WM_COMMAND
  // A step of reading in idle time stops at whichever limit comes first.
  static constexpr int kStepWindows = 100;
  static constexpr std::int64_t kStepMs = 15;
  // While reading goes on, the matches found so far are shown this often.
  static constexpr std::int64_t kShowEveryMs = 250;
  // A copy is tried this often while another program holds the clipboard,
  // for about half a second, as Windows programs do.
  static constexpr int kCopyTries = 10;
  static constexpr int kCopyRetryMs = 50;
  static constexpr char kClipboardBusy[] =
      "Nothing was copied: another program holds the clipboard.";
  // Last in every item's menu: the tree as `winscout tree --json` writes it.
  static constexpr char kSaveJsonText[] = "Save as &JSON...";
  static constexpr char kSaveFailed[] = "The tree could not be saved there.";
  // Then the operations on the window (kWindowOperationNames), the actions
  // that fit it but Find only, and the choices added by AddWindowChoice.
  static constexpr std::size_t kFirstOperation = 2;

  // Opened from the form's system menu and by F2; refreshed by F5 or the view's button;
  // follows the main window's picks.
  // The view is made by `make_view` when the window first opens, so that the
  // program starts without it.
  WindowsWindow(Handler<WindowsView&()> make_view, Form& form,
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
  // One more choice of the tree's context menu, last, for the window it
  // opened on.
  void AddWindowChoice(std::string text, Handler<void(WindowHandle)> chosen);
  // Top-level windows with a menu bar get a "Menu" branch, read with the tap.
  void ReadMenusWith(MessageTap& tap) { menus_tap_ = &tap; }

 private:
  void Fill(std::optional<TreeItemKey> parent);
  void Rebuild();
  // Rebuilt from what has been read, the open items and the selection kept.
  void Reshow();
  void Refresh();
  void OnFilterChange();
  // Reads on in idle time while the filter needs windows not read yet.
  void ReadOn();
  bool ReadsOn() const;
  bool ReadStep();
  void ShowStatus();
  bool Reveal(WindowHandle window);
  void OnExpanding(TreeItemKey key);
  void OnSelect(TreeItemKey key);
  // Whether the window of the key still exists (processes always do).
  bool ShowDetails(std::optional<TreeItemKey> key);
  std::vector<codegen::Action> ActionsFor(const WindowFacts& facts) const;
  // The tree's context menu for the item it opens on, and a choice of it.
  std::vector<std::string> MenuFor(TreeItemKey key);
  void OnMenuChoice(TreeItemKey key, std::size_t choice);
  // The choices before "Save as JSON..." in the menu of the item's window.
  std::size_t WindowChoiceCount(const std::optional<WindowFacts>& facts) const;
  void SaveJson();
  void CopyLine();
  // The branch's items, the menu read when it is first opened.
  std::vector<TreeItem> MenuItems(const inspector::MenuPlace& place);
  // The window's menu as read last, or nullptr.
  const std::vector<MenuItemInfo>* MenuOf(WindowHandle window) const;
  void ChooseMenuItem(const inspector::MenuPlace& place);
  void Copy(std::string text);
  void TryCopy();

  // The view's events, once it is made.
  void Wire();

  Handler<WindowsView&()> make_view_;
  WindowsView* view_ = nullptr;
  Form& form_;
  const WindowSystem& windows_;
  MainWindow& main_;
  Clipboard& clipboard_;
  inspector::DesktopTree tree_;
  bool loaded_ = false;
  // What was read in idle time is shown at the next step.
  bool show_next_ = false;
  // The items the view holds now.
  KeyIndex shown_;
  KeyIndex filled_;
  std::vector<inspector::DetailLine> details_;
  std::optional<TreeItemKey> details_of_;
  bool reading_ = false;
  std::int64_t shown_at_ms_ = 0;
  // What a refresh found open and selected, opened and selected again as the
  // items come back while reading goes on.
  std::vector<TreeItemKey> reopen_;
  std::optional<TreeItemKey> reselect_;
  // A copy waiting for the clipboard, and whether the status line says that
  // the last one found it busy.
  std::string copy_text_;
  int copy_tries_ = 0;
  bool clipboard_busy_ = false;
  // The window the user chose last, in the tree or by a pick.
  std::optional<WindowHandle> chosen_;
  std::vector<std::pair<std::string, Handler<void(WindowHandle)>>> window_choices_;
  MessageTap* menus_tap_ = nullptr;
  // The menus read, found by the address kept under their window's handle.
  std::forward_list<std::vector<MenuItemInfo>> menus_;
  KeyIndex menus_at_;
};

}  // namespace winscout::app
