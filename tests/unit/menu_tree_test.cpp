#include "inspector/menu_tree.h"

#include <gtest/gtest.h>

#include "inspector/desktop_tree.h"

namespace winscout::inspector {
namespace {

// Command (Run, Checked, separator, Grayed >(Deep)), Help (About).
const std::vector<MenuItemInfo> kMenu = {
    {.depth = 0, .text = "&Command", .submenu = true},
    {.depth = 1, .id = 40001, .text = "&Run\tCtrl+R"},
    {.depth = 1, .id = 40002, .text = "&Checked", .checked = true},
    {.depth = 1, .separator = true},
    {.depth = 1, .text = "&Grayed && more", .grayed = true, .submenu = true},
    {.depth = 2, .id = 7, .text = "Deep"},
    {.depth = 0, .text = "&Help", .submenu = true},
    {.depth = 1, .id = 308, .text = "&About Notepad"},
};

std::vector<std::string> Texts(std::optional<std::size_t> parent) {
  std::vector<std::string> texts;
  for (const TreeItem& item : MenuChildren(42, kMenu, parent)) {
    texts.push_back(item.text + (item.expandable ? " +" : "") +
                    (item.dimmed ? " dim" : ""));
  }
  return texts;
}

TEST(MenuTreeTest, BranchesHoldTheirOwnItems) {
  const std::pair<std::optional<std::size_t>, std::vector<std::string>> cases[] = {
      {std::nullopt, {"Command +", "Help +"}},
      {0,
       {"Run (ID 40001)", "Checked (ID 40002) checked", "(separator)",
        "Grayed & more grayed + dim"}},
      {4, {"Deep (ID 7)"}},
      {6, {"About Notepad (ID 308)"}},
      {1, {}},
  };
  for (const auto& [parent, texts] : cases) EXPECT_EQ(Texts(parent), texts);
}

TEST(MenuTreeTest, KeysNameTheirItemAndNoWindow) {
  const TreeItemKey keys[] = {MenuKey(-5), MenuItemKey(-5, 0), MenuItemKey(-5, 1023)};
  const std::optional<std::size_t> indexes[] = {std::nullopt, 0, 1023};
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_EQ(WindowOfKey(keys[i]), std::nullopt);
    ASSERT_TRUE(MenuOfKey(keys[i]));
    EXPECT_EQ(MenuOfKey(keys[i])->window, -5);
    EXPECT_EQ(MenuOfKey(keys[i])->index, indexes[i]);
  }
  EXPECT_EQ(MenuOfKey(WindowKey(-5)), std::nullopt);
  EXPECT_EQ(MenuOfKey(ProcessKey(77)), std::nullopt);
}

TEST(MenuTreeTest, PathsAndDetails) {
  EXPECT_EQ(MenuPath(kMenu, 5), "Command > Grayed & more > Deep");
  EXPECT_EQ(MenuPath(kMenu, 7), "Help > About Notepad");
  EXPECT_EQ(MenuItemDetails(kMenu, 2),
            (std::vector<DetailLine>{{"Menu item", "Command > Checked"},
                                     {"Command ID", "40002"},
                                     {"Text", "&Checked"},
                                     {"State", "checked"}}));
}

TEST(MenuTreeTest, SaysWhatTheReadLeftOut) {
  const std::vector<MenuItemInfo> menu = {{.text = "&Long", .text_cut = true},
                                          {.id = 6, .owner_drawn = true},
                                          {.left_out = 3000}};
  std::vector<std::string> shown;
  for (const TreeItem& item : MenuChildren(42, menu, std::nullopt))
    shown.push_back(item.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"Long... (cut) (ID 0)",
                                             "(owner-drawn, no text) (ID 6)",
                                             "(3000 more items not shown)"}));
  EXPECT_EQ(MenuItemDetails(menu, 0)[2], (DetailLine{"Text", "&Long... (cut)"}));
}

}  // namespace
}  // namespace winscout::inspector
