#include "codegen/actions.h"

#include <algorithm>
#include <array>

namespace winscout::codegen {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

struct ClassKind {
  std::string_view class_name;
  TargetKind kind;
};
// clang-format off
constexpr std::array<ClassKind, 12> kClasses = {{
    {"Edit", TargetKind::kEdit},
    {"RichEdit", TargetKind::kEdit},
    {"RichEdit20A", TargetKind::kEdit},
    {"RichEdit20W", TargetKind::kEdit},
    {"RICHEDIT50W", TargetKind::kEdit},
    {"ComboBox", TargetKind::kComboBox},
    {"ComboBoxEx32", TargetKind::kComboBox},
    {"ListBox", TargetKind::kListBox},
    {"ComboLBox", TargetKind::kListBox},
    {"SysListView32", TargetKind::kListView},
    {"SysTreeView32", TargetKind::kTreeView},
    {"Button", TargetKind::kPushButton},
}};
// clang-format on

// The low bits of a button's style say which kind of button it is.
constexpr std::uint32_t kButtonKindMask = 0xf;
TargetKind ButtonKind(std::uint32_t style) {
  switch (style & kButtonKindMask) {
    case 0x0:  // BS_PUSHBUTTON
    case 0x1:  // BS_DEFPUSHBUTTON
    case 0xb:  // BS_OWNERDRAW
    case 0xc:  // BS_SPLITBUTTON
    case 0xd:  // BS_DEFSPLITBUTTON
    case 0xe:  // BS_COMMANDLINK
    case 0xf:  // BS_DEFCOMMANDLINK
      return TargetKind::kPushButton;
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      return TargetKind::kCheckBox;
    case 0x4:  // BS_RADIOBUTTON
    case 0x9:  // BS_AUTORADIOBUTTON
      return TargetKind::kRadioButton;
    default:  // group boxes and the like: nothing to press
      return TargetKind::kOther;
  }
}

}  // namespace

TargetKind KindOfTarget(std::string_view class_name, std::uint32_t style) {
  for (const ClassKind& known : kClasses) {
    if (EqualIgnoringCase(known.class_name, class_name)) {
      return known.kind == TargetKind::kPushButton ? ButtonKind(style) : known.kind;
    }
  }
  return TargetKind::kOther;
}

std::vector<Action> ActionsFor(TargetKind kind) {
  // Each kind's own actions, by TargetKind, between kFindOnly and the two that
  // every window has; kFindOnly fills a row.
  constexpr Action kOwnActions[][2] = {
      {},                                         // kOther
      {Action::kClick},                           // kPushButton
      {Action::kCheck, Action::kUncheck},         // kCheckBox
      {Action::kCheck},                           // kRadioButton: unchecked by
                                                  // checking another of its group
      {Action::kSetText},                         // kEdit
      {Action::kChooseItem, Action::kReadItems},  // kComboBox
      {Action::kChooseItem, Action::kReadItems},  // kListBox
      {Action::kSelectItem, Action::kReadItems},  // kListView
      {Action::kSelectItem, Action::kReadItems},  // kTreeView
  };
  std::vector<Action> actions = {Action::kFindOnly};
  for (Action own : kOwnActions[static_cast<std::size_t>(kind)]) {
    if (own != Action::kFindOnly) actions.push_back(own);
  }
  actions.push_back(Action::kReadText);
  actions.push_back(Action::kClose);
  return actions;
}

std::string_view ActionName(Action action) {
  switch (action) {
    case Action::kFindOnly:
      return "Find only";
    case Action::kReadText:
      return "Read its text";
    case Action::kClose:
      return "Close it";
    case Action::kClick:
      return "Click it";
    case Action::kCheck:
      return "Check it";
    case Action::kUncheck:
      return "Uncheck it";
    case Action::kSetText:
      return "Set its text";
    case Action::kChooseItem:
      return "Choose an item";
    case Action::kReadItems:
      return "Read its items";
    case Action::kSelectItem:
      return "Select the item";
  }
  return {};
}

std::optional<ItemList> ItemListOf(TargetKind kind) {
  switch (kind) {
    case TargetKind::kComboBox:
      return ItemList::kComboBox;
    case TargetKind::kListBox:
      return ItemList::kListBox;
    case TargetKind::kListView:
      return ItemList::kListView;
    case TargetKind::kTreeView:
      return ItemList::kTreeView;
    default:
      return std::nullopt;
  }
}

ActionPlan PlanAction(Action action, TargetKind kind, bool wait) {
  ActionPlan plan{.action = action, .kind = kind, .wait = wait};
  if (action == Action::kSetText) plan.text = kNewTextPlaceholder;
  if (action == Action::kChooseItem || action == Action::kSelectItem)
    plan.text = kItemPlaceholder;
  return plan;
}

}  // namespace winscout::codegen
