#include "app/action_menu.h"

namespace winscout::app {

std::vector<MenuChoice> ActionMenu(const std::vector<codegen::Action>& offered,
                                   const codegen::ActionPlan& plan) {
  std::vector<MenuChoice> menu;
  for (codegen::Action action : offered) {
    menu.push_back({.text = std::string(codegen::ActionName(action)),
                    .marked = action == plan.action,
                    .submenu = kActionSubmenu});
  }
  menu.push_back({.text = kWaitItem,
                  .mark = MenuChoice::Mark::kCheck,
                  .marked = plan.wait,
                  .begins_group = true,
                  .submenu = kActionSubmenu});
  menu.push_back({.text = kTryItItem, .mark = MenuChoice::Mark::kCommand});
  return menu;
}

std::optional<ActionMenuChoice> ChooseFromActionMenu(
    const std::vector<codegen::Action>& offered, std::size_t index) {
  using Kind = ActionMenuChoice::Kind;
  if (index < offered.size()) return ActionMenuChoice{Kind::kAction, offered[index]};
  if (index == offered.size()) return ActionMenuChoice{Kind::kWait};
  if (index == offered.size() + 1) return ActionMenuChoice{Kind::kTryIt};
  return std::nullopt;
}

}  // namespace winscout::app
