// What the program relies on from the window manager, checked against every
// WindowSystem: the in-memory model natively and real windows under Wine.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/contract/test_desktop.h"

namespace winscout::testing {
namespace {

class WindowSystemContract : public ::testing::Test {
 protected:
  std::unique_ptr<TestDesktop> desktop_ = MakeTestDesktop();
  WindowSystem& windows_ = desktop_->System();

  WindowHandle Top(const std::string& class_name, const std::string& text = {}) {
    return desktop_->AddTopLevel({.class_name = class_name, .text = text});
  }
  WindowHandle Child(WindowHandle parent, const std::string& class_name,
                     std::int32_t id = 0) {
    return desktop_->AddChild(parent, {.class_name = class_name, .id = id});
  }
  // Every window of the class among the children of `parent`, in search order.
  std::vector<WindowHandle> SearchAll(WindowHandle parent, const std::string& cls) {
    std::vector<WindowHandle> found;
    for (WindowHandle w = windows_.FindChild(parent, 0, cls); w != 0;
         w = windows_.FindChild(parent, w, cls)) {
      found.push_back(w);
      if (found.size() > 1000) break;
    }
    return found;
  }
};

TEST_F(WindowSystemContract, TextQueriesKeepOnePlaceForTheTerminator) {
  const WindowHandle w = Top("WsContractText", "Hello");
  struct Case {
    int capacity;
    const char* expected;
  };
  for (const Case& c : {Case{100, "Hello"}, Case{6, "Hello"}, Case{5, "Hell"},
                        Case{2, "H"}, Case{1, ""}, Case{0, ""}}) {
    EXPECT_EQ(windows_.WindowText(w, c.capacity), c.expected)
        << "capacity " << c.capacity;
  }
  EXPECT_EQ(windows_.ClassName(w, 100), "WsContractText");
  EXPECT_EQ(windows_.ClassName(w, 5), "WsCo");
}

TEST_F(WindowSystemContract, LongTextsArriveCut) {
  const std::string text(150, 'w');
  const WindowHandle w = Top("WsContractLongText", text);
  EXPECT_EQ(windows_.WindowText(w, 100), std::string(99, 'w'));
  EXPECT_EQ(windows_.WindowText(w, 200), text);
}

TEST_F(WindowSystemContract, ClassNamesOfTheLongestLengthComeBackWhole) {
  const std::string name255 = "WsLong" + std::string(249, 'q');
  const WindowHandle w = Top(name255);
  EXPECT_EQ(windows_.ClassName(w, 257), name255);
  EXPECT_EQ(windows_.ClassName(w, 256), name255);
  EXPECT_EQ(windows_.ClassName(w, 255), name255.substr(0, 254));
  if (desktop_->AllowsClassNamesOver255()) {
    const std::string name256 = name255 + "r";
    EXPECT_EQ(windows_.ClassName(Top(name256), 257), name256);
  }
}

TEST_F(WindowSystemContract, NoWindowGivesZeroAndEmptyAnswers) {
  const WindowHandle parent = Top("WsContractGone", "text");
  const WindowHandle gone = Child(parent, "WsContractGoneChild", 7);
  desktop_->Destroy(parent);
  for (WindowHandle w : {WindowHandle{0}, parent, gone}) {
    SCOPED_TRACE(w);
    EXPECT_EQ(windows_.ClassName(w, 100), "");
    EXPECT_EQ(windows_.WindowText(w, 100), "");
    EXPECT_EQ(windows_.Parent(w), 0);
    EXPECT_EQ(windows_.ControlId(w), 0);
  }
  EXPECT_EQ(windows_.FindChild(parent, 0, "WsContractGoneChild"), 0);
  EXPECT_EQ(windows_.FindTopLevel("WsContractGone"), 0);
}

TEST_F(WindowSystemContract, ParentIsTheParentOrThePopupsOwner) {
  const WindowHandle main = Top("WsContractMain");
  const WindowHandle child = Child(main, "WsContractChild");
  const WindowHandle grandchild = Child(child, "WsContractChild");
  const WindowHandle dialog =
      desktop_->AddOwned(main, {.class_name = "WsContractDialog"}, true);
  const WindowHandle owned =
      desktop_->AddOwned(main, {.class_name = "WsContractOwned"}, false);
  EXPECT_EQ(windows_.Parent(main), 0);
  EXPECT_EQ(windows_.Parent(child), main);
  EXPECT_EQ(windows_.Parent(grandchild), child);
  EXPECT_EQ(windows_.Parent(dialog), main);
  EXPECT_EQ(windows_.Parent(owned), 0);
  // Owned windows are top-level windows: not among the owner's children.
  EXPECT_EQ(windows_.FindChild(main, 0, "WsContractDialog"), 0);
  EXPECT_EQ(windows_.FindTopLevel("WsContractDialog"), dialog);
}

TEST_F(WindowSystemContract, ChildSearchesGoInCreationOrderAndSkipOtherClasses) {
  const WindowHandle main = Top("WsContractSiblings");
  std::vector<WindowHandle> edits;
  for (int i = 0; i < 5; ++i) {
    Child(main, "WsContractButton");
    edits.push_back(Child(main, "WsContractEdit"));
  }
  const WindowHandle nested = Child(edits[0], "WsContractEdit");
  EXPECT_EQ(SearchAll(main, "WsContractEdit"), edits);
  EXPECT_EQ(SearchAll(edits[0], "WsContractEdit"), std::vector<WindowHandle>{nested});
  // A window that is not a child of the parent cannot be searched after.
  EXPECT_EQ(windows_.FindChild(main, nested, "WsContractEdit"), 0);
  EXPECT_EQ(windows_.FindChild(main, 0, "WsContractNoSuchClass"), 0);
}

TEST_F(WindowSystemContract, ClassNamesCompareWithoutRegardToCase) {
  const WindowHandle main = Top("WsContractMixedCase");
  const WindowHandle child = Child(main, "WsContractChildCase");
  EXPECT_EQ(windows_.FindTopLevel("wscontractmixedcase"), main);
  EXPECT_EQ(windows_.FindTopLevel("WSCONTRACTMIXEDCASE"), main);
  EXPECT_EQ(windows_.FindChild(main, 0, "WSCONTRACTCHILDCASE"), child);
  const WindowHandle accents = Child(main, "WsContract\u00e9t\u00e9");
  EXPECT_EQ(windows_.FindChild(main, 0, "WsContract\u00c9t\u00c9"), accents);
  EXPECT_EQ(windows_.ClassName(main, 100), "WsContractMixedCase");
}

TEST_F(WindowSystemContract, TopLevelSearchesReachEveryWindowOfTheClassOnce) {
  const WindowHandle first = Top("WsContractTwice", "first");
  const WindowHandle second = Top("WsContractTwice", "second");
  const std::vector<WindowHandle> found = SearchAll(0, "WsContractTwice");
  ASSERT_EQ(found.size(), 2u) << desktop_->Describe();
  EXPECT_EQ(found.front(), windows_.FindTopLevel("WsContractTwice"));
  EXPECT_NE(found[0], found[1]);
  for (WindowHandle w : found) EXPECT_TRUE(w == first || w == second);
}

TEST_F(WindowSystemContract, ControlIdIsTheFullValue) {
  const WindowHandle main = Top("WsContractIds");
  for (std::int32_t id : {1, 40000, 65535, 70000, 0x7fffffff}) {
    EXPECT_EQ(windows_.ControlId(Child(main, "WsContractId", id)), id);
  }
}

TEST_F(WindowSystemContract, ModulePathIsTheMakingProgram) {
  const WindowHandle main = Top("WsContractModule");
  EXPECT_EQ(windows_.ModulePath(main), desktop_->OwnModulePath());
  EXPECT_EQ(windows_.ModulePath(Child(main, "WsContractModuleChild")),
            desktop_->OwnModulePath());
}

TEST_F(WindowSystemContract, CursorGoesWhereItIsMoved) {
  for (ScreenPoint p : {ScreenPoint{10, 20}, ScreenPoint{300, 200}}) {
    desktop_->MoveCursor(p);
    EXPECT_EQ(windows_.CursorPos(), p);
  }
}

TEST_F(WindowSystemContract, WindowAtFindsTheDeepestVisibleWindow) {
  const WindowHandle main = desktop_->AddTopLevel(
      {.class_name = "WsContractHit", .rect = {100, 100, 400, 300}, .visible = true});
  const WindowHandle panel = desktop_->AddChild(
      main,
      {.class_name = "WsContractPanel", .rect = {120, 120, 300, 280}, .visible = true});
  const WindowHandle button = desktop_->AddChild(
      panel,
      {.class_name = "WsContractBtn", .rect = {130, 130, 200, 160}, .visible = true});
  desktop_->AddChild(panel,
                     {.class_name = "WsContractHidden", .rect = {210, 130, 290, 160}});
  // A group box comes before the controls inside it, as in a dialog; the
  // user points at the controls.
  constexpr std::uint32_t kGroupBox = 0x7;
  const WindowHandle group = desktop_->AddChild(panel, {.class_name = "Button",
                                                        .rect = {128, 190, 270, 240},
                                                        .visible = true,
                                                        .style = kGroupBox});
  // Disabled children are hit, and so are the children inside them.
  const WindowHandle disabled =
      desktop_->AddChild(panel, {.class_name = "WsContractDisabled",
                                 .rect = {130, 200, 200, 230},
                                 .visible = true,
                                 .enabled = false});
  const WindowHandle in_disabled =
      desktop_->AddChild(disabled, {.class_name = "WsContractInDisabled",
                                    .rect = {180, 205, 195, 225},
                                    .visible = true});
  // The smaller of two siblings takes the point, above the other or below.
  desktop_->AddChild(
      panel,
      {.class_name = "WsContractUnder", .rect = {130, 200, 260, 230}, .visible = true});
  const WindowHandle small = desktop_->AddChild(
      panel,
      {.class_name = "WsContractSmall", .rect = {230, 205, 250, 225}, .visible = true});
  desktop_->MakeTopmost(main);
  struct Case {
    ScreenPoint point;
    WindowHandle expected;
  };
  for (const Case& c :
       {Case{{140, 140}, button}, Case{{250, 140}, panel}, Case{{125, 270}, panel},
        Case{{150, 210}, disabled}, Case{{185, 210}, in_disabled}, Case{{350, 150}, main},
        Case{{399, 299}, main}, Case{{265, 195}, group}, Case{{240, 215}, small}}) {
    EXPECT_EQ(windows_.WindowAt(c.point), c.expected)
        << "at (" << c.point.x << ", " << c.point.y << ")\n"
        << desktop_->Describe();
  }
}

TEST_F(WindowSystemContract, WindowListsGoInSearchOrderWithOwnersAndProcesses) {
  const WindowHandle main = Top("WsContractList");
  const WindowHandle other = Top("WsContractList");
  const WindowHandle dialog =
      desktop_->AddOwned(main, {.class_name = "WsContractList"}, true);
  std::vector<WindowHandle> children;
  for (int i = 0; i < 4; ++i) children.push_back(Child(main, "WsContractListChild", i));
  Child(children[0], "WsContractListChild");
  EXPECT_EQ(windows_.ChildWindows(main), children) << "direct children only";
  EXPECT_EQ(windows_.ChildWindows(other), std::vector<WindowHandle>{});
  // In pieces: the same lists, and a gone window to go on from starts again.
  EXPECT_EQ(windows_.ChildWindowsAfter(main, children[1], 5),
            (std::vector<WindowHandle>{children[2], children[3]}));
  EXPECT_EQ(windows_.ChildWindowsAfter(main, other, 2),
            (std::vector<WindowHandle>{children[0], children[1]}));
  // Every top-level window, other programs' too, as a search finds them, each
  // with the process its facts name.
  std::vector<WindowHandle> all;
  for (const TopLevelWindow& top : windows_.TopLevelWindows()) {
    all.push_back(top.window);
    const std::optional<WindowFacts> facts = windows_.Facts(top.window);
    EXPECT_EQ(top.process_id, facts ? facts->process_id : 0) << top.window;
  }
  EXPECT_EQ(all, SearchAll(0, ""));

  std::vector<WindowHandle> listed;
  for (const TopLevelWindow& top : windows_.TopLevelWindows()) {
    if (top.window != main && top.window != other && top.window != dialog) continue;
    listed.push_back(top.window);
    EXPECT_EQ(top.process_id, desktop_->OwnProcessId()) << top.window;
  }
  EXPECT_EQ(listed, SearchAll(0, "WsContractList")) << desktop_->Describe();
  EXPECT_EQ(windows_.OwnProcessId(), desktop_->OwnProcessId());
  EXPECT_EQ(windows_.Facts(dialog)->owner, main);
  EXPECT_EQ(windows_.Facts(other)->owner, 0);
}

TEST_F(WindowSystemContract, FactsDescribeStylesRectanglesStatesAndProcess) {
  const WindowHandle main = desktop_->AddTopLevel({.class_name = "WsContractFacts\u03a9",
                                                   .text = "Facts",
                                                   .rect = {100, 100, 400, 300},
                                                   .visible = true});
  const WindowHandle button =
      desktop_->AddChild(main, {.class_name = "WsContractFactsBtn",
                                .rect = {110, 120, 210, 150},
                                .visible = true,
                                .enabled = false});
  const WindowHandle hidden = desktop_->AddChild(
      main, {.class_name = "WsContractFactsHidden", .rect = {110, 160, 210, 190}});
  const WindowHandle in_hidden = desktop_->AddChild(
      hidden,
      {.class_name = "WsContractFactsIn", .rect = {120, 165, 130, 175}, .visible = true});
  desktop_->MakeTopmost(main);
  constexpr std::uint32_t kChild = 0x40000000, kVisible = 0x10000000,
                          kDisabled = 0x08000000, kTopmost = 0x8;

  const std::optional<WindowFacts> top = windows_.Facts(main);
  ASSERT_TRUE(top.has_value());
  EXPECT_EQ(top->class_name, "WsContractFacts\u03a9");
  EXPECT_EQ(top->title, "Facts");
  EXPECT_EQ(top->window_rect, (PixelRect{100, 100, 400, 300}));
  EXPECT_EQ(top->client_rect, (PixelRect{100, 100, 400, 300}));
  EXPECT_EQ(top->style & (kChild | kVisible | kDisabled), kVisible);
  EXPECT_EQ(top->ex_style & kTopmost, kTopmost);
  EXPECT_EQ(top->parent, 0);
  EXPECT_EQ(top->process_id, desktop_->OwnProcessId());
  EXPECT_EQ(top->thread_id, desktop_->OwnThreadId());
  EXPECT_TRUE(top->visible && top->enabled);

  const std::optional<WindowFacts> disabled = windows_.Facts(button);
  ASSERT_TRUE(disabled.has_value());
  EXPECT_EQ(disabled->window_rect, (PixelRect{110, 120, 210, 150}));
  EXPECT_EQ(disabled->style & (kChild | kVisible | kDisabled),
            kChild | kVisible | kDisabled);
  EXPECT_EQ(disabled->parent, main);
  EXPECT_TRUE(disabled->visible);
  EXPECT_FALSE(disabled->enabled);

  EXPECT_FALSE(windows_.Facts(hidden)->visible);
  const std::optional<WindowFacts> inside = windows_.Facts(in_hidden);
  EXPECT_EQ(inside->style & kVisible, kVisible);
  EXPECT_FALSE(inside->visible) << "a shown window inside a hidden one is not visible";

  desktop_->Destroy(main);
  EXPECT_FALSE(windows_.Facts(main).has_value());
  EXPECT_FALSE(windows_.Facts(button).has_value());
  EXPECT_FALSE(windows_.Facts(0).has_value());
}

TEST_F(WindowSystemContract, ProcessImageAndLiveTextComeFromTheWindowsOwnProcess) {
  EXPECT_EQ(windows_.ProcessImagePath(desktop_->OwnProcessId()),
            desktop_->OwnModulePath());
  const std::string text(150, 't');
  const WindowHandle main = Top("WsContractLive", text);
  EXPECT_EQ(windows_.LiveText(main, 200), text) << "not cut to any capacity";
  EXPECT_FALSE(ReachesTextLimit(text));
  const std::string longest(kMostTextUnits, 'l');
  const WindowHandle long_text = Top("WsContractLong", longest + "and more");
  EXPECT_EQ(windows_.LiveText(long_text, 1000), longest) << "cut at the limit";
  EXPECT_TRUE(ReachesTextLimit(longest));
  desktop_->Destroy(main);
  EXPECT_EQ(windows_.LiveText(main, 200), "") << "no window answers with no text";
  constexpr WindowHandle kEveryTopLevelWindow = 0xFFFF;  // HWND_BROADCAST
  EXPECT_EQ(windows_.LiveText(kEveryTopLevelWindow, 200), "");
  // Many at once, in their order, as one at a time; a window of this thread
  // answers while it waits for them.
  const WindowHandle other = Top("WsContractLiveToo", "too");
  EXPECT_EQ(windows_.LiveTexts({other, main, 0, other}, 1000),
            (std::vector<std::optional<std::string>>{"too", "", "", "too"}));
}

// Classes registered with their Unicode names, beyond any ANSI code page,
// at the top level and as a child of a Latin-1 parent.
TEST_F(WindowSystemContract, UnicodeClassNamesComeBackAndAreFoundAsRegistered) {
  const WindowHandle parent = Top("WsLatinÀParent");
  for (const std::string name : {"ОкноКласс", "窗口类", "Emoji😀Class", "MixedАБВ"}) {
    SCOPED_TRACE(name);
    const WindowHandle top = Top(name);
    const WindowHandle child = Child(parent, name);
    EXPECT_EQ(windows_.ClassName(top, 257), name);
    EXPECT_EQ(windows_.ClassName(child, 257), name);
    EXPECT_EQ(windows_.FindTopLevel(name), top);
    EXPECT_EQ(windows_.FindChild(parent, 0, name), child);
    EXPECT_FALSE(windows_.AnsiCodePageHolds(name));
  }
}

// Capacities count UTF-16 units; a cut inside a surrogate pair drops the
// half, so that a text always ends at a whole character.
TEST_F(WindowSystemContract, CapacitiesCountUtf16UnitsAndCutAtWholeCharacters) {
  const WindowHandle w = Top("Emoji😀Class", "Окно😀");
  struct Case {
    int capacity;
    const char* class_name;
    const char* text;
  };
  for (const Case& c : {Case{5, "Emoj", "Окно"}, Case{6, "Emoji", "Окно"},
                        Case{7, "Emoji", "Окно😀"}, Case{8, "Emoji😀", "Окно😀"}}) {
    EXPECT_EQ(windows_.ClassName(w, c.capacity), c.class_name) << c.capacity;
    EXPECT_EQ(windows_.WindowText(w, c.capacity), c.text) << c.capacity;
  }
}

TEST_F(WindowSystemContract, TheAnsiCodePageHoldsLatinOneAndItsOwnQuotes) {
  for (const char* held : {"Edit", "Ünïcode", "a“b”", "€‚"}) {
    EXPECT_TRUE(windows_.AnsiCodePageHolds(held)) << held;
  }
  for (const char* lost : {"ОкноКласс", "＂", "Āb", "😀"}) {
    EXPECT_FALSE(windows_.AnsiCodePageHolds(lost)) << lost;
  }
}

TEST_F(WindowSystemContract, NoWindowIsMadeWithoutAClassName) { EXPECT_EQ(Top(""), 0); }

TEST_F(WindowSystemContract, AChildGivenAsOwnerStandsForItsTopLevelWindow) {
  const WindowHandle top = Top("WsContractOwnerTop");
  const WindowHandle child = Child(Child(top, "WsContractOwnerPane"), "Button");
  const WindowHandle owned =
      desktop_->AddOwned(child, {.class_name = "WsContractOwned"}, /*popup=*/true);
  EXPECT_EQ(windows_.Parent(owned), top) << desktop_->Describe();
}

TEST_F(WindowSystemContract, ChildrenOfClassAreWhatSuccessiveSearchesFind) {
  const WindowHandle top = Top("WsContractEnumTop");
  for (const char* name : {"Edit", "Button", "edit", "Static", "EDIT", "Edit"}) {
    Child(top, name);
  }
  Top("WsContractEnumTop");
  for (const auto& [parent, name] : {std::pair{top, "Edit"},
                                     {top, "Static"},
                                     {top, "ListBox"},
                                     {WindowHandle{0}, "WsContractEnumTop"}}) {
    EXPECT_EQ(windows_.ChildrenOfClass(parent, name), SearchAll(parent, name)) << name;
  }
  // Through a window: the searches up to it; through one of another class, up
  // to where it stands.
  const std::vector<WindowHandle> edits = SearchAll(top, "Edit");
  EXPECT_EQ(windows_.ChildrenOfClass(top, "Edit", edits[1]),
            std::vector<WindowHandle>(edits.begin(), edits.begin() + 2));
  EXPECT_EQ(windows_.ChildrenOfClass(top, "Edit", windows_.FindChild(top, 0, "Static")),
            std::vector<WindowHandle>(edits.begin(), edits.begin() + 2));
}

// As FindWindowEx with no class: every child in order, and every top-level
// window in the order the list of them gives.
TEST_F(WindowSystemContract, AnEmptyClassNameSearchesEveryClass) {
  const WindowHandle top = Top("WsContractAnyClass");
  for (const char* name : {"Edit", "Button", "Static", "Button"}) Child(top, name);
  EXPECT_EQ(SearchAll(top, ""), windows_.ChildWindows(top));
  const WindowHandle ok = desktop_->AddChild(top, {.class_name = "Static", .text = "OK"});
  EXPECT_EQ(windows_.FindChildWithTitle(top, 0, "", "ok"), ok);
  EXPECT_EQ(windows_.FindChildWithTitle(top, ok, "", "OK"), 0);
  const std::vector<TopLevelWindow> tops = windows_.TopLevelWindows();
  ASSERT_GE(tops.size(), 1u);
  const WindowHandle first = windows_.FindChild(0, 0, "");
  EXPECT_EQ(first, tops[0].window);
  if (tops.size() > 1) {
    EXPECT_EQ(windows_.FindChild(0, first, ""), tops[1].window);
  }
}

TEST_F(WindowSystemContract, TheDesktopWindowIsTheRootOfEveryTopLevelWindow) {
  const WindowHandle desktop = windows_.DesktopWindow();
  EXPECT_NE(desktop, 0);
  EXPECT_EQ(windows_.ClassName(desktop, 257), "#32769");
  EXPECT_EQ(windows_.Parent(desktop), 0);
  EXPECT_NE(desktop, Top("WsContractNotDesktop"));
}

TEST_F(WindowSystemContract, TitleSearchesTakeTheClassAndTheTitle) {
  const WindowHandle top = Top("WsContractTitles");
  auto child = [&](const char* class_name, const char* text, std::int32_t id) {
    return desktop_->AddChild(top, {.class_name = class_name, .text = text, .id = id});
  };
  const WindowHandle ok = child("Button", "OK", 5);
  child("Static", "OK", 7);
  const WindowHandle lower = child("Button", "ok", 5);
  child("Button", "Cancel", 9);
  // The system's upcase table folds letters beyond ASCII too.
  const WindowHandle accents = child("Button", "\u00e9t\u00e9", 3);
  EXPECT_EQ(windows_.FindChildWithTitle(top, 0, "Button", "\u00c9T\u00c9"), accents);
  EXPECT_EQ(windows_.FindChildWithTitle(top, 0, "Button", "OK"), ok);
  EXPECT_EQ(windows_.FindChildWithTitle(top, ok, "Button", "OK"), lower);
  EXPECT_EQ(windows_.FindChildWithTitle(top, lower, "Button", "OK"), 0);
  EXPECT_EQ(windows_.FindChildWithTitle(top, 0, "Button", "Help"), 0);
  const WindowHandle titled = Top("WsContractTitles", "Second one");
  EXPECT_EQ(windows_.FindChildWithTitle(0, 0, "WsContractTitles", "second ONE"), titled);
  EXPECT_EQ(windows_.DialogItem(top, 5), ok);
  EXPECT_EQ(windows_.DialogItem(top, 8), 0);
  EXPECT_EQ(windows_.DialogItem(0, 5), 0);
}

// The operations, as standard controls answer them to another program.
TEST_F(WindowSystemContract, TextsAreSetAndReadBackWhole) {
  const WindowHandle main = Top("WsContractSetText");
  for (const std::string& text :
       {std::string("\"'`\u201c\u201d\uff02 \u03a9\U0001f600 \\ $x {0}"),
        std::string(100000, 'x'), std::string()}) {
    EXPECT_TRUE(windows_.SetLiveText(main, text, 1000));
    EXPECT_EQ(windows_.LiveText(main, 1000), text);
  }
  desktop_->Destroy(main);
  EXPECT_FALSE(windows_.SetLiveText(main, "gone", 200));
}

TEST_F(WindowSystemContract, ClicksArePostedAndTheParentHearsThem) {
  constexpr std::uint32_t kAutoCheckBox = 0x3, kAutoRadio = 0x9, kPush = 0x0;
  const WindowHandle main = Top("WsContractClicks");
  struct Case {
    std::uint32_t style;
    std::int32_t id;
    bool checked_after;
  };
  for (const Case& c : {Case{kPush, 11, false}, Case{kAutoCheckBox, 12, true},
                        Case{kAutoRadio, 13, true}}) {
    const WindowHandle button = desktop_->AddChild(main, {.class_name = "Button",
                                                          .rect = {0, 0, 40, 20},
                                                          .id = c.id,
                                                          .visible = true,
                                                          .style = c.style});
    EXPECT_EQ(windows_.ButtonChecked(button, 1000), false);
    EXPECT_TRUE(windows_.PostClick(button));
    desktop_->Pump();
    EXPECT_EQ(windows_.ButtonChecked(button, 1000), c.checked_after) << c.id;
    EXPECT_EQ(desktop_->CommandsTo(main).back(), (TestCommand{c.id, 0, button}))
        << desktop_->Describe();
  }
  EXPECT_EQ(desktop_->CommandsTo(main).size(), 3u) << "one notification a click";
}

// As "Try it" repeats a logged command or a menu item's: posted or sent, and
// handled as the window's own.
TEST_F(WindowSystemContract, MessagesArePostedAndSentAsGiven) {
  constexpr std::uint32_t kCommand = 0x0111;
  const WindowHandle main = Top("WsContractDeliver");
  const WindowHandle button = desktop_->AddChild(
      main, {.class_name = "Button", .rect = {0, 0, 40, 20}, .id = 31, .visible = true});
  EXPECT_TRUE(windows_.DeliverMessage(main, kCommand, 40001, 0, true, 1000));
  desktop_->Pump();
  EXPECT_TRUE(windows_.DeliverMessage(main, kCommand, (5u << 16) | 31,
                                      static_cast<std::int64_t>(button), false, 1000));
  EXPECT_EQ(desktop_->CommandsTo(main),
            (std::vector<TestCommand>{{40001, 0, 0}, {31, 5, button}}))
      << desktop_->Describe();
  desktop_->Destroy(main);
  EXPECT_FALSE(windows_.DeliverMessage(main, kCommand, 1, 0, true, 200));
  EXPECT_FALSE(windows_.DeliverMessage(main, kCommand, 1, 0, false, 200));
}

TEST_F(WindowSystemContract, ItemsAreChosenByTheirStartAndTheParentIsTold) {
  constexpr std::uint32_t kDropDownList = 0x3;
  const ItemRows items = {{"Alpha"}, {"Beta \u03a9"}, {"beta two"}};
  struct Case {
    const char* class_name;
    ItemList list;
    SelectionList selection;
    std::uint32_t style;
  };
  std::int32_t id = 20;
  for (const Case& c :
       {Case{"ComboBox", ItemList::kComboBox, SelectionList::kComboBox, kDropDownList},
        Case{"ListBox", ItemList::kListBox, SelectionList::kListBox, 0}}) {
    const WindowHandle main = Top("WsContractChoose");
    const WindowHandle box = desktop_->AddChild(main, {.class_name = c.class_name,
                                                       .rect = {0, 0, 80, 80},
                                                       .id = ++id,
                                                       .style = c.style});
    desktop_->FillItems(box, c.list, items);
    EXPECT_EQ(windows_.Items(box, c.list, 1000), items) << c.class_name;
    EXPECT_EQ(windows_.SelectedIndex(box, c.selection, 1000), -1) << c.class_name;
    EXPECT_FALSE(windows_.ChooseItem(box, c.list, "Gamma", 1000));
    EXPECT_EQ(desktop_->CommandsTo(main).size(), 0u) << "no choice, no notification";
    EXPECT_TRUE(windows_.ChooseItem(box, c.list, "BETA", 1000));
    EXPECT_EQ(desktop_->CommandsTo(main), (std::vector<TestCommand>{{id, 1, box}}))
        << c.class_name;
    EXPECT_EQ(windows_.SelectedIndex(box, c.selection, 1000), 1) << c.class_name;
    desktop_->Destroy(box);
    EXPECT_EQ(windows_.SelectedIndex(box, c.selection, 200), std::nullopt);
    EXPECT_FALSE(windows_.Items(box, c.list, 200).has_value());
  }
}

TEST_F(WindowSystemContract, ListAndTreeViewItemsAreReadWhole) {
  constexpr std::uint32_t kReport = 0x1;
  const WindowHandle main = Top("WsContractViews");
  const WindowHandle list = desktop_->AddChild(
      main, {.class_name = "SysListView32", .rect = {0, 0, 200, 100}, .style = kReport});
  const ItemRows rows = {
      {"one", "1 \u03a9"}, {std::string(3000, 'w'), ""}, {"three", "3"}};
  desktop_->FillItems(list, ItemList::kListView, rows);
  EXPECT_EQ(windows_.Items(list, ItemList::kListView, 1000), rows);

  const WindowHandle tree =
      desktop_->AddChild(main, {.class_name = "SysTreeView32", .rect = {0, 0, 200, 100}});
  desktop_->FillItems(tree, ItemList::kTreeView,
                      {{"Root"},
                       {"Root/Leaf \u03a9"},
                       {"Root/Leaf \u03a9/Deep"},
                       {"Root/Second"},
                       {"Other"}});
  EXPECT_EQ(windows_.Items(tree, ItemList::kTreeView, 1000),
            (ItemRows{{"Root"}, {"Leaf \u03a9"}, {"Deep"}, {"Second"}, {"Other"}}));

  // Selected by the whole text, the parent told by the control.
  constexpr int kRowSelected = -101, kTreeSelectionChanged = -451;
  EXPECT_FALSE(windows_.SelectItem(list, ItemList::kListView, "thre", 1000));
  EXPECT_FALSE(windows_.SelectItem(tree, ItemList::kTreeView, "Dee", 1000));
  EXPECT_EQ(desktop_->CommandsTo(main).size(), 0u) << "no selection, no notification";
  EXPECT_TRUE(windows_.SelectItem(list, ItemList::kListView, "three", 1000));
  EXPECT_TRUE(windows_.SelectItem(tree, ItemList::kTreeView, "Deep", 1000));
  EXPECT_EQ(desktop_->CommandsTo(main),
            (std::vector<TestCommand>{{0, kRowSelected, list},
                                      {0, kTreeSelectionChanged, tree}}));
  // Its place, as Items gives the items: the tree's below its parents.
  EXPECT_EQ(windows_.SelectedIndex(list, SelectionList::kListView, 1000), 2);
  EXPECT_EQ(windows_.SelectedIndex(tree, SelectionList::kTreeView, 1000), 2);
  EXPECT_FALSE(windows_.SelectItem(main, ItemList::kListView, "three", 1000));
}

// Pieces of two, as the whole: a tree's cross from a deep item to its
// parent's sibling.
TEST_F(WindowSystemContract, ItemsComeAPieceAtATimeAsWhole) {
  const WindowHandle main = Top("WsContractPieces");
  for (const auto& [class_name, list, filled] :
       {std::tuple{"SysListView32", ItemList::kListView,
                   ItemRows{{"a", "1"}, {"b", "2"}, {"c", "3"}}},
        std::tuple{"SysTreeView32", ItemList::kTreeView,
                   ItemRows{{"R"}, {"R/A"}, {"R/A/D"}, {"R/B"}, {"O"}}}}) {
    const WindowHandle box = desktop_->AddChild(
        main, {.class_name = class_name, .rect = {0, 0, 200, 100}, .style = 0x1});
    desktop_->FillItems(box, list, filled);
    ItemRows read;
    std::uint64_t from = 0;
    do {
      const std::optional<ItemPiece> piece = windows_.ItemsFrom(box, list, from, 2, 1000);
      ASSERT_TRUE(piece && piece->rows.size() <= 2 && piece->total == filled.size());
      read.insert(read.end(), piece->rows.begin(), piece->rows.end());
      from = piece->next;
    } while (from != 0 && read.size() <= filled.size());
    EXPECT_EQ(read.size(), filled.size()) << class_name;
    EXPECT_EQ(read, windows_.Items(box, list, 1000)) << class_name;
    desktop_->Destroy(box);
    EXPECT_FALSE(windows_.ItemsFrom(box, list, 0, 2, 200)) << class_name;
  }
}

TEST_F(WindowSystemContract, WindowsAreShownEnabledRaisedAndClosed) {
  const WindowHandle back = desktop_->AddTopLevel(
      {.class_name = "WsContractBack", .rect = {0, 0, 50, 50}, .visible = true});
  const WindowHandle front = desktop_->AddTopLevel(
      {.class_name = "WsContractFront", .rect = {0, 0, 50, 50}, .visible = true});
  auto order = [&](WindowHandle w) {
    const auto all = windows_.TopLevelWindows();
    return std::ranges::find(all, w, &TopLevelWindow::window) - all.begin();
  };
  ASSERT_LT(order(front), order(back));
  EXPECT_TRUE(windows_.BringToFront(back));
  EXPECT_LT(order(back), order(front)) << desktop_->Describe();
  constexpr std::uint32_t kMinimized = 0x20000000;  // WS_MINIMIZE
  const WindowHandle minimized = desktop_->AddTopLevel({.class_name = "WsContractMin",
                                                        .rect = {0, 0, 50, 50},
                                                        .visible = true,
                                                        .style = kMinimized});
  ASSERT_EQ(windows_.Facts(minimized)->style & kMinimized, kMinimized);
  EXPECT_TRUE(windows_.BringToFront(minimized));
  desktop_->Pump();
  EXPECT_EQ(windows_.Facts(minimized)->style & kMinimized, 0u) << "restored first";

  EXPECT_TRUE(windows_.SetWindowEnabled(front, false));
  EXPECT_FALSE(windows_.Facts(front)->enabled);
  EXPECT_TRUE(windows_.SetWindowEnabled(front, true));
  EXPECT_TRUE(windows_.Facts(front)->enabled);
  EXPECT_TRUE(windows_.SetWindowShown(front, false));
  desktop_->Pump();
  EXPECT_FALSE(windows_.Facts(front)->visible);
  EXPECT_TRUE(windows_.SetWindowShown(front, true));
  desktop_->Pump();
  EXPECT_TRUE(windows_.Facts(front)->visible);

  EXPECT_TRUE(windows_.PostClose(front));
  desktop_->Pump();
  EXPECT_FALSE(windows_.Facts(front).has_value()) << "closed and destroyed";
  EXPECT_FALSE(windows_.PostClose(front));
  EXPECT_FALSE(windows_.PostClick(front));
  EXPECT_FALSE(windows_.ButtonChecked(front, 200).has_value());
  EXPECT_FALSE(windows_.SetWindowShown(front, true));
  EXPECT_FALSE(windows_.SetWindowEnabled(front, true));
  EXPECT_FALSE(windows_.BringToFront(front));
  EXPECT_FALSE(windows_.ChooseItem(front, ItemList::kComboBox, "x", 200));
}

}  // namespace
}  // namespace winscout::testing
