// The finder code for every window of many random desktops compiles as Visual
// Basic and, replayed on the same desktop, finds exactly that window. The
// checker and the interpreter are tested first, so that a green property test
// means something.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_code.h"
#include "codegen/finder_language.h"
#include "platform/model/window_tree.h"
#include "tests/support/crlf_lines.h"
#include "tests/support/forwarding_windows.h"
#include "tests/support/random_desktop.h"
#include "tests/support/vb_check.h"
#include "tests/support/vb_replay.h"

namespace winscout::testing {
namespace {

using model::OwnedStyle;
using model::WindowSpec;
using model::WindowTree;

// The code one line per row, control characters made visible.
std::string Numbered(std::string_view text) {
  std::ostringstream out;
  int number = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n");
    out << "  " << ++number << ": " << VisibleText(text.substr(0, end)) << '\n';
    if (end == std::string_view::npos) return out.str();
    text.remove_prefix(end + 2);
  }
}

// ---------------------------------------------------------------------------
// The interpreter.

// Main_Frame2 (older) > #32770 > Edit, Edit, a"b<LF>c; and a second Main_Frame2
// on top of it with an Edit of its own.
class ReplayTest : public ::testing::Test {
 protected:
  WindowTree tree_;
  std::map<std::string, WindowHandle> windows_;

  void SetUp() override {
    const WindowHandle frame = tree_.AddTopLevel({.class_name = "Main_Frame2"});
    const WindowHandle dialog = tree_.AddChild(frame, {.class_name = "#32770"});
    windows_ = {
        {"frame", frame},
        {"dialog", dialog},
        {"edit1", tree_.AddChild(dialog, {.class_name = "Edit"})},
        {"edit2", tree_.AddChild(dialog, {.class_name = "Edit"})},
        {"quoted", tree_.AddChild(dialog, {.class_name = "a\"b\nc"})},
    };
    windows_["frame2"] = tree_.AddTopLevel({.class_name = "Main_Frame2"});
    tree_.AddChild(windows_["frame2"], {.class_name = "Edit"});
  }
};

struct GoodReplay {
  const char* name;
  std::string text;
  const char* window;  // a key of windows_, or "none" for 0
};

TEST_F(ReplayTest, RunsWellFormedCode) {
  const GoodReplay cases[] = {
      {"second edit after a restart of the frame search",
       CrLfLines(
           {"Dim MainFrame As Long", "Dim X As Long", "Dim Edit As Long",
            R"(MainFrame = FindWindow("Main_Frame2", vbNullString))",
            R"(MainFrame = FindWindowEx(0, MainFrame, "Main_Frame2", vbNullString))",
            R"(X = FindWindowEx(MainFrame, 0, "#32770", vbNullString))",
            R"(Edit = FindWindowEx(X, 0, "Edit", vbNullString))",
            R"(Edit = FindWindowEx(X, Edit, "Edit", vbNullString))"}),
       "edit2"},
      {"first search only",
       CrLfLines(
           {"Dim MainFrame As Long", "Dim X As Long", "Dim Edit As Long",
            R"(MainFrame = FindWindow("Main_Frame2", vbNullString))",
            R"(MainFrame = FindWindowEx(0, MainFrame, "Main_Frame2", vbNullString))",
            R"(X = FindWindowEx(MainFrame, 0, "#32770", vbNullString))",
            R"(Edit = FindWindowEx(X, 0, "Edit", vbNullString))"}),
       "edit1"},
      {"FindWindow finds the newer top-level window",
       CrLfLines({"Dim F As Long", R"(F = FindWindow("main_frame2", vbNullString))"}),
       "frame2"},
      {"top-level search by FindWindowEx with parent 0",
       CrLfLines({"Dim F As Long",
                  R"(F = FindWindowEx(0, 0, "Main_Frame2", vbNullString))",
                  R"(F = FindWindowEx(0, F, "Main_Frame2", vbNullString))"}),
       "frame"},
      {"names compare without regard to case",
       CrLfLines(
           {"Dim mainframe As Long", "Dim Dlg As Long",
            R"(MAINFRAME = FindWindow("Main_Frame2", vbNullString))",
            R"(mainFrame = FindWindowEx(0, MainFrame, "Main_Frame2", vbNullString))",
            R"(dlg = FindWindowEx(MAINframe, 0, "#32770", vbNullString))"}),
       "dialog"},
      {"doubled quotes and Chr pieces",
       CrLfLines({"Dim F As Long", "Dim X As Long", "Dim Q As Long",
                  R"(F = FindWindow("Main_" & "Frame2", vbNullString))",
                  R"(F = FindWindowEx(0, F, "Main_Frame" & Chr(50), vbNullString))",
                  R"(X = FindWindowEx(F, 0, Chr(35) & "32770", vbNullString))",
                  R"(Q = FindWindowEx(X, 0, "a""b" & Chr(10) & "c", vbNullString))"}),
       "quoted"},
      {"the last declared variable, not the last assigned",
       CrLfLines({"Dim Edit As Long", "Dim F As Long",
                  R"(F = FindWindow("Main_Frame2", vbNullString))",
                  R"(Edit = FindWindowEx(F, 0, "Edit", vbNullString))"}),
       "frame2"},
      {"a declared variable that is never assigned holds 0",
       CrLfLines({"Dim F As Long", "Dim Edit As Long",
                  R"(F = FindWindow("Main_Frame2", vbNullString))"}),
       "none"},
      {"a class no window has",
       CrLfLines({"Dim F As Long", R"(F = FindWindow("Nope", vbNullString))"}), "none"},
  };
  for (const GoodReplay& c : cases) {
    SCOPED_TRACE(c.name);
    const ReplayResult result = ReplayFinderCode(c.text, tree_);
    ASSERT_TRUE(result.Ran()) << result << "\n" << Numbered(c.text);
    const WindowHandle wanted =
        std::string_view(c.window) == "none" ? 0 : windows_.at(c.window);
    EXPECT_EQ(result.found, wanted) << Numbered(c.text);
  }
}

struct BadReplay {
  const char* name;
  std::string text;
  const char* error;  // a part of the reported reason
};

// Each code is refused with its reason.
template <std::size_t N>
void ExpectEachRefused(const BadReplay (&cases)[N], const WindowSystem& windows) {
  for (const BadReplay& c : cases) {
    SCOPED_TRACE(c.name);
    const ReplayResult result = ReplayFinderCode(c.text, windows);
    EXPECT_NE(result.error.find(c.error), std::string::npos)
        << result << "\nwanted: " << c.error << "\n"
        << Numbered(c.text);
  }
}

TEST_F(ReplayTest, RefusesCodeThatMatchesNoLineFormOrNamesNoVariable) {
  const std::string dim = "Dim F As Long\r\n";
  const BadReplay cases[] = {
      {"empty text", "", "line 1 matches no line form"},
      {"line break after the last line",
       dim + R"(F = FindWindow("Edit", vbNullString))" + "\r\n", "line 3 matches"},
      {"bare LF between lines",
       "Dim F As Long\n"
       R"(F = FindWindow("Edit", vbNullString))",
       "line 1 matches"},
      {"another type", "Dim F As Integer", "line 1 matches"},
      {"keyword case", "dim F As Long", "line 1 matches"},
      {"doubled blank", "Dim  F As Long", "line 1 matches"},
      {"trailing blank", "Dim F As Long ", "line 1 matches"},
      {"lone quote inside a literal", dim + R"(F = FindWindow("a"b", vbNullString))",
       "line 2 matches"},
      {"unterminated literal", dim + R"(F = FindWindow("Edit, vbNullString))",
       "line 2 matches"},
      {"raw control character in a literal",
       dim + "F = FindWindow(\"a\tb\", vbNullString)", "line 2 matches"},
      {"Chr out of range", dim + R"(F = FindWindow(Chr(256), vbNullString))",
       "line 2 matches"},
      {"Chr with a leading zero", dim + R"(F = FindWindow(Chr(010), vbNullString))",
       "line 2 matches"},
      {"Chr without a code", dim + R"(F = FindWindow(Chr(), vbNullString))",
       "line 2 matches"},
      {"pieces joined without blanks", dim + R"(F = FindWindow("a"&"b", vbNullString))",
       "line 2 matches"},
      {"pieces not joined", dim + R"(F = FindWindow("a" "b", vbNullString))",
       "line 2 matches"},
      {"null pointer for the title without a declaration",
       dim + R"(F = FindWindow("Edit", 0))", "line 2: a pointer argument"},
      {"text after the call", dim + R"(F = FindWindow("Edit", vbNullString) ' x)",
       "line 2 matches"},
      {"search continues after another variable",
       "Dim F As Long\r\nDim G As Long\r\n"
       R"(G = FindWindowEx(0, F, "Edit", vbNullString))",
       "line 3 matches"},
      {"FindWindowEx without its child-after argument",
       dim + R"(F = FindWindowEx(0, "Edit", vbNullString))", "line 2 matches"},
      {"assignment to an undeclared variable",
       dim + R"(G = FindWindow("Edit", vbNullString))", "line 2: G is not declared"},
      {"undeclared parent", dim + R"(F = FindWindowEx(G, 0, "Edit", vbNullString))",
       "line 2: G is not declared"},
      {"same name declared twice", "Dim Edit As Long\r\nDim EDIT As Long",
       "line 2: EDIT is declared twice"},
      {"nothing declared", R"(F = FindWindow("Edit", vbNullString))",
       "F is not declared"},
  };
  ExpectEachRefused(cases, tree_);
}

// ---------------------------------------------------------------------------
// The FindWindowLike routine, written out as the code carries it.

// VBA's heading goes in an #If VBA7 block; the pointer form passes StrPtr.
std::string HelperText(bool vba, bool pointers) {
  auto heading = [](const std::string& handle) {
    return "Private Function FindWindowLike(ByVal hWndParent As " + handle +
           ", ByVal hWndAfter As " + handle +
           ", ByVal ClassName As String, ByVal Title As String, ByVal ClassStart As "
           "String, ByVal TitleEnd As String) As " +
           handle;
  };
  auto text = [&](const std::string& name) {
    return pointers ? "StrPtr(" + name + ")" : name;
  };
  std::string lines =
      "' The next window that FindWindowEx finds, by class start and title end.\r\n";
  lines += vba ? "#If VBA7 Then\r\n" + heading("LongPtr") + "\r\n#Else\r\n" +
                     heading("Long") + "\r\n#End If\r\n"
               : heading("Long") + "\r\n";
  return lines +
         CrLfLines({"    Dim Text As String", "    Do",
                    "        hWndAfter = FindWindowEx(hWndParent, hWndAfter, " +
                        text("ClassName") + ", " + text("Title") + ")",
                    "        If hWndAfter = 0 Then Exit Do",
                    "        Text = String$(257, vbNullChar)",
                    "        Text = Left$(Text, GetClassName(hWndAfter, " + text("Text") +
                        ", 257))",
                    "        If Left$(Text, Len(ClassStart)) = ClassStart Then",
                    "            Text = String$(GetWindowTextLength(hWndAfter) + 1, "
                    "vbNullChar)",
                    "            Text = Left$(Text, GetWindowText(hWndAfter, " +
                        text("Text") + ", Len(Text)))",
                    "            If Right$(Text, Len(TitleEnd)) = TitleEnd Then Exit Do",
                    "        End If", "    Loop", "    FindWindowLike = hWndAfter",
                    "End Function", "", ""});
}

// The Declare lines of the routine's calls: the A functions with Strings, or
// the W functions with pointers.
std::string HelperDeclares(bool wide, bool vba7,
                           std::vector<std::string_view> functions = {
                               "FindWindowEx", "GetClassName", "GetWindowText",
                               "GetWindowTextLength"}) {
  const std::string handle = vba7 ? "LongPtr" : "Long";
  const std::string text = wide ? handle : "String";
  const std::map<std::string_view, std::string> parameters = {
      {"FindWindowEx", "ByVal hWndParent As " + handle + ", ByVal hWndChildAfter As " +
                           handle + ", ByVal lpszClass As " + text +
                           ", ByVal lpszWindow As " + text},
      {"GetClassName", "ByVal hWnd As " + handle + ", ByVal lpClassName As " + text +
                           ", ByVal nMaxCount As Long"},
      {"GetWindowText", "ByVal hWnd As " + handle + ", ByVal lpString As " + text +
                            ", ByVal nMaxCount As Long"},
      {"GetWindowTextLength", "ByVal hWnd As " + handle}};
  std::string lines;
  for (std::string_view function : functions) {
    const std::string name(function);
    lines += std::string(vba7 ? "Private Declare PtrSafe Function "
                              : "Private Declare Function ") +
             name + " Lib \"user32\" Alias \"" + name + (wide ? "W" : "A") + "\" (" +
             parameters.at(function) + ") As " +
             (function == "FindWindowEx" ? handle : "Long") + "\r\n";
  }
  return lines;
}

// Top-level Afx:77:8 "Ledger" with panes Afx:77:0 (ID 0xE900), Afx:99:0
// "Chart" and an Edit "notes.txt - Fixture"; above it Afx:55:8 "notes.txt -
// Fixture" and a Main_Frame2 "Ledger", below it Afx:33:8 "Окно - Ж".
class HelperReplayTest : public ::testing::Test {
 protected:
  WindowTree tree_;
  std::map<std::string, WindowHandle> windows_;

  void SetUp() override {
    // The lowest top-level window.
    windows_["unicode"] =
        tree_.AddTopLevel({.class_name = "Afx:33:8", .text = "Окно - Ж"});
    const WindowHandle frame =
        tree_.AddTopLevel({.class_name = "Afx:77:8", .text = "Ledger"});
    windows_.insert({
        {"frame", frame},
        {"pane", tree_.AddChild(frame, {.class_name = "Afx:77:0", .id = 0xE900})},
        {"chart", tree_.AddChild(frame, {.class_name = "Afx:99:0", .text = "Chart"})},
        {"edit",
         tree_.AddChild(frame, {.class_name = "Edit", .text = "notes.txt - Fixture"})},
        {"document",
         tree_.AddTopLevel({.class_name = "Afx:55:8", .text = "notes.txt - Fixture"})},
        {"other", tree_.AddTopLevel({.class_name = "Main_Frame2", .text = "Ledger"})},
    });
  }
};

const std::string kVbHelper = HelperText(false, false);
const std::string kAfxDim = "Dim Afx As Long\r\n";
const std::string kFirstAfx =
    R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "Afx:", vbNullString))";

TEST_F(HelperReplayTest, RunsTheRoutineInEachForm) {
  // The forms the generator writes run in the property test below; these rows
  // pin what the routine's comparisons mean.
  const GoodReplay cases[] = {
      {"a note on every W function",
       "' declare FindWindowW, FindWindowExW, GetClassNameW and GetWindowTextW\r\n" +
           kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "Afx:", " - " & ChrW(1046)))",
       "unicode"},
      {"a note on the search alone: the texts compare through the ANSI code page",
       "' declare FindWindowW and FindWindowExW\r\n" + kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "Afx:", " - " & ChrW(1046)))",
       "none"},
      {"title ends compare case and all",
       kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "Afx:", " - fixture"))",
       "none"},
      {"class starts compare case and all",
       kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "afx:", vbNullString))",
       "none"},
      {"an empty class is no class",
       kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, "", vbNullString, vbNullString, vbNullString))",
       "none"},
      {"through the ANSI code page",
       kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, "Afx:", ChrW(1046)))",
       "none"},
  };
  for (const GoodReplay& c : cases) {
    SCOPED_TRACE(c.name);
    const ReplayResult result = ReplayFinderCode(c.text, tree_);
    ASSERT_TRUE(result.Ran()) << result << "\n" << Numbered(c.text);
    const WindowHandle wanted =
        std::string_view(c.window) == "none" ? 0 : windows_.at(c.window);
    EXPECT_EQ(result.found, wanted) << Numbered(c.text);
    EXPECT_EQ(CheckFinderCode(c.text), std::vector<std::string>()) << Numbered(c.text);
  }
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST_F(HelperReplayTest, RefusesTheRoutineOutOfItsForm) {
  const std::string call = kAfxDim + kFirstAfx;
  const BadReplay cases[] = {
      {"a call without the routine", call, "line 2: FindWindowLike is not in the code"},
      {"a changed comparison",
       Replaced(kVbHelper, "Len(ClassStart)) = ClassStart",
                "Len(ClassStart)) Like ClassStart") +
           call,
       "line 9 is not the next line of FindWindowLike"},
      {"no blank line after it",
       Replaced(kVbHelper, "End Function\r\n\r\n", "End Function\r\n") + call,
       "line 17 is not the blank line after FindWindowLike"},
      {"ends early", kVbHelper.substr(0, kVbHelper.find("\r\n    Loop")),
       "FindWindowLike ends early"},
      {"after the Dim lines", kAfxDim + kVbHelper + kFirstAfx,
       "line 3 opens FindWindowLike in the wrong place"},
      {"the pointer form without declarations", HelperText(false, true) + call,
       "a pointer argument without a declaration"},
      {"the ANSI form with the W declarations",
       HelperDeclares(true, false) + kVbHelper + call,
       "FindWindowLike's strings do not match FindWindowExW's declaration"},
      {"the W form mixed with an ANSI line",
       Replaced(HelperText(false, true), "GetClassName(hWndAfter, StrPtr(Text), 257)",
                "GetClassName(hWndAfter, Text, 257)") +
           call,
       "is not the next line of FindWindowLike"},
      {"a call of the routine left undeclared",
       HelperDeclares(false, false, {"FindWindowEx", "GetClassName", "GetWindowText"}) +
           kVbHelper + call,
       "GetWindowTextLength is called by FindWindowLike but not declared"},
      {"a String where the W function takes a pointer",
       Replaced(HelperDeclares(true, false), "lpClassName As Long",
                "lpClassName As String") +
           HelperText(false, true) + call,
       "GetClassNameW is declared with the wrong string type"},
      {"a pointer argument",
       kVbHelper + kAfxDim +
           R"(Afx = FindWindowLike(0, 0, vbNullString, vbNullString, StrPtr("Afx:"), vbNullString))",
       "matches no line form"},
      {"a Declare after the routine", kVbHelper + HelperDeclares(false, false) + call,
       "declares a function after FindWindowLike"},
  };
  ExpectEachRefused(cases, tree_);
}

// ---------------------------------------------------------------------------
// The checker.

struct CheckCase {
  const char* name;
  std::string text;
  std::vector<std::string> problems;  // parts of the expected problems, in order
};

std::string LongName(std::size_t length) { return std::string(length, 'q'); }

TEST(CheckFinderCodeTest, AcceptsGoodCodeAndNamesEachProblem) {
  const CheckCase cases[] = {
      {"the worked example",
       CrLfLines({"Dim MainFrame As Long", "Dim X As Long", "Dim Edit As Long",
                  R"(MainFrame = FindWindow("Main_Frame2", vbNullString))",
                  R"(X = FindWindowEx(MainFrame, 0, "#32770", vbNullString))",
                  R"(Edit = FindWindowEx(X, 0, "Edit", vbNullString))",
                  R"(Edit = FindWindowEx(X, Edit, "Edit", vbNullString))"}),
       {}},
      {"numbered keywords, repeated names, hostile literal",
       CrLfLines(
           {"Dim Static1 As Long", "Dim Static2 As Long", "Dim X_9 As Long",
            R"(Static1 = FindWindow("Static", vbNullString))",
            R"(Static2 = FindWindowEx(Static1, 0, "static", vbNullString))",
            R"(x_9 = FindWindowEx(STATIC2, 0, """" & Chr(13) & Chr(10) & "", vbNullString))"}),
       {}},
      {"255 characters",
       CrLfLines({"Dim " + LongName(255) + " As Long",
                  LongName(255) + R"( = FindWindow("a", vbNullString))"}),
       {}},
      {"256 characters",
       CrLfLines({"Dim " + LongName(256) + " As Long",
                  LongName(256) + R"( = FindWindow("a", vbNullString))"}),
       {"line 1: " + LongName(256) + " is not a Visual Basic identifier"}},
      {"digit first",
       CrLfLines({"Dim 2X As Long", R"(2X = FindWindow("a", vbNullString))"}),
       {"line 1: 2X is not a Visual Basic identifier"}},
      {"underscore first",
       CrLfLines({"Dim _X As Long", R"(_X = FindWindow("a", vbNullString))"}),
       {"line 1: _X is not a Visual Basic identifier"}},
      {"VB6 keyword",
       CrLfLines({"Dim Static As Long", R"(Static = FindWindow("a", vbNullString))"}),
       {"line 1: Static is a reserved word"}},
      {"type name in another case",
       CrLfLines({"Dim dATE As Long", R"(dATE = FindWindow("a", vbNullString))"}),
       {"line 1: dATE is a reserved word"}},
      {"VB.NET keyword",
       CrLfLines({"Dim AndAlso As Long", R"(AndAlso = FindWindow("a", vbNullString))"}),
       {"line 1: AndAlso is a reserved word"}},
      {"VB6 special form",
       CrLfLines({"Dim Int As Long", R"(Int = FindWindow("a", vbNullString))"}),
       {"line 1: Int is a reserved word"}},
      {"names the code calls",
       CrLfLines({"Dim FINDWINDOW As Long", "Dim Chr As Long", "Dim vbnullstring As Long",
                  "Dim chrw As Long", "Dim Text As Long",
                  R"(FINDWINDOW = FindWindow("a", vbNullString))"}),
       {"line 1: FINDWINDOW is a reserved word", "line 2: Chr is a reserved word",
        "line 3: vbnullstring is a reserved word", "line 4: chrw is a reserved word"}},
      {"declared twice, in another case",
       CrLfLines({"Dim Edit As Long", "Dim EDIT As Long",
                  R"(Edit = FindWindow("a", vbNullString))"}),
       {"line 2: EDIT is declared twice"}},
      {"used before declared",
       CrLfLines({"Dim A As Long", R"(A = FindWindow("a", vbNullString))",
                  R"(B = FindWindowEx(A, 0, "b", vbNullString))", "Dim B As Long"}),
       {"line 3: B is used before it is declared",
        "line 4: declaration among the call lines"}},
      {"undeclared parent",
       CrLfLines({"Dim A As Long", R"(A = FindWindowEx(P, 0, "a", vbNullString))"}),
       {"line 2: P is used before it is declared"}},
      {"no call line", CrLfLines({"Dim A As Long"}), {"no call line"}},
      {"the routine never called",
       HelperText(false, false) + "Dim A As Long\r\n" +
           R"(A = FindWindow("a", vbNullString))",
       {"line 2: FindWindowLike is never called"}},
      {"VBA's routine without its #If block",
       "#If VBA7 Then\r\n#Else\r\n#End If\r\n\r\n" + HelperText(false, false) +
           "#If VBA7 Then\r\nPublic Function F() As LongPtr\r\n    Dim A As LongPtr\r\n"
           "#Else\r\nPublic Function F() As Long\r\n    Dim A As Long\r\n#End If\r\n" +
           R"(    A = FindWindowLike(0, 0, vbNullString, vbNullString, "a", vbNullString))" +
           "\r\n    F = A\r\nEnd Function",
       {"line 6: FindWindowLike takes a Long, not a LongPtr"}},
      {"the routine's names as variables",
       HelperText(false, false) +
           "Dim FindWindowLike As Long\r\nDim getclassname As Long\r\n" +
           R"(getclassname = FindWindowLike(0, 0, vbNullString, vbNullString, "a", vbNullString))",
       {"line 18: FindWindowLike is a reserved word",
        "line 19: getclassname is a reserved word"}},
      {"a call of the routine left undeclared",
       HelperDeclares(false, false,
                      {"FindWindowEx", "GetWindowText", "GetWindowTextLength"}) +
           HelperText(false, false) + "Dim A As Long\r\n" +
           R"(A = FindWindowLike(0, 0, vbNullString, vbNullString, "a", vbNullString))",
       {"line 5: FindWindowLike calls GetClassName, which is not declared"}},
      {"line that matches no line form",
       CrLfLines({"Dim A As Long", R"(A = FindWindow("a", vbNullString) & "")"}),
       {"line 2 matches no line form"}},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> problems = CheckFinderCode(c.text);
    ASSERT_EQ(problems.size(), c.problems.size())
        << ::testing::PrintToString(problems) << "\n"
        << Numbered(c.text);
    for (std::size_t i = 0; i < problems.size(); ++i) {
      EXPECT_NE(problems[i].find(c.problems[i]), std::string::npos)
          << problems[i] << "\nwanted: " << c.problems[i];
    }
  }
}

// ---------------------------------------------------------------------------
// Random desktops.

constexpr unsigned kSeedsPerShape = 60;

// Every Visual Basic the code box can hold: classic Visual Basic without and
// with its declarations, and VBA, each searching both ways.
struct VbVariant {
  codegen::FinderLanguage language;
  codegen::FinderStyle style;
};
constexpr VbVariant kVbVariants[] = {
    {codegen::FinderLanguage::kVisualBasic, {codegen::SearchWay::kPosition, false}},
    {codegen::FinderLanguage::kVisualBasic, {codegen::SearchWay::kIdAndTitle, false}},
    {codegen::FinderLanguage::kVisualBasic, {codegen::SearchWay::kPosition, true}},
    {codegen::FinderLanguage::kVisualBasic, {codegen::SearchWay::kIdAndTitle, true}},
    {codegen::FinderLanguage::kVba, {codegen::SearchWay::kPosition, false}},
    {codegen::FinderLanguage::kVba, {codegen::SearchWay::kIdAndTitle, false}},
};

// Whether the action made with the text reaches the target with the text
// whole: "Set its text" sets it, "Choose an item" chooses the item that
// begins with it and tells the parent.
bool ActionArrives(WindowTree& tree, WindowHandle target, const ReplayResult& replay,
                   const std::string& text, bool choose) {
  if (!replay.Ran()) return false;
  if (!choose) return tree.Props(target).text == text;
  return tree.Props(target).selected == 0 && !tree.Commands().empty() &&
         tree.Commands().back().control == target && tree.Commands().back().code == 1;
}

// Why the code for the target does not find it, or success. The code that
// acts on it gets a hostile text to set or choose: the target's class name
// and title, or where `long_text`, that text repeated to 100,000 characters.
::testing::AssertionResult CodeFindsTarget(WindowTree& tree, WindowHandle target,
                                           bool long_text) {
  const codegen::FinderPlanResult planned =
      codegen::PlanFinderCode(std::to_string(target), tree);
  const auto* plan = std::get_if<codegen::SearchPlan>(&planned);
  if (plan == nullptr) return ::testing::AssertionFailure() << "no code generated\n";
  const WindowSpec original = tree.Props(target);
  std::string text = original.class_name + original.text;
  while (long_text && text.size() < 100000) text += text + "\u201d";
  for (const VbVariant& variant : kVbVariants) {
    const std::string code = EmitFinderCode(*plan, variant.language, variant.style);
    const std::vector<std::string> problems = CheckFinderCode(code);
    const ReplayResult replay = ReplayFinderCode(code, tree);
    // An action in a sixth of the cases, the variants and actions in turn.
    const auto turn = static_cast<std::size_t>(target) + (&variant - kVbVariants);
    const bool choose = turn / 6 % 2 == 1;
    codegen::FinderStyle style = variant.style;
    style.action = codegen::PlanAction(
        choose ? codegen::Action::kChooseItem : codegen::Action::kSetText,
        choose ? codegen::TargetKind::kComboBox : codegen::TargetKind::kEdit, choose);
    style.action.text = text;
    tree.SetItems(target, {{text + "tail"}});
    const bool acts = long_text || turn % 6 == 0;
    const std::string acting = acts ? EmitFinderCode(*plan, variant.language, style) : "";
    const ReplayResult acted =
        acts ? ReplayActionCode(acting, tree, !choose) : ReplayResult{};
    const bool arrived = !acts || ActionArrives(tree, target, acted, text, choose);
    tree.SetLiveText(target, original.text, 0);
    if (problems.empty() && replay.Ran() && replay.found == target && arrived) continue;
    auto failure = ::testing::AssertionFailure();
    for (const std::string& problem : problems) failure << problem << '\n';
    failure << replay << ", wanted " << target << "\ncode:\n" << Numbered(code);
    if (!arrived)
      failure << "\nthe action did not arrive: " << acted << "\n" << Numbered(acting);
    return failure;
  }
  return ::testing::AssertionSuccess();
}

// Far deeper than the random chains: numbered names must stay within 255
// characters for the longest class names too, however many levels repeat one.
TEST(FinderDeepChainTest, ThousandLevelsOfTheLongestClassName) {
  std::string longest;
  for (int i = 0; i < 255; ++i) {
    longest += static_cast<char>((i % 2 ? 'a' : 'A') + i % 26);
  }
  WindowTree tree;
  WindowHandle target = tree.AddTopLevel({.class_name = longest});
  for (int level = 1; level < 1000; ++level) {
    target = tree.AddChild(target, {.class_name = longest});
  }
  const codegen::FinderResult result =
      codegen::GenerateFinderCode(std::to_string(target), tree);
  const auto* code = std::get_if<codegen::FinderCode>(&result);
  ASSERT_NE(code, nullptr);
  const std::vector<std::string> problems = CheckFinderCode(code->text);
  EXPECT_TRUE(problems.empty())
      << problems.size() << " problems, the first: " << problems[0];
  const ReplayResult replay = ReplayFinderCode(code->text, tree);
  EXPECT_TRUE(replay.Ran() && replay.found == target) << replay << ", wanted " << target;
}

// A list that loses its last item while the code reads it: the Visual Basic
// code stops there, as the other languages' code does, rather than fail; a
// list that goes away: it says so.
TEST(ActionReplayTest, AListThatChangesWhileItIsRead) {
  for (const bool destroyed : {false, true}) {
    WindowTree tree;
    const WindowHandle box =
        tree.AddChild(tree.AddTopLevel({.class_name = "WsShrink"}),
                      {.class_name = "ListBox", .items = {{"a"}, {"b"}}});
    ForwardingWindows changing(tree);
    int queries = 0;  // the count, then the length and the text of each item
    changing.after_items_query = [&] {
      if (++queries != 4) return;
      destroyed ? tree.Destroy(box) : tree.SetItems(box, {{"a"}});
    };
    codegen::FinderStyle style;
    style.action = codegen::PlanAction(codegen::Action::kReadItems,
                                       codegen::TargetKind::kListBox, false);
    const std::string code = EmitFinderCode(
        std::get<codegen::SearchPlan>(codegen::PlanFinderCode(std::to_string(box), tree)),
        codegen::FinderLanguage::kVisualBasic, style);
    const ReplayResult replay = ReplayActionCode(code, changing);
    EXPECT_TRUE(replay.Ran()) << replay << "\n" << Numbered(code);
    std::vector<std::string> printed = {"a"};
    if (destroyed) {
      printed.push_back(
          "The window went away or stopped answering while its items were read.");
    }
    EXPECT_EQ(replay.printed, printed);
  }
}

// Levels named as the functions that the reading actions call, which a
// variable of the name would hide.
TEST(ActionReplayTest, LevelsNamedAsTheFunctionsTheActionsCall) {
  for (const char* name : {"Left", "String", "StrPtr", "SendMessageTimeout", "Debug"}) {
    WindowTree tree;
    const WindowHandle box = tree.AddChild(tree.AddTopLevel({.class_name = name}),
                                           {.class_name = "ListBox", .items = {{"a"}}});
    for (codegen::Action action :
         {codegen::Action::kReadText, codegen::Action::kReadItems}) {
      codegen::FinderStyle style;
      style.action = codegen::PlanAction(action, codegen::TargetKind::kListBox, false);
      const std::string code =
          EmitFinderCode(std::get<codegen::SearchPlan>(
                             codegen::PlanFinderCode(std::to_string(box), tree)),
                         codegen::FinderLanguage::kVisualBasic, style);
      const ReplayResult replay = ReplayActionCode(code, tree);
      EXPECT_TRUE(replay.Ran()) << name << ": " << replay << "\n" << Numbered(code);
    }
  }
}

class FinderPropertyTest : public ::testing::TestWithParam<TreeShape> {};

TEST_P(FinderPropertyTest, CodeForEveryWindowCompilesAndFindsIt) {
  const TreeShape& shape = GetParam();
  // Full reports for the first few failing desktops; one line for the rest.
  int detailed_reports = 3;
  for (unsigned seed = shape.first_seed; seed < shape.first_seed + kSeedsPerShape;
       ++seed) {
    const RandomDesktop desktop(seed, shape);
    WindowTree tree = desktop.Tree();
    int failing = 0;
    std::string first_report;
    for (WindowHandle target : desktop.Windows()) {
      const ::testing::AssertionResult found = CodeFindsTarget(
          tree, target, seed == shape.first_seed && target == desktop.Windows()[0]);
      if (found) continue;
      if (failing++ == 0) {
        first_report = "target " + std::to_string(target) + ": " + found.message();
      }
    }
    if (failing == 0) continue;
    if (detailed_reports-- > 0) {
      ADD_FAILURE() << "seed " << seed << ": " << failing << " of "
                    << desktop.Windows().size() << " windows not found; first "
                    << first_report << "desktop:\n"
                    << desktop.Tree().Dump();
    } else {
      ADD_FAILURE() << "seed " << seed << ": " << failing << " of "
                    << desktop.Windows().size() << " windows not found; first "
                    << first_report.substr(0, first_report.find('\n'));
    }
  }
}

// Fields in TreeShape's order: name, first seed, top-level windows, owned
// windows, depth, children, chain depth, wide level, hostile percent.
constexpr TreeShape kShapes[] = {
    {"Mixed", 1000, 6, 4, 4, 4, 0, 0, 20},
    {"DeepChains", 2000, 2, 1, 2, 2, 50, 0, 20},
    {"WideLevels", 3000, 3, 1, 2, 3, 0, 200, 10},
    {"OwnedWindows", 4000, 4, 8, 3, 3, 0, 0, 10},
    {"ManyInstances", 5000, 60, 10, 2, 2, 0, 0, 10},
    {"HostileNames", 6000, 4, 3, 4, 4, 10, 30, 90},
};

INSTANTIATE_TEST_SUITE_P(Shapes, FinderPropertyTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<TreeShape>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace winscout::testing
