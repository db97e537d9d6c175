// A recorded script written as Visual Basic and run by the replay, and done
// by Try it, on the model's order flow.

#include "codegen/script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "inspector/script_run.h"
#include "tests/support/order_flow.h"
#include "tests/support/vb_replay.h"

namespace winscout::testing {
namespace {

using codegen::FinderLanguage;
using codegen::SearchWay;

// What the flow leaves behind: the edit's text, the check, the choice, the
// menu command and the press of OK.
void ExpectFlowDone(const OrderFlow& flow, bool selected_views) {
  EXPECT_EQ(flow.tree.Props(flow.edit).text, flow.typed);
  EXPECT_TRUE(flow.tree.Props(flow.check).checked);
  EXPECT_EQ(flow.tree.Props(flow.combo).selected, 1);
  EXPECT_EQ(flow.tree.Props(flow.list).selected, selected_views ? 1 : -1);
  EXPECT_EQ(flow.tree.Props(flow.tree_view).selected, selected_views ? 1 : -1);
  const auto& commands = flow.tree.Commands();
  EXPECT_NE(
      std::ranges::find(commands, model::ParentCommand{flow.main, 40001 & 0xFFFF, 0, 0}),
      commands.end());
  EXPECT_NE(std::ranges::find(commands, model::ParentCommand{flow.dialog, 1, 0, flow.ok}),
            commands.end());
}

TEST(ScriptTest, VisualBasicScriptRunsEveryStep) {
  for (SearchWay way : {SearchWay::kPosition, SearchWay::kIdAndTitle}) {
    for (bool declarations : {false, true}) {
      OrderFlow flow;
      const std::string code =
          codegen::EmitScript(flow.script, FinderLanguage::kVisualBasic,
                              {.way = way, .declarations = declarations});
      const ReplayResult replay = ReplayActionCode(code, flow.tree);
      EXPECT_TRUE(replay.Ran()) << replay << "\n" << code;
      // The list and tree views are selected by the C++ code only.
      ExpectFlowDone(flow, false);
    }
  }
}

TEST(ScriptTest, TryItDoesTheStepsAndStopsAtTheFirstThatFails) {
  struct Case {
    const char* name;
    std::function<void(OrderFlow&)> change;
    const char* outcome;
  };
  const Case cases[] = {
      {"all there", [](OrderFlow&) {}, "Done: 7 steps."},
      {"no such item", [](OrderFlow& f) { f.tree.SetItems(f.tree_view, {{"Root"}}); },
       "Step 6 failed: No item is \"Leaf\", or the window did not answer."},
      {"no dialog", [](OrderFlow& f) { f.tree.Destroy(f.dialog); },
       "Step 5 failed: the window did not appear within 10 seconds."},
      {"no main window", [](OrderFlow& f) { f.tree.Destroy(f.main); },
       "Step 1 failed: the window was not found."}};
  for (const Case& c : cases) {
    OrderFlow flow;
    c.change(flow);
    inspector::ScriptRun run(flow.script, flow.tree);
    std::optional<inspector::ActionOutcome> outcome;
    int calls = 1;
    for (; !(outcome = run.Advance()); ++calls) ASSERT_LT(calls, 1000) << c.name;
    EXPECT_EQ(outcome->text, c.outcome) << c.name;
    EXPECT_EQ(outcome->done, c.name == std::string_view("all there"));
    // A wait that gives up asks again each kScriptPollMs for kWaitSeconds.
    EXPECT_EQ(calls, c.name == std::string_view("no dialog") ? 100 : 1) << c.name;
    if (outcome->done) ExpectFlowDone(flow, true);
  }
}

}  // namespace
}  // namespace winscout::testing
