// The "Windows" window on the in-memory desktop: the tree's order, laziness,
// filter and refresh, the details' formatting, and picks through the tree.

#include "app/windows_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form.h"
#include "cli/window_json.h"
#include "platform/model/message_box_log.h"
#include "platform/model/model_form.h"
#include "platform/model/model_settings.h"
#include "platform/model/model_windows_view.h"
#include "tests/support/forwarding_windows.h"

namespace winscout::app {
namespace {

using inspector::ProcessKey;
using inspector::WindowKey;

TEST(WindowDetailsFormat, StylesRectanglesAndHandles) {
  struct Case {
    std::string actual;
    const char* expected;
  };
  for (const Case& c : {
           Case{inspector::StyleText(0x94CF0000),
                "0x94CF0000 WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | "
                "WS_SYSMENU | "
                "WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX"},
           Case{inspector::StyleText(0x50810080),
                "0x50810080 WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x00000080"},
           Case{inspector::StyleText(0), "0x00000000"},
           Case{inspector::StyleText(0x50010301, "button"),
                "0x50010301 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON | "
                "BS_CENTER"},
           Case{inspector::StyleText(0x5000C0A2, "Static"),
                "0x5000C0A2 WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_NOPREFIX | "
                "SS_WORDELLIPSIS | "
                "0x00000020"},
           Case{inspector::ExStyleText(0x00080228),
                "0x00080228 WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_CLIENTEDGE | "
                "WS_EX_LAYERED"},
           Case{inspector::ExStyleText(0x00000800), "0x00000800 0x00000800"},
           Case{inspector::RectText({-8, 20, 300, 500}),
                "(-8, 20) - (300, 500), 308 x 480"},
           Case{inspector::HandleText(65580), "0x0001002C (65580)"},
           Case{inspector::HandleText(-2), "0xFFFFFFFE (-2)"},
       }) {
    EXPECT_EQ(c.actual, c.expected);
  }
}

class WindowsWindowTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kApp = 100;
  static constexpr std::uint32_t kTool = 200;

  WindowsWindowTest() {
    desktop_.SetProcessImage(kApp, "C:\\Apps\\app.exe");
    desktop_.SetProcessImage(kTool, "C:\\Tools\\Tool.exe");
    main_ = Add(0, {.class_name = "AppMain", .text = "Main", .rect = {600, 0, 900, 300}});
    edit_ =
        Add(main_, {.class_name = "Edit", .text = "typed", .rect = {610, 10, 700, 40}});
    disabled_ = Add(main_, {.class_name = "Button",
                            .text = "Go",
                            .rect = {610, 50, 700, 80},
                            .enabled = false});
    hidden_ = Add(main_, {.class_name = "Static", .text = "secret", .visible = false});
    empty_ = Add(main_, {.class_name = "Zero", .rect = {650, 90, 650, 120}});
    tool_ =
        Add(0, {.class_name = "ToolFrame", .text = "Tool", .rect = {0, 400, 200, 600}},
            kTool);
    dialog_ = desktop_.AddOwned(main_, {.class_name = "#32770",
                                        .text = "Dialog",
                                        .rect = {0, 0, 90, 90},
                                        .process_id = kApp});
    window_.Start();
  }

  WindowHandle Add(WindowHandle parent, model::WindowSpec props,
                   std::uint32_t process = kApp) {
    props.process_id = process;
    return parent ? desktop_.AddChild(parent, std::move(props))
                  : desktop_.AddTopLevel(std::move(props));
  }
  std::vector<std::string> Texts(std::optional<TreeItemKey> parent = std::nullopt) {
    std::vector<std::string> texts;
    for (const TreeItem& item : view_.tree().Items(parent)) texts.push_back(item.text);
    return texts;
  }
  const TreeItem& Item(WindowHandle window) {
    const TreeItem* item = view_.tree().Find(WindowKey(window));
    if (!item) throw std::runtime_error("not in the tree: " + std::to_string(window));
    return *item;
  }
  void Open() {
    form_.PressFunctionKey(WindowsWindow::kOpenKey);
    view_.tree().UserExpand(ProcessKey(kApp));
    view_.tree().UserExpand(WindowKey(main_));
  }

  model::WindowTree desktop_;
  model::ModelForm form_{kMainForm, desktop_};
  model::MessageBoxLog messages_;
  testing::ForwardingWindows counted_{desktop_};
  model::ModelSettings settings_;
  model::ModelClipboard clipboard_;
  MainWindow window_{form_, desktop_, messages_, settings_, clipboard_};
  model::ModelWindowsView view_{desktop_};
  WindowsWindow windows_window_{[this]() -> WindowsView& { return view_; }, form_,
                                counted_, window_, clipboard_};
  WindowHandle main_, edit_, disabled_, hidden_, empty_, tool_, dialog_;
};

TEST_F(WindowsWindowTest, ProcessesWindowsChildrenAndOwnedPopupsInTheDesktopsOrder) {
  Open();
  EXPECT_TRUE(view_.Visible());
  // The forms of the program itself belong to process 0, whose image is unknown.
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Process (0)", "app.exe (100)", "Tool.exe (200)"}));
  EXPECT_EQ(view_.tree().Items(ProcessKey(kApp)).size(), 1u)
      << "the owned dialog is under its owner, not beside it";
  const std::vector<std::string> below_main = Texts(WindowKey(main_));
  ASSERT_EQ(below_main.size(), 5u);
  EXPECT_EQ(below_main[0],
            inspector::HandleText(edit_).substr(0, 10) + " Edit \"typed\"");
  EXPECT_EQ(below_main[4].substr(11), "#32770 \"Dialog\"");
  EXPECT_TRUE(Item(main_).expandable);
  EXPECT_FALSE(Item(edit_).expandable);
  for (WindowHandle w : {disabled_, hidden_, empty_}) EXPECT_TRUE(Item(w).dimmed) << w;
  for (WindowHandle w : {main_, edit_, dialog_}) EXPECT_FALSE(Item(w).dimmed) << w;
}

TEST_F(WindowsWindowTest, OpeningReadsOnlyTheTopLevelList) {
  form_.ChooseSystemMenuItem("&Windows...\tF2");
  EXPECT_TRUE(view_.Visible());
  EXPECT_EQ(counted_.calls["TopLevelWindows"], 1);
  EXPECT_EQ(counted_.calls["Facts"], 0);
  EXPECT_EQ(counted_.calls["ChildWindows"], 0);
  EXPECT_FALSE(view_.tree().Filled(ProcessKey(kApp)));
  view_.tree().UserExpand(ProcessKey(kApp));
  EXPECT_TRUE(view_.tree().Filled(ProcessKey(kApp)));
  EXPECT_FALSE(view_.tree().Filled(WindowKey(main_)));
}

TEST_F(WindowsWindowTest, FilterMatchesClassTitleHandleAndProcessAsTyped) {
  Open();
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%x", static_cast<unsigned>(disabled_));
  const TreeItemKey app = ProcessKey(kApp), tool = ProcessKey(kTool);
  struct Case {
    std::string filter;
    std::vector<TreeItemKey> shown, hidden;
  };
  for (const Case& c : {Case{"edit", {WindowKey(edit_)}, {tool, WindowKey(disabled_)}},
                        Case{"SECRET", {WindowKey(hidden_)}, {WindowKey(edit_)}},
                        Case{std::to_string(empty_), {WindowKey(empty_)}, {tool}},
                        Case{hex, {WindowKey(disabled_)}, {WindowKey(edit_)}},
                        Case{std::string(8, '0') + (hex + 2), {WindowKey(disabled_)}, {}},
                        Case{"tool.exe", {tool}, {app}}, Case{"", {app, tool}, {}}}) {
    view_.filter().SetText(c.filter);
    for (TreeItemKey k : c.shown) EXPECT_TRUE(view_.tree().Find(k)) << c.filter << k;
    for (TreeItemKey k : c.hidden) EXPECT_FALSE(view_.tree().Find(k)) << c.filter << k;
  }
  const std::string code = window_.CodeText();
  view_.filter().SetText("typed");
  EXPECT_EQ(view_.tree().Selected(), WindowKey(edit_)) << "the first match is selected";
  EXPECT_EQ(window_.CodeText(), code) << "but not picked while the user types";
  view_.tree().UserSelect(WindowKey(edit_));
  view_.filter().SetText("no such window");
  view_.filter().SetText("");
  EXPECT_EQ(view_.tree().Selected(), WindowKey(edit_))
      << "the chosen window stays selected";
}

TEST_F(WindowsWindowTest, RefreshKeepsSelectionAndOpenItemsWhereTheyStillExist) {
  Open();
  view_.tree().UserExpand(WindowKey(dialog_));
  view_.tree().UserSelect(WindowKey(edit_));
  const WindowHandle later = Add(main_, {.class_name = "Later"});
  view_.PressRefresh();
  EXPECT_EQ(view_.tree().Selected(), WindowKey(edit_));
  EXPECT_EQ(view_.tree().ExpandedItems(),
            (std::vector<TreeItemKey>{ProcessKey(kApp), WindowKey(main_)}))
      << "the dialog had nothing to open";
  EXPECT_NE(view_.tree().Find(WindowKey(later)), nullptr);
  desktop_.Destroy(edit_);
  view_.PressRefresh();
  EXPECT_EQ(view_.tree().Selected(), std::nullopt);
  EXPECT_TRUE(view_.details().lines().empty());
}

TEST_F(WindowsWindowTest, SelectingAWindowPicksItAsADropDoes) {
  Open();
  view_.tree().UserSelect(WindowKey(edit_));
  EXPECT_EQ(form_.ModelTextBoxAt(control::kHandleBox).Text(), std::to_string(edit_));
  EXPECT_NE(window_.CodeText().find("\"Edit\""), std::string::npos) << window_.CodeText();
  EXPECT_EQ(form_.ModelTextBoxAt(control::kReportLine1).Text(),
            "Window Handle: " + std::to_string(edit_));
  const model::ModelDetailsList& details = view_.details();
  EXPECT_EQ(details.Value("Class"), "Edit");
  EXPECT_EQ(details.Value("Text"), "typed");
  EXPECT_EQ(details.Value("Process ID"), "100");
  EXPECT_EQ(details.Value("Image path"), "C:\\Apps\\app.exe");
  EXPECT_EQ(details.Value("Parent"), inspector::HandleText(main_) + " AppMain");
  EXPECT_EQ(details.Value("Window rectangle"), "(610, 10) - (700, 40), 90 x 30");
  view_.tree().OpenMenu();
  view_.tree().Choose(WindowsWindow::kCopyHandle);
  EXPECT_EQ(clipboard_.text(), std::to_string(edit_));
  view_.tree().OpenMenu();
  view_.tree().Choose(WindowsWindow::kCopyCode);
  EXPECT_EQ(clipboard_.text(), window_.CodeText());
  view_.details().UserSelect(3);
  view_.details().PressCtrlC();
  EXPECT_EQ(clipboard_.text(), "Text: typed");
  desktop_.SetHung(edit_, true);
  view_.tree().UserSelect(WindowKey(edit_));
  EXPECT_EQ(details.Value("Text"), "(not responding)")
      << "a hung window is not waited for";
  EXPECT_EQ(details.Value("Title"), "typed");
}

TEST_F(WindowsWindowTest, APickUnderThePointerSelectsItsWindowEvenOneMadeSince) {
  desktop_.MoveCursor({620, 20});
  window_.PickWindowAtCursor();
  form_.PressFunctionKey(WindowsWindow::kOpenKey);
  EXPECT_EQ(view_.tree().Selected(), WindowKey(edit_))
      << "opened on the window picked last";
  const WindowHandle late =
      Add(tool_, {.class_name = "Late", .rect = {10, 410, 50, 450}});
  form_.ModelPictureBoxAt(control::kCodeArrow).Press();
  desktop_.MoveCursor({20, 420});
  form_.ModelPictureBoxAt(control::kCodeArrow).Release();
  EXPECT_EQ(view_.tree().Selected(), WindowKey(late));
  EXPECT_EQ(view_.details().Value("Class"), "Late");
  desktop_.MoveCursor({640, 60});
  window_.PickWindowAtCursor();
  EXPECT_EQ(view_.tree().Selected(), WindowKey(disabled_))
      << "disabled buttons are picked";
}

TEST_F(WindowsWindowTest, AFilterReadsInIdleStepsEachWindowOnceAndSaysSo) {
  const WindowHandle big = Add(0, {.class_name = "Big"}, kTool);
  for (int i = 0; i < 2 * WindowsWindow::kStepWindows; ++i)
    Add(big, {.class_name = "Cell"});
  const WindowHandle last = Add(big, {.class_name = "Needle"}, kTool);
  form_.PressFunctionKey(WindowsWindow::kOpenKey);
  view_.filter().SetText("needl");
  ASSERT_TRUE(form_.RunIdleStep()) << "nothing read at the keystroke";
  EXPECT_EQ(view_.status().substr(0, 18), "Reading windows...");
  form_.RunIdle();
  EXPECT_EQ(view_.status(), "2 windows match") << "the needle, and the filter box";
  view_.filter().SetText("needle");
  EXPECT_FALSE(form_.RunIdleStep()) << "all read: the keystroke needs no reading";
  view_.tree().UserSelect(WindowKey(last));
  view_.PressRefresh();
  EXPECT_EQ(view_.status().substr(0, 18), "Reading windows...");
  form_.RunIdle();
  // The big window's children come in pieces.
  constexpr int kPieces = (2 * WindowsWindow::kStepWindows + 1) /
                          static_cast<int>(inspector::DesktopTree::kListPiece);
  EXPECT_EQ(counted_.calls["ChildWindows"] + counted_.calls["ChildWindowsAfter"],
            2 * (static_cast<int>(desktop_.WindowCount()) + kPieces))
      << "each window read once a reading, a piece at a time";
  EXPECT_EQ(view_.tree().Selected(), WindowKey(last)) << "selected again once read";
}

TEST_F(WindowsWindowTest, AWindowGoneSinceTheReadingIsGreyedAndSaidGoneWithoutABox) {
  Open();
  const std::string code = window_.CodeText();
  desktop_.Destroy(edit_);
  view_.tree().UserSelect(WindowKey(edit_));
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_TRUE(Item(edit_).dimmed);
  EXPECT_EQ(view_.details().Value("State"), inspector::kGone);
  EXPECT_EQ(window_.CodeText(), code) << "nothing picked";
}

TEST_F(WindowsWindowTest, SaveAsJsonEndsEveryItemsMenuAndSavesTheCommandLinesTree) {
  Open();
  view_.tree().UserSelect(WindowKey(edit_));  // the report boxes say so before
  inspector::FactsMemo memo(desktop_);
  inspector::DesktopTree tree(memo);
  tree.Reload();
  const std::string written = cli::TreeJson(tree, memo);
  for (const TreeItemKey key : {ProcessKey(kApp), WindowKey(edit_)}) {
    const std::vector<std::string> menu = view_.tree().OpenMenu(key);
    ASSERT_EQ(menu.back(), WindowsWindow::kSaveJsonText) << key;
    view_.tree().Choose(menu.size() - 1);
    EXPECT_EQ(view_.saved(), written) << key;
  }
  desktop_.Destroy(hidden_);
  view_.tree().OpenMenu(WindowKey(hidden_));
  view_.tree().Choose(1);
  EXPECT_NE(view_.saved(), written) << "saved again, the window gone";
}

TEST_F(WindowsWindowTest, ACopyRetriesWhileTheClipboardIsHeldThenSaysItIsBusy) {
  Open();
  view_.tree().UserSelect(WindowKey(edit_));
  clipboard_.Hold(true);
  view_.tree().OpenMenu();
  view_.tree().Choose(WindowsWindow::kCopyHandle);
  for (int tries = 1; tries < WindowsWindow::kCopyTries; ++tries) {
    ASSERT_EQ(view_.later_ms(), WindowsWindow::kCopyRetryMs);
    EXPECT_EQ(view_.status(), "") << "quiet while it retries";
    view_.RunLater();
  }
  EXPECT_EQ(clipboard_.attempts(), WindowsWindow::kCopyTries);
  EXPECT_EQ(view_.later_ms(), std::nullopt) << "given up";
  EXPECT_EQ(view_.status(), WindowsWindow::kClipboardBusy);
  view_.tree().OpenMenu();
  view_.tree().Choose(WindowsWindow::kCopyHandle);
  clipboard_.Hold(false);
  view_.RunLater();
  EXPECT_EQ(clipboard_.text(), std::to_string(edit_));
  EXPECT_EQ(view_.status(), "");
}

// The tree's menu acts on the window it opened on: the operations on any
// window, then the actions that fit its class.
TEST_F(WindowsWindowTest, TheTreesMenuActsOnTheWindowItOpenedOn) {
  Open();
  const std::vector<std::string> menu = view_.tree().OpenMenu(WindowKey(edit_));
  const std::vector<std::string> actions(
      menu.begin() + WindowsWindow::kFirstOperation + 5, menu.end() - 1);
  EXPECT_EQ(actions,
            (std::vector<std::string>{"Set its text", "Read its text", "Close it"}));
  auto choose = [&](WindowHandle window, std::string_view item) {
    const std::vector<std::string> shown = view_.tree().OpenMenu(WindowKey(window));
    const auto found = std::ranges::find(shown, item);
    ASSERT_NE(found, shown.end()) << item;
    view_.tree().Choose(found - shown.begin());
  };
  choose(edit_, "Set its text");
  EXPECT_EQ(desktop_.Props(edit_).text, "New text");
  choose(edit_, "Read its text");
  ASSERT_FALSE(messages_.shown().empty());
  EXPECT_EQ(messages_.shown().back().text, "New text");
  choose(edit_, "H&ide");
  EXPECT_FALSE(desktop_.Facts(edit_)->visible);
  choose(edit_, "&Disable");
  EXPECT_FALSE(desktop_.Facts(edit_)->enabled);
  desktop_.SetHung(edit_, true);
  choose(edit_, "&Enable");
  EXPECT_EQ(messages_.shown().back().text, "The window is gone or did not answer.");
  EXPECT_EQ(window_.CodeText().find("WM_SETTEXT"), std::string::npos)
      << "the code box keeps finding only";
  desktop_.SetHung(edit_, false);

  // A window gone since the reading offers nothing that acts.
  desktop_.Destroy(dialog_);
  EXPECT_EQ(view_.tree().OpenMenu(WindowKey(dialog_)),
            (std::vector<std::string>{"Copy &Handle", WindowsWindow::kSaveJsonText}));
  EXPECT_TRUE(Item(dialog_).dimmed);

  // A filter selects its first match (the filter box itself) without
  // picking it; the menu key's menu is the match's.
  view_.filter().SetText("ToolFrame");
  form_.RunIdle();
  const std::optional<TreeItemKey> match = view_.tree().Selected();
  ASSERT_TRUE(match && match != WindowKey(edit_));
  view_.tree().OpenMenu();
  view_.tree().Choose(WindowsWindow::kCopyCode);
  EXPECT_EQ(std::to_string(*inspector::WindowOfKey(*match)),
            form_.ModelTextBoxAt(control::kHandleBox).Text());
  EXPECT_EQ(clipboard_.text(), window_.CodeText());
}

}  // namespace
}  // namespace winscout::app
