#pragma once

// A small order flow on the model and the script that goes through it: a
// main window with an edit, a check box and a combo box, whose menu opens a
// dialog with a list view, a tree view and OK.

#include <string>
#include <variant>

#include "codegen/finder_code.h"
#include "codegen/script.h"
#include "platform/model/window_tree.h"

namespace winscout::testing {

struct OrderFlow {
  model::WindowTree tree;
  WindowHandle main = tree.AddTopLevel({.class_name = "OrderFrame", .text = "Orders"});
  WindowHandle edit = tree.AddChild(main, {.class_name = "Edit", .id = 101});
  WindowHandle check = tree.AddChild(
      main, {.class_name = "Button", .text = "Gift", .id = 102, .style = 0x3});
  WindowHandle combo = tree.AddChild(
      main, {.class_name = "ComboBox", .id = 103, .items = {{"Red"}, {"Blue"}}});
  WindowHandle dialog = tree.AddTopLevel({.class_name = "#32770", .text = "Details"});
  WindowHandle list = tree.AddChild(
      dialog,
      {.class_name = "SysListView32", .id = 201, .items = {{"Row one"}, {"Row two"}}});
  WindowHandle tree_view = tree.AddChild(
      dialog, {.class_name = "SysTreeView32", .id = 202, .items = {{"Root"}, {"Leaf"}}});
  WindowHandle ok =
      tree.AddChild(dialog, {.class_name = "Button", .text = "OK", .id = 1});
  const std::string typed = "Widget \"7\" \xC3\xA9";
  codegen::Script script;

  OrderFlow() {
    using codegen::Action;
    using codegen::TargetKind;
    auto step = [&](WindowHandle window, Action action, TargetKind kind, bool wait,
                    std::string text, std::string said) {
      codegen::ActionPlan plan = codegen::PlanAction(action, kind, wait);
      plan.text = std::move(text);
      script.steps.push_back({std::get<codegen::SearchPlan>(
                                  codegen::PlanFinderCode(std::to_string(window), tree)),
                              plan, std::nullopt, std::move(said)});
    };
    step(edit, Action::kSetText, TargetKind::kEdit, false, typed, "type the name");
    step(check, Action::kCheck, TargetKind::kCheckBox, false, "", "check \"Gift\"");
    step(combo, Action::kChooseItem, TargetKind::kComboBox, false, "Blue", "choose Blue");
    step(main, Action::kFindOnly, TargetKind::kOther, false, "",
         "choose Order > Details");
    script.steps.back().message = codegen::MessageToSend{.message = 0x111,
                                                         .name = "WM_COMMAND",
                                                         .wparam = 40001,
                                                         .comment = "Order > Details"};
    step(list, Action::kSelectItem, TargetKind::kListView, true, "Row two",
         "select Row two");
    step(tree_view, Action::kSelectItem, TargetKind::kTreeView, false, "Leaf",
         "select Leaf");
    step(ok, Action::kClick, TargetKind::kPushButton, true, "", "press OK");
    script.note = "The program ended during the recording.";
  }
};

}  // namespace winscout::testing
