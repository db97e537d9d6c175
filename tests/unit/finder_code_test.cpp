#include "codegen/finder_code.h"

#include <gtest/gtest.h>

#include <string>

#include "codegen/finder_language.h"
#include "codegen/python_emitter.h"
#include "codegen/stable_names.h"
#include "codegen/statements.h"
#include "codegen/var_name.h"
#include "codegen/visual_basic.h"
#include "platform/model/window_tree.h"
#include "tests/support/crlf_lines.h"
#include "tests/support/forwarding_windows.h"

namespace winscout::codegen {
namespace {

using model::WindowSpec;
using model::WindowTree;

using testing::CrLfLines;

WindowSpec Class(std::string name) { return {.class_name = std::move(name)}; }

std::string CodeFor(std::string_view handle_text, const WindowSystem& windows) {
  const FinderResult result = GenerateFinderCode(handle_text, windows);
  const auto* code = std::get_if<FinderCode>(&result);
  return code ? code->text : "<no code for " + std::string(handle_text) + ">";
}

std::string CodeFor(WindowHandle target, const WindowSystem& windows) {
  return CodeFor(std::to_string(target), windows);
}

std::size_t CountLines(const std::string& text, std::string_view piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos;
       at = text.find(piece, at + 1)) {
    ++count;
  }
  return count;
}

struct ValidationCase {
  std::string handle_text;  // "{h}" stands for the handle of a real window
  std::variant<NoFinderOutput, FinderCode, FinderMessage> expected;
};

class FinderValidationTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(FinderValidationTest, AnswersEveryHandleText) {
  WindowTree tree;
  const WindowHandle edit = tree.AddTopLevel(Class("Edit"));
  std::string text = GetParam().handle_text;
  if (const auto at = text.find("{h}"); at != std::string::npos) {
    text.replace(at, 3, std::to_string(edit));
  }
  const FinderResult result = GenerateFinderCode(text, tree);
  ASSERT_EQ(result.index(), GetParam().expected.index()) << '"' << text << '"';
  if (const auto* message = std::get_if<FinderMessage>(&result)) {
    EXPECT_EQ(message->text, std::get<FinderMessage>(GetParam().expected).text);
  }
  if (const auto* code = std::get_if<FinderCode>(&result)) {
    EXPECT_EQ(code->text, CrLfLines({"Dim Edit As Long",
                                     R"(Edit = FindWindow("Edit", vbNullString))"}));
  }
}

const FinderMessage kNotNumeric{kNotNumericMessage};
const FinderMessage kInvalid{kInvalidHandleMessage};

INSTANTIATE_TEST_SUITE_P(
    HandleTexts, FinderValidationTest,
    ::testing::Values(
        ValidationCase{"", kNotNumeric}, ValidationCase{"  ", kNotNumeric},
        ValidationCase{"handle", kNotNumeric}, ValidationCase{"{h}x", kNotNumeric},
        ValidationCase{"0", NoFinderOutput{}}, ValidationCase{"  0  ", NoFinderOutput{}},
        ValidationCase{"00", kInvalid}, ValidationCase{"0.4", kInvalid},
        ValidationCase{"12", kInvalid}, ValidationCase{"4294967296", kInvalid},
        ValidationCase{"-99999999999999999999", kInvalid},
        ValidationCase{"{h}", FinderCode{}}, ValidationCase{"  {h}  ", FinderCode{}},
        ValidationCase{"{h}.4", FinderCode{}}, ValidationCase{"+{h}", FinderCode{}},
        ValidationCase{"{h}e0", FinderCode{}}));

TEST(FinderCode, TopLevelWindowWithoutOwnerGivesTwoLines) {
  WindowTree tree;
  const WindowHandle target = tree.AddTopLevel(Class("Notepad"));
  EXPECT_EQ(CodeFor(target, tree),
            CrLfLines({"Dim Notepad As Long",
                       R"(Notepad = FindWindow("Notepad", vbNullString))"}));
}

TEST(FinderCode, OwnedDialogAnchorsAtItselfAfterTheRestart) {
  WindowTree tree;
  const WindowHandle owner = tree.AddTopLevel(Class("#32770"));
  const WindowHandle dialog = tree.AddOwned(owner, Class("#32770"));
  const WindowHandle newer = tree.AddTopLevel(Class("#32770"));
  ASSERT_EQ(tree.FindTopLevel("#32770"), newer) << tree.Dump();
  EXPECT_EQ(CodeFor(dialog, tree),
            CrLfLines({
                "Dim X As Long",
                R"(X = FindWindow("#32770", vbNullString))",
                R"(X = FindWindowEx(0, X, "#32770", vbNullString))",
            }))
      << tree.Dump();
}

class MthSiblingTest : public ::testing::TestWithParam<int> {};

TEST_P(MthSiblingTest, TakesOneFirstAndMMinusOneFurtherSearches) {
  const int m = GetParam();
  WindowTree tree;
  const WindowHandle main = tree.AddTopLevel(Class("Main"));
  WindowHandle target = 0;
  for (int i = 1; i <= m + 2; ++i) {
    tree.AddChild(main, Class("Static"));
    const WindowHandle edit = tree.AddChild(main, Class("Edit"));
    if (i == m) target = edit;
  }
  const std::string code = CodeFor(target, tree);
  EXPECT_EQ(CountLines(code, R"(Edit = FindWindowEx(Main, 0, "Edit", vbNullString))"),
            1u);
  EXPECT_EQ(CountLines(code, R"(Edit = FindWindowEx(Main, Edit, "Edit", vbNullString))"),
            static_cast<std::size_t>(m - 1));
}

INSTANTIATE_TEST_SUITE_P(Positions, MthSiblingTest, ::testing::Values(1, 2, 3, 7, 200));

TEST(FinderCode, SameClassNestingReusesNoName) {
  WindowTree tree;
  const WindowHandle outer = tree.AddTopLevel(Class("#32770"));
  const WindowHandle middle = tree.AddChild(outer, Class("#32770"));
  const WindowHandle inner = tree.AddChild(middle, Class("Edit1"));
  const WindowHandle target = tree.AddChild(inner, Class("Edit2"));
  EXPECT_EQ(CodeFor(target, tree),
            CrLfLines({
                "Dim X As Long",
                "Dim X2 As Long",
                "Dim Edit As Long",
                "Dim Edit2 As Long",
                R"(X = FindWindow("#32770", vbNullString))",
                R"(X2 = FindWindowEx(X, 0, "#32770", vbNullString))",
                R"(Edit = FindWindowEx(X2, 0, "Edit1", vbNullString))",
                R"(Edit2 = FindWindowEx(Edit, 0, "Edit2", vbNullString))",
            }));
}

TEST(FinderCode, NamesCompareWithoutRegardToCase) {
  WindowTree tree;
  const WindowHandle outer = tree.AddTopLevel(Class("EDIT"));
  const WindowHandle target = tree.AddChild(outer, Class("edit"));
  EXPECT_EQ(CodeFor(target, tree),
            CrLfLines({
                "Dim EDIT As Long",
                "Dim edit2 As Long",
                R"(EDIT = FindWindow("EDIT", vbNullString))",
                R"(edit2 = FindWindowEx(EDIT, 0, "edit", vbNullString))",
            }));
}

struct LiteralCase {
  std::string class_name;
  std::string literal;
};

class HostileClassTest : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(HostileClassTest, ClassStaysInsideItsLiteral) {
  WindowTree tree;
  const WindowHandle target = tree.AddTopLevel(Class(GetParam().class_name));
  const std::string code = CodeFor(target, tree);
  EXPECT_NE(code.find(" = FindWindow(" + GetParam().literal + ", vbNullString)"),
            std::string::npos)
      << code;
}

INSTANTIATE_TEST_SUITE_P(
    Literals, HostileClassTest,
    ::testing::Values(
        LiteralCase{R"(a"b)", R"("a""b")"}, LiteralCase{R"(")", R"("""")"},
        LiteralCase{"a\r\nb", R"("a" & Chr(13) & Chr(10) & "b")"},
        LiteralCase{"\tx", R"(Chr(9) & "x")"}, LiteralCase{"x\x7f", R"("x" & Chr(127))"},
        LiteralCase{"\xC3\x9C"
                    "ber",
                    "\"\xC3\x9C"
                    "ber\""},
        LiteralCase{std::string(256, 'A'), '"' + std::string(256, 'A') + '"'},
        // VB.NET reads these as quotes: never raw in a literal.
        LiteralCase{"a“b”", R"("a" & ChrW(8220) & "b" & ChrW(8221))"},
        LiteralCase{"＂", R"(ChrW(65282))"},
        // Beyond the ANSI code page: every non-ASCII character.
        LiteralCase{"ÜЖ😀", R"(ChrW(220) & ChrW(1046) & ChrW(55357) & ChrW(56832))"}));

// Only names a VB6 or VB.NET compiler rejects get a number, and names the
// code itself calls; numbered forms skip the names a language's code binds.
TEST(FinderCode, NamesGetNumbersOnlyWhereACompilerNeedsThem) {
  struct Case {
    std::string class_name;
    int levels;
    FinderLanguage language;
    std::string last_name;
  };
  for (const Case& c :
       {Case{"Text", 1, FinderLanguage::kVisualBasic, "Text"},
        Case{"Mid_1", 1, FinderLanguage::kVisualBasic, "Mid"},
        Case{"Name", 2, FinderLanguage::kVisualBasic, "Name2"},
        Case{"ChrW", 1, FinderLanguage::kVisualBasic, "ChrW1"},
        Case{"GetDesktopWindow", 1, FinderLanguage::kVisualBasic, "GetDesktopWindow1"},
        Case{"User", 32, FinderLanguage::kPython, "user33"},
        Case{"User", 31, FinderLanguage::kPython, "user31"}}) {
    WindowTree tree;
    WindowHandle target = tree.AddTopLevel(Class(c.class_name));
    for (int level = 1; level < c.levels; ++level) {
      target = tree.AddChild(target, Class(c.class_name));
    }
    const auto plan = std::get<SearchPlan>(PlanFinderCode(std::to_string(target), tree));
    const std::vector<std::string> names = c.language == FinderLanguage::kPython
                                               ? PythonNames(plan)
                                               : VisualBasicNames(plan);
    EXPECT_EQ(names.back(), c.last_name) << c.class_name << " x" << c.levels;
  }
}

// Names are cut only where Visual Basic's 255 characters require it, the
// number included.
TEST(FinderCode, VeryLongNamesStayValidIdentifiers) {
  for (const std::size_t length : {250, 255, 256}) {
    WindowTree tree;
    const WindowHandle outer = tree.AddTopLevel(Class(std::string(length, 'A')));
    const WindowHandle target = tree.AddChild(outer, Class(std::string(length, 'a')));
    const std::string code = CodeFor(target, tree);
    const std::size_t kept = std::min<std::size_t>(length, 255);
    const std::size_t numbered = std::min<std::size_t>(length, 254);
    EXPECT_NE(code.find("Dim " + std::string(kept, 'A') + " As Long\r\n"),
              std::string::npos)
        << length;
    EXPECT_NE(code.find("Dim " + std::string(numbered, 'a') + "2 As Long\r\n"),
              std::string::npos)
        << length;
  }
}

TEST(FinderCode, ChainsOfAnyDepthGetALineEach) {
  for (int depth : {499, 500, 501, 2000}) {
    WindowTree tree;
    WindowHandle w = tree.AddTopLevel(Class("Level"));
    for (int i = 1; i < depth; ++i) w = tree.AddChild(w, Class("Level"));
    const std::string code = CodeFor(w, tree);
    EXPECT_EQ(CountLines(code, " As Long"), static_cast<std::size_t>(depth)) << depth;
    EXPECT_EQ(CountLines(code, "FindWindowEx("), static_cast<std::size_t>(depth - 1));
    EXPECT_TRUE(code.ends_with("Level" + std::to_string(depth) +
                               R"( = FindWindowEx(Level)" + std::to_string(depth - 1) +
                               R"(, 0, "Level", vbNullString))"));
  }
}

TEST(FinderCode, ParentLoopEndsTheWalk) {
  WindowTree tree;
  const WindowHandle top = tree.AddTopLevel(Class("Top"));
  const WindowHandle target = tree.AddChild(top, Class("Edit"));
  testing::ForwardingWindows windows(tree);
  windows.parent_override = [&](WindowHandle w) {
    return w == top ? target : tree.Parent(w);
  };
  EXPECT_EQ(CodeFor(target, windows),
            CrLfLines({
                "Dim Top As Long",
                "Dim Edit As Long",
                R"(Top = FindWindow("Top", vbNullString))",
                R"(Edit = FindWindowEx(Top, 0, "Edit", vbNullString))",
            }));
}

TEST(FinderCode, WindowsDestroyedMidwayGiveShorterCode) {
  WindowTree tree;
  const WindowHandle top = tree.AddTopLevel(Class("Top"));
  const WindowHandle target = tree.AddChild(top, Class("Edit"));
  testing::ForwardingWindows windows(tree);
  windows.after_first_class_query = [&] { tree.Destroy(top); };
  EXPECT_EQ(
      CodeFor(target, windows),
      CrLfLines({"Dim Edit As Long", R"(Edit = FindWindow("Edit", vbNullString))"}));
}

// A level that its parent does not hold and that is no top-level window
// either (moved to another parent meanwhile) anchors at its own class; with
// no top-level window of that class the code ends at that anchor.
TEST(FinderCode, UnreachableLevelEndsWithItsAnchorLine) {
  WindowTree tree;
  const WindowHandle top = tree.AddTopLevel(Class("Top"));
  const WindowHandle other = tree.AddTopLevel(Class("Other"));
  const WindowHandle button = tree.AddChild(top, Class("Button"));
  const WindowHandle target = tree.AddChild(button, Class("Edit"));
  testing::ForwardingWindows windows(tree);
  windows.parent_override = [&](WindowHandle w) {
    return w == button ? other : tree.Parent(w);
  };
  EXPECT_EQ(CodeFor(target, windows),
            CrLfLines({
                "Dim Button As Long",
                "Dim Edit As Long",
                R"(Button = FindWindow("Button", vbNullString))",
            }));
}

TEST(FinderCode, NegativeHandlesWork) {
  WindowTree tree(-2000000000, 4);
  const WindowHandle top = tree.AddTopLevel(Class("Top"));
  const WindowHandle target = tree.AddChild(top, Class("Edit"));
  ASSERT_LT(target, 0);
  EXPECT_EQ(CodeFor(" " + std::to_string(target) + " ", tree),
            CrLfLines({"Dim Top As Long", "Dim Edit As Long",
                       R"(Top = FindWindow("Top", vbNullString))",
                       R"(Edit = FindWindowEx(Top, 0, "Edit", vbNullString))"}));
}

}  // namespace
}  // namespace winscout::codegen

namespace winscout::codegen {
namespace {

// Which key the search by ID and title takes for the target's level, and
// for the anchor: the sturdiest that picks exactly that window now.
TEST(FinderKeys, TheSturdiestKeyThatPicksExactlyTheWindow) {
  struct Sibling {
    const char* title;
    std::int32_t id;
  };
  struct Case {
    const char* name;
    std::vector<Sibling> siblings;  // Edit children of one frame
    std::size_t target;             // of the siblings
    std::vector<const char*>
        frame_titles;  // top-level frames of one class; the first holds them
    std::int32_t id;   // the target's expected key
    std::optional<std::string> title;
    std::optional<std::string> anchor_title;
  };
  const Case cases[] = {
      {"a unique ID wins", {{"Name", 7}, {"Name", 8}}, 1, {"Frame"}, 8, {}, "Frame"},
      {"a shared ID falls back to the title",
       {{"First", 5}, {"Second", 5}},
       0,
       {"Frame"},
       0,
       "First",
       "Frame"},
      {"an empty title falls back to position",
       {{"", 0}, {"", 0}},
       1,
       {"Frame"},
       0,
       {},
       "Frame"},
      {"a volatile title falls back to position",
       {{"Row 1", 0}, {"Row 2", 0}},
       1,
       {"Frame"},
       0,
       {},
       "Frame"},
      {"a shared title falls back to position",
       {{"Same", 0}, {"same", 0}},
       0,
       {"Frame", "Other"},
       0,
       {},
       "Frame"},
      {"a title that differs only in the case of its accents is shared",
       {{"\u00e9t\u00e9", 0}, {"\u00c9T\u00c9", 0}},
       1,
       {"Frame"},
       0,
       {},
       "Frame"},
      {"the anchor's title only where it picks one window",
       {{"Name", 3}},
       0,
       {"Twin", "Twin"},
       3,
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowTree tree;
    const WindowHandle frame =
        tree.AddTopLevel({.class_name = "WsFrame", .text = c.frame_titles[0]});
    for (std::size_t i = 1; i < c.frame_titles.size(); ++i) {
      tree.AddTopLevel({.class_name = "WsFrame", .text = c.frame_titles[i]});
    }
    std::vector<WindowHandle> siblings;
    for (const Sibling& sibling : c.siblings) {
      siblings.push_back(tree.AddChild(
          frame, {.class_name = "Edit", .text = sibling.title, .id = sibling.id}));
    }
    const WindowHandle target = siblings[c.target];
    const auto plan = std::get<SearchPlan>(PlanFinderCode(std::to_string(target), tree));
    ASSERT_EQ(plan.levels.size(), 2u);
    EXPECT_EQ(plan.levels[1].unique_id, c.id);
    EXPECT_EQ(plan.levels[1].unique_title, c.title);
    EXPECT_EQ(plan.levels[0].unique_title, c.anchor_title);
  }
}

TEST(FinderKeys, TitlesThatLookVolatileAreNotKeys) {
  for (const char* sturdy : {"OK", "Main window", "Окно", "Save As..."}) {
    EXPECT_TRUE(IsSturdyTitle(sturdy)) << sturdy;
  }
  for (const char* volatile_title :
       {"", "Document1 - Editor", "C:\\Temp", "/home/user", "12:30", "Two\r\nlines"}) {
    EXPECT_FALSE(IsSturdyTitle(volatile_title)) << volatile_title;
  }
  EXPECT_FALSE(IsSturdyTitle(std::string(61, 't')));
}

// Found the sturdier way, with one comment line for what still depends on
// position (the other languages are compiled and run by the compile test).
TEST(FinderKeys, VisualBasicWritesTheKeys) {
  WindowTree tree;
  const WindowHandle frame =
      tree.AddTopLevel({.class_name = "Main_Frame2", .text = "Editor"});
  const WindowHandle pane = tree.AddChild(frame, {.class_name = "#32770"});
  tree.AddChild(pane, {.class_name = "Edit", .id = 11});
  const WindowHandle target = tree.AddChild(pane, {.class_name = "Edit", .id = 12});
  const auto plan = std::get<SearchPlan>(PlanFinderCode(std::to_string(target), tree));
  const FinderStyle sturdy{.way = SearchWay::kIdAndTitle};
  EXPECT_EQ(EmitFinderCode(plan, FinderLanguage::kVisualBasic, sturdy),
            CrLfLines({
                "' Found by place among windows of the same class, which can change: X",
                "Dim MainFrame As Long",
                "Dim X As Long",
                "Dim Edit As Long",
                R"(MainFrame = FindWindow("Main_Frame2", "Editor"))",
                R"(X = FindWindowEx(MainFrame, 0, "#32770", vbNullString))",
                "Edit = GetDlgItem(X, 12)",
            }));
}

}  // namespace
// What outlives a restart: one row a name, including names that only look
// like the frameworks' and must stay exact.
TEST(FinderKeys, JudgesWhatOutlivesARestart) {
  struct ClassCase {
    std::string_view name;
    std::optional<std::string_view> stable;  // none: matched whole
    std::string_view variable = {};
  };
  const ClassCase classes[] = {
      {"Afx:00007FF6A1B20000:8:0000000000010003:0000000000000006:0000000000000000",
       "Afx:", "Afx"},
      {"Afx:400000:8", "Afx:", "Afx"},
      {"ATL:00007FF6A1B31234", "ATL:", "ATL"},
      {"WindowsForms10.BUTTON.app.0.141b42a_r9_ad1", "WindowsForms10.BUTTON.app.",
       "WindowsFormsButton"},
      {"WindowsForms10.Window.8.app.0.2bf8098_r6_ad1", "WindowsForms10.Window.8.app.",
       "WindowsFormsWindow"},
      {"HwndWrapper[notepad.exe;;5a7bd4c2-3f1e-4a8b-9c0d-1e2f3a4b5c6d]",
       "HwndWrapper[notepad.exe;", "HwndWrapper"},
      {"Pane{5A7BD4C2-3F1E-4A8B-9C0D-1E2F3A4B5C6D}", "Pane", "Pane"},
      {"Chrome_WidgetWin_0x1F3A9C20", "Chrome_WidgetWin_0x", "ChromeWidgetWinx"},
      {"AfxTooltip", std::nullopt},
      {"AfxWnd140su", std::nullopt},
      {"Afx:notes", std::nullopt},
      {"Edit32", std::nullopt},
      {"CafeView1234", std::nullopt},
      {"deadbeefcafe", std::nullopt},
      {"WindowsForms10.BUTTON", std::nullopt},
      {"HwndWrapper", std::nullopt},
      {"#32770", std::nullopt},
  };
  for (const ClassCase& row : classes) {
    SCOPED_TRACE(row.name);
    const ClassJudgement judged = JudgeClassName(row.name);
    EXPECT_EQ(judged.run_dependent, row.stable.has_value());
    EXPECT_EQ(judged.stable_part, row.stable.value_or(row.name));
    if (row.stable) {
      EXPECT_EQ(VarNameFromClass(judged.name_source), row.variable);
    }
  }
  // WinForms gives each control its own handle as its ID.
  EXPECT_TRUE(IsSturdyId(1001, 0x000A0123));
  EXPECT_TRUE(IsSturdyId(0xE900, 0x000A0123));
  EXPECT_FALSE(IsSturdyId(0x0123, 0x000A0123));
  EXPECT_FALSE(IsSturdyId(0x000A0123, 0x000A0123));
  EXPECT_FALSE(IsSturdyId(0, 0x000A0123));
  EXPECT_FALSE(IsSturdyId(-1, 0x000A0123));
  EXPECT_FALSE(IsSturdyId(0x10000, 0x000A0123));

  using Match = TitleKey::Match;
  const std::tuple<std::string_view, std::optional<Match>, std::string_view> titles[] = {
      {"Untitled - Notepad", Match::kEnd, " - Notepad"},
      {"notes.txt - Fixture", Match::kEnd, " - Fixture"},
      {"C:\\Temp\\report 2026.txt \u2013 Editor", Match::kEnd, " \u2013 Editor"},
      {"a - b \u2014 Program", Match::kEnd, " \u2014 Program"},
      {"Save As", Match::kWhole, "Save As"},
      {" - Program", Match::kWhole, " - Program"},
      {"Document1 - Editor 2", std::nullopt, ""},
      {"Report 2026", std::nullopt, ""},
  };
  for (const auto& [title, match, key] : titles) {
    SCOPED_TRACE(title);
    const std::optional<TitleKey> judged = JudgeTitle(title);
    ASSERT_EQ(judged.has_value(), match.has_value());
    if (judged) {
      EXPECT_EQ(std::pair(judged->match, judged->text),
                std::pair(*match, std::string(key)));
    }
  }
}

// Restarted frameworks and a new document: the plan matches the stable parts,
// and Visual Basic keeps its old lines where every name is exact.
TEST(FinderKeys, VisualBasicMatchesStableParts) {
  WindowTree tree;
  const WindowHandle frame = tree.AddTopLevel(
      {.class_name = "Afx:00007FF6A1B20000:8:0000000000010003:0000000000000006:0",
       .text = "Untitled - Fixture"});
  tree.AddChild(frame, {.class_name = "Afx:00007FF6A1B20000:8"});
  const WindowHandle view =
      tree.AddChild(frame, {.class_name = "Afx:00007FF6A1B20000:8"});
  const WindowHandle button =
      tree.AddChild(view, {.class_name = "WindowsForms10.BUTTON.app.0.141b42a_r9_ad1"});
  tree.SetControlId(button, button);
  const auto plan = std::get<SearchPlan>(PlanFinderCode(std::to_string(button), tree));
  EXPECT_EQ(plan.levels[0].title_end, " - Fixture");
  EXPECT_EQ(plan.levels[2].unique_id, 0);
  const std::vector<std::string> calls = {
      R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "Afx:", " - Fixture"))",
      R"(Afx2 = FindWindowLike(Afx, 0, vbNullString, vbNullString, "Afx:", vbNullString))",
      R"(Afx2 = FindWindowLike(Afx, Afx2, vbNullString, vbNullString, "Afx:", vbNullString))",
      R"(WindowsFormsButton = FindWindowLike(Afx2, 0, vbNullString, vbNullString, "WindowsForms10.BUTTON.app.", vbNullString))"};
  const std::string code =
      EmitFinderCode(plan, FinderLanguage::kVisualBasic, {.way = SearchWay::kIdAndTitle});
  EXPECT_TRUE(code.ends_with(JoinLines(calls))) << code;
  EXPECT_TRUE(code.starts_with("' The next window after hWndAfter")) << code;
}

}  // namespace winscout::codegen
