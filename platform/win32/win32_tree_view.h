#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "platform/key_index.h"
#include "platform/toolkit.h"

namespace winscout::win32 {

// A common-controls tree view whose items are filled as they are opened.
// Dimmed items are drawn in the grey of disabled text and carry the "cut"
// state, which other programs can read. The parent passes on the tree's
// notifications and its WM_CONTEXTMENU.
class Win32TreeView final : public TreeView {
 public:
  explicit Win32TreeView(HWND tree) : tree_(tree) {}
  Win32TreeView(const Win32TreeView&) = delete;
  Win32TreeView& operator=(const Win32TreeView&) = delete;

  void SetChildren(std::optional<TreeItemKey> parent,
                   std::vector<TreeItem> items) override;
  void Expand(TreeItemKey key) override;
  std::vector<TreeItemKey> ExpandedItems() const override;
  std::optional<TreeItemKey> Selected() const override;
  void Select(TreeItemKey key) override;
  void OnExpanding(Handler<void(TreeItemKey)> handler) override {
    on_expanding_ = std::move(handler);
  }
  void OnSelect(Handler<void(TreeItemKey)> handler) override {
    on_select_ = std::move(handler);
  }
  void Dim(TreeItemKey key) override;
  void SetMenu(Handler<std::vector<std::string>(TreeItemKey)> choices,
               Handler<void(TreeItemKey, std::size_t)> on_choose) override {
    choices_ = choices;
    on_choose_ = on_choose;
  }

  LRESULT OnNotify(const NMHDR& header);
  // Enter: the selected item is chosen again, as if the user selected it.
  void ChooseSelected() { RaiseSelect(TreeView_GetSelection(tree_)); }
  // `position` as WM_CONTEXTMENU has it: -1, -1 for the keyboard.
  void ShowMenu(LPARAM position);

 private:
  HTREEITEM ItemOf(TreeItemKey key) const;
  static TreeItemKey KeyOf(HWND tree, HTREEITEM item);
  void Forget(HTREEITEM item);
  LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw) const;
  void RaiseSelect(HTREEITEM item);
  void OpenMenu(TreeItemKey key, POINT at);

  HWND tree_;
  KeyIndex items_;  // each item's HTREEITEM
  KeyIndex dimmed_;
  KeyIndex filled_;
  Handler<void(TreeItemKey)> on_expanding_;
  Handler<void(TreeItemKey)> on_select_;
  Handler<std::vector<std::string>(TreeItemKey)> choices_;
  Handler<void(TreeItemKey, std::size_t)> on_choose_;
};

}  // namespace winscout::win32
