#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "codegen/actions.h"
#include "platform/toolkit.h"

namespace winscout::app {

inline constexpr char kActionSubmenu[] = "Action";
inline constexpr char kWaitItem[] = "Wait for it";
inline constexpr char kTryItItem[] = "Try it";

// The code box's items after the finder's own: the "Action" submenu with the
// actions that fit the target (the one chosen marked) and "Wait for it",
// then "Try it".
std::vector<MenuChoice> ActionMenu(const std::vector<codegen::Action>& offered,
                                   const codegen::ActionPlan& plan);

// What a menu of windows offers beside the actions of the code.
enum class WindowOperation { kShow, kHide, kEnable, kDisable, kBringToFront };
inline constexpr const char* kWindowOperationNames[] = {"&Show", "H&ide", "&Enable",
                                                        "&Disable", "&Bring to Front"};

// What choosing item `index` of that menu asks for.
struct ActionMenuChoice {
  enum class Kind { kAction, kWait, kTryIt } kind = Kind::kAction;
  codegen::Action action = codegen::Action::kFindOnly;
};
std::optional<ActionMenuChoice> ChooseFromActionMenu(
    const std::vector<codegen::Action>& offered, std::size_t index);

}  // namespace winscout::app
