#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "inspector/window_details.h"
#include "platform/message_tap.h"
#include "platform/toolkit.h"

namespace winscout::inspector {

// The "Menu" branch of a window in the tree of windows, and its items: keys
// that no window or process has.
TreeItemKey MenuKey(WindowHandle window);
TreeItemKey MenuItemKey(WindowHandle window, std::size_t index);
struct MenuPlace {
  WindowHandle window = 0;
  std::optional<std::size_t> index;  // nothing: the branch itself
};
std::optional<MenuPlace> MenuOfKey(TreeItemKey key);

// The branch's item, to go after the window's children.
TreeItem MenuBranchItem(WindowHandle window);
// The items below the branch (no index) or below a submenu, from the menu as
// read, depth first.
std::vector<TreeItem> MenuChildren(WindowHandle window,
                                   const std::vector<MenuItemInfo>& menu,
                                   std::optional<std::size_t> parent);
// The item's text without its & marks, the shortcut after a tab dropped.
std::string PlainMenuText(const std::string& text);
// "Help > About", from the menu bar down to the item.
std::string MenuPath(const std::vector<MenuItemInfo>& menu, std::size_t index);
std::vector<DetailLine> MenuItemDetails(const std::vector<MenuItemInfo>& menu,
                                        std::size_t index);

}  // namespace winscout::inspector
