#include "inspector/window_inspector.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/model/model_form.h"
#include "platform/model/window_tree.h"
#include "tests/support/forwarding_windows.h"

namespace winscout::inspector {
namespace {

using model::WindowSpec;
using model::WindowTree;

constexpr char kModule[] = "C:\\Apps\\app.exe";

WindowSpec Window(std::string cls, std::string text, model::ScreenRect rect, int id = 0) {
  return {.class_name = std::move(cls),
          .text = std::move(text),
          .rect = rect,
          .id = id,
          .module_path = kModule};
}

struct DescribeCase {
  const char* what;
  std::function<WindowHandle(WindowTree&)> make;
  ReportLines expected;
};

class DescribeWindowTest : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(DescribeWindowTest, GivesTheEightLines) {
  WindowTree tree(1000, 1000);
  const WindowHandle window = GetParam().make(tree);
  EXPECT_EQ(DescribeWindow(tree, window), GetParam().expected) << tree.Dump();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, DescribeWindowTest,
    ::testing::Values(
        DescribeCase{"child with a large ID",
                     [](WindowTree& t) {
                       const WindowHandle main =
                           t.AddTopLevel(Window("Main", "Editor", {}));
                       return t.AddChild(main, Window("Edit", "hello", {}, 40000));
                     },
                     {"Window Handle: 2000", "Window Class Name: Edit",
                      "Window Text: hello", "Window ID Number: 40000",
                      "Parent Window Handle: 1000", "Parent Window Text: Editor",
                      "Parent Window Class Name: Main", "Module: C:\\Apps\\app.exe"}},
        DescribeCase{"owned dialog",
                     [](WindowTree& t) {
                       const WindowHandle main =
                           t.AddTopLevel(Window("Main", "Editor", {}));
                       return t.AddOwned(main, Window("#32770", "Find", {}, 70000));
                     },
                     {"Window Handle: 2000", "Window Class Name: #32770",
                      "Window Text: Find", "Window ID Number: 70000",
                      "Parent Window Handle: 1000", "Parent Window Text: Editor",
                      "Parent Window Class Name: Main", "Module: C:\\Apps\\app.exe"}},
        DescribeCase{
            "unowned top-level window",
            [](WindowTree& t) { return t.AddTopLevel(Window("Main", "", {}, 5)); },
            {"Window Handle: 1000", "Window Class Name: Main",
             "Window Text: ", "Window ID Number: N/A", "Parent Window Handle: N/A",
             "Parent Window Text: N/A", "Parent Window Class Name: N/A",
             "Module: C:\\Apps\\app.exe"}},
        DescribeCase{"no window",
                     [](WindowTree&) { return WindowHandle{0}; },
                     {"Window Handle: 0",
                      "Window Class Name: ", "Window Text: ", "Window ID Number: N/A",
                      "Parent Window Handle: N/A", "Parent Window Text: N/A",
                      "Parent Window Class Name: N/A", "Module: "}},
        DescribeCase{
            "long texts and a negative ID",
            [](WindowTree& t) {
              const WindowHandle main =
                  t.AddTopLevel(Window(std::string(120, 'C'), "", {}));
              return t.AddChild(main, Window("Static", std::string(150, 't'), {}, -7));
            },
            {"Window Handle: 2000", "Window Class Name: Static",
             "Window Text: " + std::string(99, 't'), "Window ID Number: -7",
             "Parent Window Handle: 1000",
             "Parent Window Text: ", "Parent Window Class Name: " + std::string(99, 'C'),
             "Module: C:\\Apps\\app.exe"}}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(DescribeWindow, NegativeHandlesAreSignedDecimals) {
  WindowTree tree(-2147483647 - 1, 4);
  const WindowHandle main = tree.AddTopLevel(Window("Main", "", {}));
  const WindowHandle child = tree.AddChild(main, Window("Edit", "", {}));
  const ReportLines lines = DescribeWindow(tree, child);
  EXPECT_EQ(lines[0], "Window Handle: -2147483644");
  EXPECT_EQ(lines[4], "Parent Window Handle: -2147483648");
}

// Eight boxes on a desktop of their own, and one window to point at.
class InspectorTest : public ::testing::Test {
 protected:
  InspectorTest() {
    for (int i = 0; i < 8; ++i) {
      const WindowHandle w = desktop_.AddTopLevel(Window("Box", "", {}));
      boxes_.push_back(std::make_unique<model::ModelTextBox>(desktop_, w, "initial"));
      report_boxes_[static_cast<std::size_t>(i)] = boxes_.back().get();
    }
    main_ = tree_.AddTopLevel(Window("Main", "Editor", {0, 0, 100, 100}));
    edit_ = tree_.AddChild(main_, Window("Edit", "hello", {10, 10, 50, 50}, 3));
  }

  std::vector<int> Writes() const {
    std::vector<int> writes;
    for (const auto& box : boxes_) writes.push_back(box->writes());
    return writes;
  }

  WindowTree desktop_;
  WindowTree tree_;
  testing::ForwardingWindows windows_{tree_};
  WindowInspector inspector_{windows_};
  std::vector<std::unique_ptr<model::ModelTextBox>> boxes_;
  ReportBoxes report_boxes_{};
  WindowHandle main_ = 0;
  WindowHandle edit_ = 0;
};

TEST_F(InspectorTest, AReportWritesEveryBoxOnceAndARepeatOnlyLooks) {
  tree_.MoveCursor({20, 20});
  inspector_.ReportWindowAtCursor(report_boxes_);
  EXPECT_EQ(Writes(), std::vector<int>(8, 1));
  EXPECT_EQ(boxes_[0]->Text(), "Window Handle: " + std::to_string(edit_));
  EXPECT_EQ(inspector_.LastReportedWindow(), edit_);

  tree_.SetText(edit_, "changed");
  windows_.calls.clear();
  inspector_.ReportWindowAtCursor(report_boxes_);
  const std::map<std::string, int> pointer_only = {{"CursorPos", 1}, {"WindowAt", 1}};
  EXPECT_EQ(windows_.calls, pointer_only);
  EXPECT_EQ(Writes(), std::vector<int>(8, 1));
  EXPECT_EQ(boxes_[2]->Text(), "Window Text: hello");

  tree_.MoveCursor({70, 70});
  inspector_.ReportWindowAtCursor(report_boxes_);
  EXPECT_EQ(Writes(), std::vector<int>(8, 2));
  EXPECT_EQ(boxes_[3]->Text(), "Window ID Number: N/A");
}

TEST_F(InspectorTest, NoWindowIsIgnoredUntilSomethingWasReported) {
  tree_.MoveCursor({500, 500});
  inspector_.ReportWindowAtCursor(report_boxes_);
  EXPECT_EQ(Writes(), std::vector<int>(8, 0));
  tree_.MoveCursor({20, 20});
  inspector_.ReportWindowAtCursor(report_boxes_);
  tree_.MoveCursor({500, 500});
  inspector_.ReportWindowAtCursor(report_boxes_);
  EXPECT_EQ(boxes_[0]->Text(), "Window Handle: 0");
  EXPECT_EQ(boxes_[7]->Text(), "Module: ");
}

TEST_F(InspectorTest, PicksWriteBareHandlesAndOnlyWhenTheWindowChanges) {
  model::ModelTextBox& handle_box = *boxes_[0];
  tree_.MoveCursor({500, 500});
  inspector_.PickWindowAtCursor(handle_box);
  EXPECT_EQ(handle_box.writes(), 0) << "a first pick over no window writes nothing";
  EXPECT_EQ(handle_box.Text(), "initial");

  tree_.MoveCursor({20, 20});
  inspector_.PickWindowAtCursor(handle_box);
  EXPECT_EQ(handle_box.Text(), std::to_string(edit_));
  inspector_.PickWindowAtCursor(handle_box);
  EXPECT_EQ(handle_box.writes(), 1);

  tree_.MoveCursor({500, 500});
  inspector_.PickWindowAtCursor(handle_box);
  EXPECT_EQ(handle_box.Text(), "0");
}

TEST_F(InspectorTest, PicksAndReportsKeepSeparateMemories) {
  tree_.MoveCursor({20, 20});
  inspector_.PickWindowAtCursor(*boxes_[0]);
  inspector_.ReportWindowAtCursor(report_boxes_);
  EXPECT_EQ(Writes(), (std::vector<int>{2, 1, 1, 1, 1, 1, 1, 1}));
  inspector_.PickWindowAtCursor(*boxes_[1]);
  EXPECT_EQ(boxes_[1]->writes(), 1) << "a report does not count as a pick";
  EXPECT_EQ(inspector_.LastPickedWindow(), edit_);
  EXPECT_EQ(inspector_.LastReportedWindow(), edit_);
}

}  // namespace
}  // namespace winscout::inspector
