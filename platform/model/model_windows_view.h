#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/model/model_form.h"
#include "platform/toolkit.h"

namespace winscout::model {

// A tree view that keeps its items in memory and lets a test act as the user.
class ModelTreeView final : public TreeView {
 public:
  void SetChildren(std::optional<TreeItemKey> parent,
                   std::vector<TreeItem> items) override;
  void Expand(TreeItemKey key) override;
  std::vector<TreeItemKey> ExpandedItems() const override;
  std::optional<TreeItemKey> Selected() const override { return selected_; }
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
    menu_for_ = choices;
    on_choose_ = on_choose;
  }

  // The items below `parent` (nothing: the top level) as they are now.
  std::vector<TreeItem> Items(std::optional<TreeItemKey> parent = std::nullopt) const;
  const TreeItem* Find(TreeItemKey key) const;
  bool Filled(TreeItemKey key) const { return children_.contains(key); }
  // The user opens the item with its button, or selects it.
  void UserExpand(TreeItemKey key);
  void UserSelect(TreeItemKey key);
  // The user right-clicks the item (selecting it, as a click does) or, with
  // nothing, presses the menu key on the selected one; the menu's choices,
  // empty where none shows.
  const std::vector<std::string>& OpenMenu(std::optional<TreeItemKey> at = {});
  // A choice of the menu open now, which then closes.
  void Choose(std::size_t index);

 private:
  void Forget(TreeItemKey key);
  TreeItem* FindItem(TreeItemKey key);

  std::vector<TreeItem> roots_;
  std::map<TreeItemKey, std::vector<TreeItem>> children_;
  std::set<TreeItemKey> expanded_;
  std::optional<TreeItemKey> selected_;
  Handler<void(TreeItemKey)> on_expanding_;
  Handler<void(TreeItemKey)> on_select_;
  Handler<std::vector<std::string>(TreeItemKey)> menu_for_;
  Handler<void(TreeItemKey, std::size_t)> on_choose_;
  std::optional<TreeItemKey> menu_key_;
  std::vector<std::string> choices_;
};

class ModelDetailsList final : public DetailsList {
 public:
  void SetLines(std::vector<std::pair<std::string, std::string>> lines) override;
  std::optional<std::size_t> SelectedLine() const override { return selected_; }
  void OnCopy(EventHandler handler) override { on_copy_ = std::move(handler); }

  const std::vector<std::pair<std::string, std::string>>& lines() const { return lines_; }
  // The value of the line with the name, or nothing.
  std::optional<std::string> Value(std::string_view name) const;
  void UserSelect(std::size_t line) { selected_ = line; }
  void PressCtrlC();

 private:
  std::vector<std::pair<std::string, std::string>> lines_;
  std::optional<std::size_t> selected_;
  EventHandler on_copy_;
};

// A clipboard that another program can hold open.
class ModelClipboard final : public Clipboard {
 public:
  bool SetText(std::string_view text) override;
  const std::string& text() const { return text_; }
  void Hold(bool held) { held_ = held; }
  // The times the program tried to set the text.
  int attempts() const { return attempts_; }

 private:
  std::string text_;
  bool held_ = false;
  int attempts_ = 0;
};

// The window list's window on the in-memory desktop: a top-level window whose
// filter box is a child window like the form's text boxes.
class ModelWindowsView final : public WindowsView {
 public:
  explicit ModelWindowsView(WindowTree& desktop);
  void Show() override { visible_ = true; }
  bool Visible() const override { return visible_; }
  TextBox& Filter() override { return filter_; }
  TreeView& Tree() override { return tree_; }
  DetailsList& Details() override { return details_; }
  void OnRefresh(EventHandler handler) override { on_refresh_ = std::move(handler); }
  void SetStatus(std::string_view text) override { status_ = text; }
  void CallLater(int ms, EventHandler handler) override;
  // Saved as if the user chose a file in the dialog.
  SaveResult SaveJson(std::string_view, std::string_view bytes) override {
    saved_ = bytes;
    return SaveResult::kSaved;
  }

  const std::string& status() const { return status_; }
  const std::string& saved() const { return saved_; }
  // The delay of the call to come, if one is.
  std::optional<int> later_ms() const {
    return later_ ? std::optional(later_ms_) : std::nullopt;
  }
  // The time of the call to come has passed: it is made.
  void RunLater();
  ModelTextBox& filter() { return filter_; }
  ModelTreeView& tree() { return tree_; }
  ModelDetailsList& details() { return details_; }
  void Close() { visible_ = false; }
  void PressRefresh();

 private:
  WindowHandle window_;
  ModelTextBox filter_;
  ModelTreeView tree_;
  ModelDetailsList details_;
  bool visible_ = false;
  EventHandler on_refresh_;
  std::string status_;
  std::string saved_;
  int later_ms_ = 0;
  EventHandler later_;
};

}  // namespace winscout::model
