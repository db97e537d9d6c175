// What fits each kind of control, and each action done on the model as Try
// it does it, one row a control and action.

#include "codegen/actions.h"

#include <gtest/gtest.h>

#include "platform/model/window_tree.h"

namespace winscout::testing {
namespace {

using codegen::Action;
using codegen::TargetKind;

TEST(ActionsTest, ClassesAndButtonStylesGiveTheirActions) {
  struct Row {
    const char* class_name;
    std::uint32_t style;
    TargetKind kind;
    std::vector<Action> actions;
  };
  const std::vector<Action> every = {Action::kReadText, Action::kClose};
  auto with = [&](std::vector<Action> own) {
    own.insert(own.begin(), Action::kFindOnly);
    own.insert(own.end(), every.begin(), every.end());
    return own;
  };
  const Row rows[] = {
      {"Button", 0x0, TargetKind::kPushButton, with({Action::kClick})},
      {"button", 0x1, TargetKind::kPushButton, with({Action::kClick})},
      {"Button", 0x3, TargetKind::kCheckBox, with({Action::kCheck, Action::kUncheck})},
      {"Button", 0x9, TargetKind::kRadioButton, with({Action::kCheck})},
      {"Button", 0x7, TargetKind::kOther, with({})},  // a group box
      {"Edit", 0, TargetKind::kEdit, with({Action::kSetText})},
      {"RichEdit20W", 0, TargetKind::kEdit, with({Action::kSetText})},
      {"COMBOBOX", 0, TargetKind::kComboBox,
       with({Action::kChooseItem, Action::kReadItems})},
      {"ListBox", 0, TargetKind::kListBox,
       with({Action::kChooseItem, Action::kReadItems})},
      {"SysListView32", 0, TargetKind::kListView, with({Action::kReadItems})},
      {"SysTreeView32", 0, TargetKind::kTreeView, with({Action::kReadItems})},
      {"Main_Frame2", 0x3, TargetKind::kOther, with({})},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(codegen::KindOfTarget(row.class_name, row.style), row.kind)
        << row.class_name;
    EXPECT_EQ(codegen::ActionsFor(row.kind), row.actions) << row.class_name;
  }
}

TEST(ActionsTest, TryItDoesEachActionAndSaysWhatCameOfIt) {
  model::WindowTree tree;
  const WindowHandle dialog = tree.AddTopLevel({.class_name = "#32770"});
  struct Row {
    model::WindowSpec control;
    Action action;
    bool done;
    std::string said;
  };
  const model::WindowSpec check{.class_name = "Button", .id = 2, .style = 0x3};
  const model::WindowSpec combo{
      .class_name = "ComboBox", .id = 6, .items = {{"Alpha"}, {"Item text one"}}};
  const Row rows[] = {
      {{.class_name = "Button", .id = 1}, Action::kClick, true, "Clicked."},
      {check, Action::kCheck, true, "Checked."},
      {check, Action::kUncheck, true, "Unchecked already."},
      {{.class_name = "Edit", .text = "typed"}, Action::kReadText, true, "typed"},
      {{.class_name = "Edit"}, Action::kSetText, true, "Text set."},
      {combo, Action::kChooseItem, true, "Chosen."},
      {{.class_name = "ComboBox", .items = {{"Alpha"}}},
       Action::kChooseItem,
       false,
       "No item begins with \"Item text\", or the window did not answer."},
      {{.class_name = "SysListView32", .items = {{"one", "1"}, {"two", ""}}},
       Action::kReadItems,
       true,
       "one\t1\r\ntwo\t"},
      {{.class_name = "Edit", .hung = true},
       Action::kReadText,
       false,
       "The window did not answer."},
      {{.class_name = "Static"}, Action::kClose, true, "Asked to close."},
  };
  for (const Row& row : rows) {
    const WindowHandle control = tree.AddChild(dialog, row.control);
    const codegen::ActionPlan plan = codegen::PlanAction(
        row.action, codegen::KindOfTarget(row.control.class_name, row.control.style),
        false);
    const codegen::ActionOutcome outcome = codegen::PerformAction(plan, control, tree);
    EXPECT_EQ(outcome.done, row.done) << codegen::ActionName(row.action);
    EXPECT_EQ(outcome.text, row.said) << codegen::ActionName(row.action);
  }
  EXPECT_EQ(tree.Commands(), (std::vector<model::ParentCommand>{
                                 {dialog, 1, 0, tree.ChildWindows(dialog)[0]},
                                 {dialog, 2, 0, tree.ChildWindows(dialog)[1]},
                                 {dialog, 6, 1, tree.ChildWindows(dialog)[5]}}));
  EXPECT_EQ(tree.Props(tree.ChildWindows(dialog)[4]).text, "New text");
  EXPECT_EQ(tree.ChildWindows(dialog).size(), std::size(rows) - 1)
      << "the closed one is gone";
}

}  // namespace
}  // namespace winscout::testing
