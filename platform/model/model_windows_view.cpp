#include "platform/model/model_windows_view.h"

#include <stdexcept>
#include <utility>

namespace winscout::model {

void ModelTreeView::Forget(TreeItemKey key) {
  auto it = children_.find(key);
  if (it != children_.end()) {
    for (const TreeItem& child : it->second) Forget(child.key);
    children_.erase(it);
  }
  expanded_.erase(key);
  if (selected_ == key) selected_.reset();
}

void ModelTreeView::SetChildren(std::optional<TreeItemKey> parent,
                                std::vector<TreeItem> items) {
  std::vector<TreeItem>& slot = parent ? children_[*parent] : roots_;
  for (const TreeItem& old : std::vector<TreeItem>(slot)) Forget(old.key);
  (parent ? children_[*parent] : roots_) = std::move(items);
}

std::vector<TreeItem> ModelTreeView::Items(std::optional<TreeItemKey> parent) const {
  if (!parent) return roots_;
  auto it = children_.find(*parent);
  return it == children_.end() ? std::vector<TreeItem>{} : it->second;
}

const TreeItem* ModelTreeView::Find(TreeItemKey key) const {
  for (const TreeItem& item : roots_) {
    if (item.key == key) return &item;
  }
  for (const auto& [parent, items] : children_) {
    for (const TreeItem& item : items) {
      if (item.key == key) return &item;
    }
  }
  return nullptr;
}

void ModelTreeView::Expand(TreeItemKey key) {
  if (!Find(key)) throw std::invalid_argument("no such item to expand");
  expanded_.insert(key);
}

std::vector<TreeItemKey> ModelTreeView::ExpandedItems() const {
  // Parents first: walk the tree in order.
  std::vector<TreeItemKey> open;
  std::vector<TreeItem> pending(roots_.rbegin(), roots_.rend());
  while (!pending.empty()) {
    const TreeItem item = pending.back();
    pending.pop_back();
    if (!expanded_.contains(item.key)) continue;
    open.push_back(item.key);
    const std::vector<TreeItem> children = Items(item.key);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return open;
}

TreeItem* ModelTreeView::FindItem(TreeItemKey key) {
  return const_cast<TreeItem*>(std::as_const(*this).Find(key));
}

void ModelTreeView::Dim(TreeItemKey key) {
  if (TreeItem* item = FindItem(key)) item->dimmed = true;
}

void ModelTreeView::Select(TreeItemKey key) {
  if (!Find(key)) throw std::invalid_argument("no such item to select");
  selected_ = key;
}

void ModelTreeView::UserExpand(TreeItemKey key) {
  const TreeItem* item = Find(key);
  if (!item || !item->expandable) return;
  if (!Filled(key) && on_expanding_) on_expanding_(key);
  expanded_.insert(key);
}

void ModelTreeView::UserSelect(TreeItemKey key) {
  Select(key);
  if (on_select_) on_select_(key);
}

const std::vector<std::string>& ModelTreeView::OpenMenu(std::optional<TreeItemKey> at) {
  if (at && at != selected_) UserSelect(*at);
  menu_key_ = at ? at : selected_;
  choices_ = menu_key_ && menu_for_ ? menu_for_(*menu_key_) : std::vector<std::string>{};
  return choices_;
}

void ModelTreeView::Choose(std::size_t index) {
  if (!menu_key_ || index >= choices_.size())
    throw std::out_of_range("no such menu choice");
  const TreeItemKey key = *menu_key_;
  menu_key_.reset();
  choices_.clear();
  if (on_choose_) on_choose_(key, index);
}

void ModelDetailsList::SetLines(std::vector<std::pair<std::string, std::string>> lines) {
  lines_ = std::move(lines);
  if (selected_ && *selected_ >= lines_.size()) selected_.reset();
}

std::optional<std::string> ModelDetailsList::Value(std::string_view name) const {
  for (const auto& [line_name, value] : lines_) {
    if (line_name == name) return value;
  }
  return std::nullopt;
}

void ModelDetailsList::PressCtrlC() {
  if (on_copy_) on_copy_();
}

ModelWindowsView::ModelWindowsView(WindowTree& desktop)
    : window_(desktop.AddTopLevel({.class_name = "WinScoutWindows",
                                   .text = "Windows",
                                   .rect = {700, 100, 1300, 600},
                                   .visible = false})),
      filter_(
          desktop,
          desktop.AddChild(window_, {.class_name = "Edit", .rect = {705, 105, 900, 125}}),
          "") {}

void ModelWindowsView::PressRefresh() {
  if (on_refresh_) on_refresh_();
}

void ModelWindowsView::CallLater(int ms, EventHandler handler) {
  later_ms_ = ms;
  later_ = std::move(handler);
}

void ModelWindowsView::RunLater() {
  if (!later_) throw std::logic_error("no call to come");
  EventHandler call = std::move(later_);
  later_ = {};
  call();
}

bool ModelClipboard::SetText(std::string_view text) {
  ++attempts_;
  if (held_) return false;
  text_ = text;
  return true;
}

}  // namespace winscout::model
