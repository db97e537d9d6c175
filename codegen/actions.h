#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace winscout::codegen {

// What the code does to the window once it has found it.
enum class Action : std::uint8_t {
  kFindOnly,
  kReadText,
  kClose,
  kClick,
  kCheck,
  kUncheck,
  kSetText,
  kChooseItem,
  kReadItems,
  // A list view's row or a tree view's item, by its text.
  kSelectItem,
};

// What kind of control a window is, as far as the actions go: standard
// controls by their class name and a button's style; anything else is
// kOther and gets the actions every window has.
enum class TargetKind {
  kOther,
  kPushButton,
  kCheckBox,
  kRadioButton,
  kEdit,
  kComboBox,
  kListBox,
  kListView,
  kTreeView,
};

TargetKind KindOfTarget(std::string_view class_name, std::uint32_t style);

// The actions that fit the kind, kFindOnly first, in menu order.
std::vector<Action> ActionsFor(TargetKind kind);

// As the menu shows it.
std::string_view ActionName(Action action);

// The item list a kind keeps, where it keeps one.
std::optional<ItemList> ItemListOf(TargetKind kind);

// The text that "Set its text" and "Choose an item" start with, for the
// user to change in the code.
inline constexpr std::string_view kNewTextPlaceholder = "New text";
inline constexpr std::string_view kItemPlaceholder = "Item text";

// How long the code waits for the window before it gives up, and how long
// for each answer of the window.
inline constexpr int kWaitSeconds = 10;
inline constexpr int kAnswerTimeoutMs = 2000;

// The second plan beside the searches: what to do to the target.
struct ActionPlan {
  Action action = Action::kFindOnly;
  TargetKind kind = TargetKind::kOther;
  // The searches are made again until they find the target or kWaitSeconds
  // pass.
  bool wait = false;
  // What "Set its text" sets, what "Choose an item" and "Select the item"
  // look for.
  std::string text;
  friend bool operator==(const ActionPlan&, const ActionPlan&) = default;
};

// The plan of the action for the kind, with its placeholder text.
ActionPlan PlanAction(Action action, TargetKind kind, bool wait);

// Whether the plan adds anything to the finder code.
inline bool Acts(const ActionPlan& plan) {
  return plan.action != Action::kFindOnly || plan.wait;
}

}  // namespace winscout::codegen
