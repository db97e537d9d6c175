#include "inspector/menu_tree.h"

#include "platform/text_pieces.h"

namespace winscout::inspector {
namespace {

// Window keys use the low 32 bits and process keys bit 32 (desktop_tree.cpp);
// menu keys set bit 33 and carry the item's index plus one above it.
constexpr int kIndexShift = 34;
constexpr TreeItemKey kMenuBit = TreeItemKey{1} << 33;

std::string State(const MenuItemInfo& item) {
  std::string state;
  const auto add = [&state](const char* word) {
    if (!state.empty()) state += ", ";
    state += word;
  };
  if (item.separator) add("separator");
  if (item.submenu) add("submenu");
  if (item.grayed) add("grayed");
  if (item.checked) add("checked");
  if (item.owner_drawn) add("owner-drawn");
  return state;
}

// The text as the menu has it, and what it does not say.
std::string FullText(const MenuItemInfo& item, std::string text) {
  if (item.text_cut) text += "... (cut)";
  if (text.empty() && item.owner_drawn) text = "(owner-drawn, no text)";
  return text;
}

std::string LeftOutText(const MenuItemInfo& note) {
  return (TextPieces() << '(' << note.left_out << " more items not shown)").Take();
}

std::string ItemText(const MenuItemInfo& item) {
  if (item.left_out != 0) return LeftOutText(item);
  if (item.separator) return "(separator)";
  std::string text = FullText(item, PlainMenuText(item.text));
  if (!item.submenu)
    text = (TextPieces(std::move(text)) << " (ID " << item.id << ')').Take();
  if (item.grayed) text += " grayed";
  if (item.checked) text += " checked";
  return text;
}

}  // namespace

TreeItemKey MenuKey(WindowHandle window) {
  return kMenuBit | static_cast<std::uint32_t>(window);
}

TreeItemKey MenuItemKey(WindowHandle window, std::size_t index) {
  return MenuKey(window) | (TreeItemKey{index + 1} << kIndexShift);
}

std::optional<MenuPlace> MenuOfKey(TreeItemKey key) {
  if (!(key & kMenuBit)) return std::nullopt;
  MenuPlace place{static_cast<WindowHandle>(static_cast<std::uint32_t>(key))};
  if (const TreeItemKey index = key >> kIndexShift; index != 0) place.index = index - 1;
  return place;
}

TreeItem MenuBranchItem(WindowHandle window) {
  return {MenuKey(window), "Menu", false, true};
}

std::vector<TreeItem> MenuChildren(WindowHandle window,
                                   const std::vector<MenuItemInfo>& menu,
                                   std::optional<std::size_t> parent) {
  const int depth = parent ? menu[*parent].depth + 1 : 0;
  std::vector<TreeItem> items;
  for (std::size_t i = parent ? *parent + 1 : 0;
       i < menu.size() && menu[i].depth >= depth; ++i) {
    if (menu[i].depth == depth) {
      items.push_back(
          {MenuItemKey(window, i), ItemText(menu[i]), menu[i].grayed,
           menu[i].submenu && i + 1 < menu.size() && menu[i + 1].depth > depth});
    }
  }
  return items;
}

std::string PlainMenuText(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size() && text[i] != '\t'; ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') plain += text[++i];
      continue;
    }
    plain += text[i];
  }
  return plain;
}

std::string MenuPath(const std::vector<MenuItemInfo>& menu, std::size_t index) {
  std::string path = PlainMenuText(menu[index].text);
  int depth = menu[index].depth;
  for (std::size_t i = index; i-- > 0 && depth > 0;) {
    if (menu[i].depth < depth) {
      depth = menu[i].depth;
      path = PlainMenuText(menu[i].text) + " > " + path;
    }
  }
  return path;
}

std::vector<DetailLine> MenuItemDetails(const std::vector<MenuItemInfo>& menu,
                                        std::size_t index) {
  const MenuItemInfo& item = menu[index];
  if (item.left_out != 0) return {{"Menu item", LeftOutText(item)}};
  std::vector<DetailLine> lines = {{"Menu item", MenuPath(menu, index)},
                                   {"Text", FullText(item, item.text)},
                                   {"State", State(item)}};
  if (!item.submenu && !item.separator)
    lines.insert(lines.begin() + 1, {"Command ID", DecimalText(item.id)});
  return lines;
}

}  // namespace winscout::inspector
