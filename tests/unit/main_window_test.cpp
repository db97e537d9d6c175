#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "app/main_form.h"
#include "app/pick_hot_key.h"
#include "codegen/finder_code.h"
#include "platform/model/message_box_log.h"
#include "platform/model/model_form.h"
#include "platform/model/model_settings.h"
#include "platform/model/model_windows_view.h"
#include "platform/model/window_tree.h"

namespace winscout::app {
namespace {

using model::ModelForm;

// Runs a check at the moment a message box would be on the screen.
class WatchedMessageBox final : public ModalMessageBox {
 public:
  std::function<void()> while_shown;
  model::MessageBoxLog log;
  void ShowExclamation(std::string_view title, std::string_view text) override {
    if (while_shown) while_shown();
    log.ShowExclamation(title, text);
  }
  void ShowInformation(std::string_view title, std::string_view text) override {
    if (while_shown) while_shown();
    log.ShowInformation(title, text);
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    other_app_ = desktop_.AddTopLevel(
        {.class_name = "Main_Frame2", .text = "Other", .rect = {600, 0, 900, 300}});
    other_edit_ = desktop_.AddChild(
        other_app_, {.class_name = "Edit", .text = "typed", .rect = {610, 10, 700, 40}});
    window_.Start();
  }

  model::ModelPictureBox& CodeArrow() {
    return form_.ModelPictureBoxAt(control::kCodeArrow);
  }
  model::ModelPictureBox& InspectorArrow() {
    return form_.ModelPictureBoxAt(control::kInspectorArrow);
  }
  model::ModelTextBox& Box(int id) { return form_.ModelTextBoxAt(id); }
  model::ModelTimer& Timer2() { return form_.ModelTimerAt(control::kLiveTimer); }
  const Picture* Arrow() { return form_.ImageAt(control::kArrowHolder).GetPicture(); }
  void Click(int id) { form_.ModelButtonAt(id).Click(); }

  // Press on the code arrow, move to the point, release.
  void DropCodeArrowAt(ScreenPoint point) {
    CodeArrow().Press();
    desktop_.MoveCursor(point);
    CodeArrow().Release();
  }

  model::WindowTree desktop_;
  ModelForm form_{kMainForm, desktop_};
  WatchedMessageBox messages_;
  model::ModelSettings settings_;
  model::ModelClipboard clipboard_;
  MainWindow window_{form_, desktop_, messages_, settings_, clipboard_};
  WindowHandle other_app_ = 0;
  WindowHandle other_edit_ = 0;
};

TEST_F(MainWindowTest, StartsNarrowTopmostAndShownWithBothArrows) {
  EXPECT_TRUE(form_.shown());
  EXPECT_TRUE(desktop_.IsTopmost(form_.Handle()));
  EXPECT_EQ(form_.ClientWidth(), 4290);
  EXPECT_EQ(form_.client_height(), 2865);
  EXPECT_NE(Arrow(), nullptr);
  EXPECT_EQ(CodeArrow().GetPicture(), Arrow());
  EXPECT_EQ(InspectorArrow().GetPicture(), Arrow());
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_EQ(Timer2().IntervalMs(), 5);
  EXPECT_EQ(Box(control::kCodeBox).Text(), "");
  EXPECT_EQ(Box(control::kHandleBox).Text(), "");
  EXPECT_EQ(Box(control::kReportLine1).Text(), "Window Text:");
  EXPECT_EQ(Box(control::kReportLine7).Text(), "Parent Window Class Name: ");
}

TEST_F(MainWindowTest, LayoutSwitchesChangeOnlyTheWidthAndKeepEveryText) {
  Box(control::kCodeBox).Type("kept");
  std::vector<std::string> before;
  for (const ControlSpec& control : kControls) {
    if (control.kind == ControlKind::kTextBox || control.kind == ControlKind::kCodeBox) {
      before.push_back(Box(control.id).Text());
    }
  }
  struct Step {
    int button;
    int width;
  };
  for (const Step& step :
       {Step{control::kApiButton, 9420}, Step{control::kApiButton, 9420},
        Step{control::kCodeButton, 4290}, Step{control::kCodeButton, 4290},
        Step{control::kApiButton, 9420}}) {
    Click(step.button);
    EXPECT_EQ(form_.ClientWidth(), step.width);
    EXPECT_EQ(form_.client_height(), 2865);
  }
  std::vector<std::string> after;
  for (const ControlSpec& control : kControls) {
    if (control.kind == ControlKind::kTextBox || control.kind == ControlKind::kCodeBox) {
      after.push_back(Box(control.id).Text());
    }
  }
  EXPECT_EQ(after, before);
}

// Live inspection is the timer's enabled state; every event sets it without
// looking at it first.
struct SwitchCase {
  const char* event;
  bool before;
  bool after;
};

class LiveInspectionSwitchTest : public MainWindowTest,
                                 public ::testing::WithParamInterface<SwitchCase> {
 protected:
  void Raise(std::string_view event) {
    if (event == "Start") Click(control::kStartButton);
    if (event == "Stop") Click(control::kStopButton);
    if (event == "press") InspectorArrow().Press();
    if (event == "release") InspectorArrow().Release();
    if (event == "type") Box(control::kCodeBox).Type("x");
  }
};

TEST_P(LiveInspectionSwitchTest, FollowsTheStateTable) {
  Timer2().SetEnabled(GetParam().before);
  Raise(GetParam().event);
  EXPECT_EQ(Timer2().Enabled(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Events, LiveInspectionSwitchTest,
    ::testing::Values(SwitchCase{"Start", false, true}, SwitchCase{"Start", true, true},
                      SwitchCase{"Stop", true, false}, SwitchCase{"Stop", false, false},
                      SwitchCase{"press", false, true}, SwitchCase{"press", true, true},
                      SwitchCase{"release", true, false},
                      SwitchCase{"release", false, false},
                      SwitchCase{"type", true, false}, SwitchCase{"type", false, false}),
    [](const auto& info) {
      return std::string(info.param.event) +
             (info.param.before ? "_WhileOn" : "_WhileOff");
    });

TEST_F(MainWindowTest, InspectorDragReportsWhatThePointerCrossesAndKeepsTheLastTick) {
  Click(control::kApiButton);
  desktop_.MoveCursor(form_.CenterOf(control::kInspectorArrow));
  InspectorArrow().Press();
  EXPECT_EQ(InspectorArrow().GetPicture(), nullptr);
  EXPECT_EQ(InspectorArrow().GetMousePointer(), MousePointer::kCustom);
  EXPECT_EQ(Box(control::kReportLine2).Text(), "Window Class Name:")
      << "no report before a tick";
  ASSERT_TRUE(Timer2().Elapse());
  EXPECT_EQ(Box(control::kReportLine1).Text(),
            "Window Handle: " + std::to_string(form_.WindowOf(control::kInspectorArrow)));
  desktop_.MoveCursor({620, 20});
  ASSERT_TRUE(Timer2().Elapse());
  desktop_.MoveCursor({800, 200});
  InspectorArrow().Release();
  EXPECT_FALSE(Timer2().Elapse());
  EXPECT_EQ(Box(control::kReportLine1).Text(),
            "Window Handle: " + std::to_string(other_edit_));
  EXPECT_EQ(Box(control::kReportLine3).Text(), "Window Text: typed");
  EXPECT_EQ(InspectorArrow().GetPicture(), Arrow());
  EXPECT_EQ(InspectorArrow().GetMousePointer(), MousePointer::kDefault);
}

TEST_F(MainWindowTest, ReportOverAReportBoxShowsItsTextFromBefore) {
  Click(control::kApiButton);
  Click(control::kStartButton);
  desktop_.MoveCursor({620, 20});
  Timer2().Elapse();
  desktop_.MoveCursor(form_.CenterOf(control::kReportLine2));
  Timer2().Elapse();
  EXPECT_EQ(Box(control::kReportLine3).Text(), "Window Text: Window Class Name: Edit");
}

TEST_F(MainWindowTest, CodeArrowDropWritesCodeAndEndsLiveInspection) {
  Click(control::kStartButton);
  DropCodeArrowAt({620, 20});
  EXPECT_EQ(Box(control::kHandleBox).Text(), std::to_string(other_edit_));
  EXPECT_EQ(Box(control::kCodeBox).Text(),
            "Dim MainFrame As Long\r\nDim Edit As Long\r\n"
            "MainFrame = FindWindow(\"Main_Frame2\", vbNullString)\r\n"
            "Edit = FindWindowEx(MainFrame, 0, \"Edit\", vbNullString)");
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_TRUE(messages_.log.shown().empty());
  EXPECT_EQ(CodeArrow().GetPicture(), Arrow());
  EXPECT_EQ(CodeArrow().GetMousePointer(), MousePointer::kDefault);
  EXPECT_EQ(CodeArrow().picture_history(),
            (std::vector<const Picture*>{Arrow(), nullptr, Arrow()}));
}

TEST_F(MainWindowTest, SecondDropOnTheSameWindowRegeneratesFromTheKeptHandle) {
  DropCodeArrowAt({620, 20});
  Box(control::kCodeBox).Type(" edited");
  DropCodeArrowAt({630, 30});
  EXPECT_EQ(Box(control::kHandleBox).writes(), 1);
  EXPECT_EQ(Box(control::kCodeBox).writes(), 2);
  EXPECT_TRUE(Box(control::kCodeBox).Text().ends_with("\"Edit\", vbNullString)"));
}

TEST_F(MainWindowTest, DropOnItsOwnArrowBoxGivesCodeForIt) {
  DropCodeArrowAt(form_.CenterOf(control::kCodeArrow));
  EXPECT_EQ(Box(control::kCodeBox).Text(),
            "Dim WinScoutForm As Long\r\nDim Frame As Long\r\nDim PictureBox As Long\r\n"
            "WinScoutForm = FindWindow(\"WinScoutForm\", vbNullString)\r\n"
            "Frame = FindWindowEx(WinScoutForm, 0, \"Frame\", vbNullString)\r\n"
            "PictureBox = FindWindowEx(Frame, 0, \"PictureBox\", vbNullString)");
}

TEST_F(MainWindowTest, FirstDropOnNothingSaysNotNumericWithTheArrowBack) {
  Click(control::kStartButton);
  messages_.while_shown = [this] {
    EXPECT_EQ(CodeArrow().GetPicture(), Arrow());
    EXPECT_EQ(CodeArrow().GetMousePointer(), MousePointer::kDefault);
  };
  DropCodeArrowAt({2000, 2000});
  EXPECT_EQ(Box(control::kHandleBox).Text(), "");
  const std::vector<model::MessageBoxLog::Shown> expected = {
      {"Error!", std::string(codegen::kNotNumericMessage)}};
  EXPECT_EQ(messages_.log.shown(), expected);
  EXPECT_EQ(Box(control::kCodeBox).writes(), 0);
  EXPECT_TRUE(Timer2().Enabled()) << "an error message leaves live inspection on";
}

TEST_F(MainWindowTest, DropOnNothingAfterAWindowWritesZeroAndStaysQuiet) {
  DropCodeArrowAt({620, 20});
  const std::string code = Box(control::kCodeBox).Text();
  Click(control::kStartButton);
  DropCodeArrowAt({2000, 2000});
  EXPECT_EQ(Box(control::kHandleBox).Text(), "0");
  EXPECT_EQ(Box(control::kCodeBox).Text(), code);
  EXPECT_TRUE(messages_.log.shown().empty());
  EXPECT_TRUE(Timer2().Enabled());
}

TEST_F(MainWindowTest, DropOnAWindowThatIsGoneSaysNotValidWithTheArrowBack) {
  desktop_.MoveCursor({620, 20});
  CodeArrow().Press();
  messages_.while_shown = [this] { EXPECT_EQ(CodeArrow().GetPicture(), Arrow()); };
  // The window closes between the pick and the generation.
  Box(control::kHandleBox).OnChange([this] { desktop_.Destroy(other_app_); });
  CodeArrow().Release();
  ASSERT_EQ(messages_.log.shown().size(), 1u);
  EXPECT_EQ(messages_.log.shown()[0].text, codegen::kInvalidHandleMessage);
  EXPECT_EQ(Box(control::kCodeBox).Text(), "");
}

}  // namespace
}  // namespace winscout::app

namespace winscout::app {
namespace {

TEST_F(MainWindowTest, OutlineFollowsTheDragFromWindowToWindowWithoutRepeats) {
  CodeArrow().Press();
  for (ScreenPoint p : {ScreenPoint{620, 20}, ScreenPoint{630, 30}, ScreenPoint{800, 200},
                        ScreenPoint{2000, 2000}, ScreenPoint{650, 20}}) {
    desktop_.MoveCursor(p);
    CodeArrow().Move();
  }
  EXPECT_EQ(form_.highlight().outlines(),
            (std::vector<WindowHandle>{other_edit_, other_app_, 0, other_edit_}));
  CodeArrow().Release();
  EXPECT_EQ(form_.highlight().outlined(), 0);
  EXPECT_EQ(Box(control::kHandleBox).Text(), std::to_string(other_edit_));
}

TEST_F(MainWindowTest, OutlineOfADestroyedWindowMovesToTheWindowNowUnderThePointer) {
  CodeArrow().Press();
  desktop_.MoveCursor({620, 20});
  CodeArrow().Move();
  desktop_.Destroy(other_edit_);
  form_.highlight().TargetGone();
  EXPECT_EQ(form_.highlight().outlined(), other_app_);
  desktop_.Destroy(other_app_);
  form_.highlight().TargetGone();
  EXPECT_EQ(form_.highlight().outlined(), 0);
  CodeArrow().Release();
  EXPECT_EQ(form_.highlight().outlined(), 0);
}

TEST_F(MainWindowTest, InspectorDragIsOutlinedTooAndEscEndsItLikeARelease) {
  Click(control::kApiButton);
  desktop_.MoveCursor(form_.CenterOf(control::kInspectorArrow));
  InspectorArrow().Press();
  desktop_.MoveCursor({620, 20});
  InspectorArrow().Move();
  EXPECT_EQ(form_.highlight().outlined(), other_edit_);
  InspectorArrow().Cancel();
  EXPECT_EQ(form_.highlight().outlined(), 0);
  EXPECT_FALSE(Timer2().Enabled());
  EXPECT_EQ(InspectorArrow().GetPicture(), Arrow());
}

TEST_F(MainWindowTest, EscOnTheCodeArrowPicksNothingAndChangesNothing) {
  DropCodeArrowAt({620, 20});
  const std::string code = Box(control::kCodeBox).Text();
  Click(control::kStartButton);
  CodeArrow().Press();
  desktop_.MoveCursor({800, 200});
  CodeArrow().Move();
  CodeArrow().Cancel();
  EXPECT_EQ(form_.highlight().outlined(), 0);
  EXPECT_EQ(CodeArrow().GetPicture(), Arrow());
  EXPECT_EQ(CodeArrow().GetMousePointer(), MousePointer::kDefault);
  EXPECT_EQ(Box(control::kHandleBox).Text(), std::to_string(other_edit_));
  EXPECT_EQ(Box(control::kCodeBox).Text(), code);
  EXPECT_EQ(Box(control::kCodeBox).writes(), 1);
  EXPECT_TRUE(Timer2().Enabled()) << "live inspection stays as it was";
  EXPECT_TRUE(messages_.log.shown().empty());
}

TEST_F(MainWindowTest, ChoosingALanguageRewritesTheCodeForTheSameWindow) {
  model::ModelTextBox& code_box = Box(control::kCodeBox);
  std::vector<std::string> texts;
  for (const MenuChoice& choice : code_box.menu_choices()) texts.push_back(choice.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Visual Basic", "VBA (Office)", "C++", "C#", "Python",
                       "Search by position", "Search by ID and title",
                       "Include declarations", "Find only", "Wait for it", "Try it"}));
  EXPECT_EQ(
      code_box.marked_choices(),
      (std::vector<std::string>{"Visual Basic", "Search by position", "Find only"}));
  code_box.Choose("C++");
  EXPECT_EQ(code_box.writes(), 0) << "no code yet, nothing to rewrite";

  DropCodeArrowAt({620, 20});
  const std::string cpp = code_box.Text();
  EXPECT_NE(cpp.find("FindWindowExW"), std::string::npos) << cpp;
  // The window goes away: the language switch writes the kept searches, it
  // does not search again.
  desktop_.Destroy(other_app_);
  for (const char* language : {"C#", "Python", "VBA (Office)", "Visual Basic"}) {
    code_box.Choose(language);
    EXPECT_EQ(code_box.marked_choices(),
              (std::vector<std::string>{language, "Search by position", "Find only"}));
  }
  EXPECT_EQ(code_box.Text(),
            "Dim MainFrame As Long\r\nDim Edit As Long\r\n"
            "MainFrame = FindWindow(\"Main_Frame2\", vbNullString)\r\n"
            "Edit = FindWindowEx(MainFrame, 0, \"Edit\", vbNullString)");
  code_box.Choose("C++");
  EXPECT_EQ(code_box.Text(), cpp);
}

// The language, the way of searching and the declarations outlive the run;
// the next one starts with them marked and writes its code with them.
TEST_F(MainWindowTest, TheCodeBoxChoicesAreKeptForTheNextRun) {
  model::ModelTextBox& code_box = Box(control::kCodeBox);
  for (const char* choice : {"C#", "Search by ID and title", "Include declarations"}) {
    code_box.Choose(choice);
  }
  EXPECT_EQ(settings_.values(),
            (std::map<std::string, std::string>{
                {"Declarations", "1"}, {"Language", "C#"}, {"Search", "ID and title"}}));
  ModelForm next_form{kMainForm, desktop_};
  MainWindow next_run{next_form, desktop_, messages_, settings_, clipboard_};
  next_run.Start();
  EXPECT_EQ(next_form.ModelTextBoxAt(control::kCodeBox).marked_choices(),
            (std::vector<std::string>{"C#", "Search by ID and title",
                                      "Include declarations", "Find only"}));
  next_form.ModelTextBoxAt(control::kCodeBox).Choose("Include declarations");
  EXPECT_EQ(settings_.values().at("Declarations"), "0");
}

TEST_F(MainWindowTest, ADropOnNothingKeepsTheCodeInTheChosenLanguage) {
  DropCodeArrowAt({620, 20});
  Box(control::kCodeBox).Choose("Python");
  const std::string python = Box(control::kCodeBox).Text();
  desktop_.Destroy(other_app_);
  Click(control::kStartButton);
  DropCodeArrowAt({620, 20});
  EXPECT_EQ(Box(control::kCodeBox).Text(), python);
  EXPECT_TRUE(Timer2().Enabled());
}

TEST_F(MainWindowTest, AboutInTheSystemMenuShowsTheVersionFromVersion) {
  std::string version;
  std::getline(std::ifstream(WINSCOUT_VERSION_FILE), version);
  const std::string item = "About WinScout " + version + "...";
  const std::vector<std::string> items = form_.system_menu_items();
  EXPECT_EQ(std::count(items.begin(), items.end(), item), 1);
  form_.ChooseSystemMenuItem(item);
  ASSERT_EQ(messages_.log.shown().size(), 1u);
  const model::MessageBoxLog::Shown& about = messages_.log.shown()[0];
  EXPECT_EQ(about.title, "About WinScout");
  EXPECT_EQ(about.icon, model::MessageBoxLog::Icon::kInformation);
  EXPECT_TRUE(about.text.starts_with("WinScout " + version + "\nBuilt ")) << about.text;
}

TEST_F(MainWindowTest, TheHotKeyPicksUnderThePointerAndItsMenuItemSaysWhetherItIsHeld) {
  model::ModelHotKey hot_key;
  hot_key.SetHeldElsewhere(true);
  const PickHotKey pick(hot_key, form_, window_);
  const std::string taken =
      "Ctrl+Shift+F11 Is Taken by Another Program (Choose to Try Again)";
  const std::string held = "Pick Window Under Pointer\tCtrl+Shift+F11";
  EXPECT_EQ(form_.system_menu_items().back(), taken);
  hot_key.SetHeldElsewhere(false);
  form_.ChooseSystemMenuItem(taken);
  EXPECT_EQ(form_.system_menu_items().back(), held);
  EXPECT_TRUE(hot_key.registered());

  desktop_.MoveCursor({620, 20});
  hot_key.Press();
  EXPECT_EQ(Box(control::kHandleBox).Text(), std::to_string(other_edit_));
  EXPECT_NE(Box(control::kCodeBox).Text().find("\"Edit\""), std::string::npos);
  EXPECT_EQ(CodeArrow().picture_history().size(), 1u) << "the arrow is not touched";
}

// The actions that fit the dropped window, Find only first; "Try it" does the
// chosen one on it and says what came of it; each drop starts from Find only.
TEST_F(MainWindowTest, ActionsFitTheTargetAndTryItDoesThem) {
  model::ModelTextBox& code_box = Box(control::kCodeBox);
  DropCodeArrowAt({620, 20});
  const std::string found_only = code_box.Text();
  std::vector<std::string> actions;
  for (const MenuChoice& choice : code_box.menu_choices()) {
    if (choice.submenu == "Action") actions.push_back(choice.text);
  }
  EXPECT_EQ(actions,
            (std::vector<std::string>{"Find only", "Set its text", "Read its text",
                                      "Close it", "Wait for it"}));
  code_box.Choose("Set its text");
  code_box.Choose("Wait for it");
  EXPECT_EQ(code_box.marked_choices(),
            (std::vector<std::string>{"Visual Basic", "Search by position",
                                      "Set its text", "Wait for it"}));
  EXPECT_NE(code_box.Text().find("WM_SETTEXT, 0, StrPtr(\"New text\")"),
            std::string::npos)
      << code_box.Text();
  EXPECT_NE(code_box.Text().find("For Tries = 1 To 100"), std::string::npos);
  code_box.Choose("Try it");
  EXPECT_EQ(desktop_.Props(other_edit_).text, "New text");
  code_box.Choose("Read its text");
  code_box.Choose("Try it");
  ASSERT_EQ(messages_.log.shown().size(), 2u);
  EXPECT_EQ(messages_.log.shown().back().text, "New text");

  desktop_.SetHung(other_edit_, true);
  code_box.Choose("Try it");
  EXPECT_EQ(messages_.log.shown().back().text, "The window did not answer.");
  desktop_.SetHung(other_edit_, false);

  DropCodeArrowAt({620, 20});
  EXPECT_EQ(code_box.Text(), found_only) << "a drop starts from finding only";
  code_box.Choose("Close it");
  code_box.Choose("Try it");
  EXPECT_FALSE(desktop_.Exists(other_edit_));
}

// Try it, and the operations, never close, hide or disable one of WinScout's
// own windows; a window that is gone is said to be, not read as empty.
TEST_F(MainWindowTest, TryItLeavesWinScoutsOwnWindowsAndSaysAWindowIsGone) {
  model::ModelTextBox& code_box = Box(control::kCodeBox);
  desktop_.SetOwnProcess(0);  // the form's, and the other windows' here
  const WindowHandle own = form_.WindowOf(control::kCodeBox);
  window_.PickWindow(own);
  code_box.Choose("Close it");
  code_box.Choose("Try it");
  for (WindowOperation operation : {WindowOperation::kHide, WindowOperation::kDisable}) {
    window_.Operate(operation);
  }
  EXPECT_TRUE(desktop_.Facts(own) && desktop_.Facts(own)->visible &&
              desktop_.Facts(own)->enabled);
  ASSERT_EQ(messages_.log.shown().size(), 3u);
  EXPECT_EQ(messages_.log.shown().back().text, MainWindow::kOwnWindowRefused);

  desktop_.SetOwnProcess(1);
  window_.PickWindow(other_edit_);
  code_box.Choose("Read its text");
  desktop_.Destroy(other_edit_);
  code_box.Choose("Try it");
  EXPECT_EQ(messages_.log.shown().back().text, "The window is gone.");
}

// Code that sends a logged message or a menu command: "Try it" sends that
// message, a text by WM_SETTEXT, rather than doing the action.
TEST_F(MainWindowTest, TryItSendsTheMessageTheCodeSends) {
  model::ModelTextBox& code_box = Box(control::kCodeBox);
  window_.PickWindowToSend(
      other_app_,
      codegen::MessageToSend{.message = 0x0111, .name = "WM_COMMAND", .wparam = 40001});
  code_box.Choose("Try it");
  EXPECT_EQ(desktop_.Commands().back(), (model::ParentCommand{other_app_, 40001, 0, 0}));
  EXPECT_EQ(messages_.log.shown().back().text, "Posted.");
  window_.PickWindowToSend(
      other_edit_, codegen::MessageToSend{
                       .message = 0x000C, .name = "WM_SETTEXT", .lparam = "Sent text"});
  code_box.Choose("Try it");
  EXPECT_EQ(desktop_.Props(other_edit_).text, "Sent text");
  EXPECT_EQ(messages_.log.shown().back().text, "Sent.");
}

}  // namespace
}  // namespace winscout::app
