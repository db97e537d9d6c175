// The finder code for known window trees, made on every WindowSystem: the
// same text from the model and from real windows.

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "codegen/actions.h"
#include "codegen/finder_code.h"
#include "codegen/finder_language.h"
#include "codegen/visual_basic.h"
#include "inspector/window_inspector.h"
#include "tests/contract/test_desktop.h"
#include "tests/support/crlf_lines.h"
#include "tests/support/vb_check.h"
#include "tests/support/vb_replay.h"

namespace winscout::testing {
namespace {

class FinderContract : public ::testing::Test {
 protected:
  std::unique_ptr<TestDesktop> desktop_ = MakeTestDesktop();
  WindowSystem& windows_ = desktop_->System();

  WindowHandle Top(const std::string& class_name) {
    return desktop_->AddTopLevel({.class_name = class_name});
  }
  WindowHandle Child(WindowHandle parent, const std::string& class_name) {
    return desktop_->AddChild(parent, {.class_name = class_name});
  }
  std::string CodeFor(WindowHandle target) {
    const codegen::FinderResult result =
        codegen::GenerateFinderCode(std::to_string(target), windows_);
    const auto* code = std::get_if<codegen::FinderCode>(&result);
    EXPECT_NE(code, nullptr) << "no code for " << target << "\n" << desktop_->Describe();
    return code ? code->text : std::string();
  }
};

TEST_F(FinderContract, SecondEditOfADialogInAFrame) {
  const WindowHandle frame = Top("Main_Frame2");
  const WindowHandle dialog = Child(frame, "#32770");
  Child(dialog, "Edit");
  const WindowHandle target = Child(dialog, "Edit");
  EXPECT_EQ(CodeFor(target),
            CrLfLines({
                "Dim MainFrame As Long",
                "Dim X As Long",
                "Dim Edit As Long",
                R"(MainFrame = FindWindow("Main_Frame2", vbNullString))",
                R"(X = FindWindowEx(MainFrame, 0, "#32770", vbNullString))",
                R"(Edit = FindWindowEx(X, 0, "Edit", vbNullString))",
                R"(Edit = FindWindowEx(X, Edit, "Edit", vbNullString))",
            }));
}

TEST_F(FinderContract, ButtonOfADialogOwnedByAFrameAnchorsAtTheDialog) {
  const WindowHandle frame = Top("Main_Frame2");
  const WindowHandle dialog =
      desktop_->AddOwned(frame, {.class_name = "#32770"}, /*popup=*/true);
  const WindowHandle target = Child(dialog, "Button");
  Child(dialog, "Button");
  ASSERT_EQ(windows_.FindTopLevel("#32770"), dialog) << desktop_->Describe();
  EXPECT_EQ(CodeFor(target), CrLfLines({
                                 "Dim X As Long",
                                 "Dim Button As Long",
                                 R"(X = FindWindow("#32770", vbNullString))",
                                 R"(Button = FindWindowEx(X, 0, "Button", vbNullString))",
                             }));
}

TEST_F(FinderContract, SecondInstanceOfAnApplicationIsReachedByFurtherTopLevelSearches) {
  const WindowHandle one = Top("WsFinderApp");
  const WindowHandle two = Top("WsFinderApp");
  Child(one, "Edit");
  Child(two, "Edit");
  const WindowHandle later = windows_.FindTopLevel("WsFinderApp") == one ? two : one;
  const WindowHandle target = windows_.FindChild(later, 0, "Edit");
  EXPECT_EQ(
      CodeFor(target),
      CrLfLines({
          "Dim WsFinderApp As Long",
          "Dim Edit As Long",
          R"(WsFinderApp = FindWindow("WsFinderApp", vbNullString))",
          R"(WsFinderApp = FindWindowEx(0, WsFinderApp, "WsFinderApp", vbNullString))",
          R"(Edit = FindWindowEx(WsFinderApp, 0, "Edit", vbNullString))",
      }));
}

TEST_F(FinderContract, QuotesInAClassNameStayInsideTheLiteral) {
  const WindowHandle target = Top(R"(Ws"Quoted"Class)");
  EXPECT_EQ(CodeFor(target),
            CrLfLines({
                "Dim WsQuotedClass As Long",
                R"(WsQuotedClass = FindWindow("Ws""Quoted""Class", vbNullString))",
            }));
}

TEST_F(FinderContract, ReservedWordsAndRepeatedNamesGetNumbers) {
  const WindowHandle outer = Top("Static");
  const WindowHandle inner = Child(outer, "Static");
  const WindowHandle target = Child(inner, "Edit1");
  EXPECT_EQ(CodeFor(target),
            CrLfLines({
                "Dim Static1 As Long",
                "Dim Static2 As Long",
                "Dim Edit As Long",
                R"(Static1 = FindWindow("Static", vbNullString))",
                R"(Static2 = FindWindowEx(Static1, 0, "Static", vbNullString))",
                R"(Edit = FindWindowEx(Static2, 0, "Edit1", vbNullString))",
            }));
}

TEST_F(FinderContract, HandlesThatNameNoWindowAreRejected) {
  const WindowHandle gone = Top("WsFinderGone");
  desktop_->Destroy(gone);
  for (const std::string& text : {std::to_string(gone), std::string("00")}) {
    const codegen::FinderResult result = codegen::GenerateFinderCode(text, windows_);
    const auto* message = std::get_if<codegen::FinderMessage>(&result);
    ASSERT_NE(message, nullptr) << text;
    EXPECT_EQ(message->text, codegen::kInvalidHandleMessage);
  }
}

// Class names beyond the ANSI code page: the report shows them, and the code
// spells them in ChrW pieces under its note on the W declarations, and finds
// its window; a chain of ANSI names stays as it was.
TEST_F(FinderContract, UnicodeClassNamesAreReportedAndFound) {
  struct Case {
    std::vector<std::string> chain;  // from the top-level window down
    bool unicode;
  };
  for (const Case& c :
       {Case{{"ОкноКласс"}, true}, Case{{"窗口类"}, true}, Case{{"Emoji😀Class"}, true},
        Case{{"WsLatinÀ", "ОкноКласс"}, true}, Case{{"WsLatinÀ", "Emoji😀Class"}, true},
        Case{{"WsLatinÀ", "MixedАБВ", "Edit"}, true},
        Case{{"WsLatinÀ", "Ünïcode", "Edit"}, false}}) {
    SCOPED_TRACE(c.chain.back() + " at depth " + std::to_string(c.chain.size()));
    WindowHandle target = Top(c.chain[0]);
    for (std::size_t k = 1; k < c.chain.size(); ++k) target = Child(target, c.chain[k]);
    EXPECT_EQ(inspector::DescribeWindow(windows_, target)[1],
              "Window Class Name: " + c.chain.back());
    const std::string code = CodeFor(target);
    EXPECT_EQ(code.starts_with(codegen::VisualBasicUnicodeNote(false)), c.unicode)
        << code;
    EXPECT_EQ(CheckFinderCode(code), std::vector<std::string>()) << code;
    const ReplayResult replay = ReplayFinderCode(code, windows_);
    EXPECT_TRUE(replay.Ran() && replay.found == target) << replay << "\n" << code;
  }
}

TEST_F(FinderContract, TheDesktopIsFoundByGetDesktopWindow) {
  EXPECT_EQ(CodeFor(windows_.DesktopWindow()),
            CrLfLines({"Dim X As Long", "X = GetDesktopWindow()"}));
}

// The Visual Basic and VBA action code, run by the replay: one row a control
// and action with what must come of it, each in four spellings (with and
// without the Declare lines and the wait, VBA with and without VBA7).
TEST_F(FinderContract, VisualBasicActionsHaveTheirEffects) {
  using codegen::Action;
  constexpr std::uint32_t kAutoCheckBox = 0x3, kAutoRadio = 0x9, kDropDownList = 0x3,
                          kMultiLine = 0x4;
  const ItemRows items = {{"Alpha"}, {"Beta \u03a9"}, {"beta two"}};
  const std::string edit_text = "line one\r\nline two \u03a9";
  const std::string hostile =
      "\"''\u201c\u201d\uff02 \u03a9\U0001f600 \" & Chr(10) & \"\r\n{0}";
  struct Row {
    const char* class_name;
    std::uint32_t style;
    Action action;
    std::string text;                  // set or chosen; the placeholder where empty
    std::vector<std::string> printed;  // what the code prints
    std::vector<int> heard;            // the parent's notification codes
    std::optional<std::string> holds;  // the control's text afterwards
    std::optional<bool> checked;       // the button's state afterwards
    bool gone = false;                 // closed
  };
  const Row rows[] = {
      {"Button", 0, Action::kClick, "", {}, {0}},
      {"Button", kAutoCheckBox, Action::kCheck, "", {}, {0}, {}, true},
      {"Button", kAutoCheckBox, Action::kUncheck, "", {}, {}, {}, false},
      {"Button", kAutoRadio, Action::kCheck, "", {}, {0}, {}, true},
      {"Edit", kMultiLine, Action::kSetText, hostile, {}, {}, hostile},
      {"Edit", kMultiLine, Action::kReadText, "", {edit_text}, {}, edit_text},
      {"ComboBox", kDropDownList, Action::kChooseItem, "BETA", {}, {1}},
      {"ListBox", 0, Action::kChooseItem, "beta t", {}, {1}},
      {"ListBox", 0, Action::kChooseItem, "Gamma", {}, {}},
      {"ComboBox",
       kDropDownList,
       Action::kReadItems,
       "",
       {"Alpha", "Beta \u03a9", "beta two"}},
      {"ListBox", 0, Action::kReadItems, "", {"Alpha", "Beta \u03a9", "beta two"}},
      {"Edit", kMultiLine, Action::kClose, "", {}, {}, {}, {}, true},
  };
  struct Spelling {
    codegen::FinderLanguage language;
    bool declarations, wait, vba7;
  };
  constexpr Spelling kSpellings[] = {
      {codegen::FinderLanguage::kVisualBasic, false, false, true},
      {codegen::FinderLanguage::kVisualBasic, true, true, true},
      {codegen::FinderLanguage::kVba, false, true, true},
      {codegen::FinderLanguage::kVba, false, false, false}};
  int n = 0;
  std::string waiting;
  for (const Row& row : rows) {
    for (const Spelling& spelling : kSpellings) {
      const WindowHandle main = Top("WsActions" + std::to_string(++n));
      const WindowHandle control = desktop_->AddChild(
          main, {.class_name = row.class_name,
                 .text = row.class_name == std::string("Edit") ? edit_text : "",
                 .rect = {0, 0, 80, 80},
                 .id = 40 + n,
                 .visible = true,
                 .style = row.style});
      if (row.action == Action::kReadItems || row.action == Action::kChooseItem) {
        desktop_->FillItems(
            control, row.class_name[0] == 'C' ? ItemList::kComboBox : ItemList::kListBox,
            items);
      }
      codegen::FinderStyle style{.declarations = spelling.declarations};
      style.action = codegen::PlanAction(
          row.action, codegen::KindOfTarget(row.class_name, row.style), spelling.wait);
      if (!row.text.empty()) style.action.text = row.text;
      const std::string code =
          codegen::EmitFinderCode(std::get<codegen::SearchPlan>(codegen::PlanFinderCode(
                                      std::to_string(control), windows_)),
                                  spelling.language, style);
      SCOPED_TRACE(code);
      const ReplayResult replay = ReplayActionCode(code, windows_, spelling.vba7);
      ASSERT_TRUE(replay.Ran()) << replay;
      desktop_->Pump();
      EXPECT_EQ(replay.printed, row.printed);
      std::vector<int> heard;
      for (const TestCommand& command : desktop_->CommandsTo(main)) {
        EXPECT_EQ(command, (TestCommand{40 + n, command.code, control}));
        heard.push_back(command.code);
      }
      EXPECT_EQ(heard, row.heard);
      if (row.holds) {
        EXPECT_EQ(windows_.LiveText(control, 1000), row.holds);
      }
      if (row.checked) {
        EXPECT_EQ(windows_.ButtonChecked(control, 1000), row.checked);
      }
      EXPECT_EQ(windows_.Facts(control).has_value(), !row.gone);
      desktop_->Destroy(main);
      if (spelling.wait) waiting = code;
    }
  }
  // Where the window never comes, the code that waits for it says so.
  const ReplayResult given_up = ReplayActionCode(waiting, windows_);
  EXPECT_EQ(given_up.printed,
            std::vector<std::string>{"The window was not found within 10 seconds."})
      << given_up << "\n"
      << waiting;
}

}  // namespace
}  // namespace winscout::testing
