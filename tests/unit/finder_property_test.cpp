// The finder code for every window of many random desktops compiles as Visual
// Basic and, replayed on the same desktop, finds exactly that window. The
// checker and the interpreter are tested first, so that a green property test
// means something.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "codegen/finder_code.h"
#include "platform/model/window_tree.h"
#include "tests/support/crlf_lines.h"
#include "tests/support/vb_check.h"
#include "tests/support/vb_replay.h"

namespace winscout::testing {
namespace {

using model::OwnedStyle;
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
      {"window name instead of vbNullString", dim + R"(F = FindWindow("Edit", 0))",
       "line 2 matches"},
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
  for (const BadReplay& c : cases) {
    SCOPED_TRACE(c.name);
    const ReplayResult result = ReplayFinderCode(c.text, tree_);
    EXPECT_NE(result.error.find(c.error), std::string::npos)
        << result << "\nwanted: " << c.error << "\n"
        << Numbered(c.text);
  }
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
                  "Dim Text As Long", R"(FINDWINDOW = FindWindow("a", vbNullString))"}),
       {"line 1: FINDWINDOW is a reserved word", "line 2: Chr is a reserved word",
        "line 3: vbnullstring is a reserved word", "line 4: Text is a reserved word"}},
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

struct TreeShape {
  const char* name = "";
  unsigned first_seed = 0;
  int top_levels = 1;       // at most
  int owned = 0;            // owned pop-ups and owned overlapped windows, at most
  int max_depth = 0;        // of the random growth under each top-level window
  int max_children = 0;     // per window in the random growth
  int chain_depth = 0;      // one deep chain of up to this many levels; 0 for none
  int wide_level = 0;       // one level with up to this many children; 0 for none
  int hostile_percent = 0;  // share of class names drawn from the hostile ones
};

void PrintTo(const TreeShape& shape, std::ostream* out) { *out << shape.name; }

// Room for the searches of every window in a few seconds in all.
constexpr std::size_t kMaxWindows = 700;
constexpr unsigned kSeedsPerShape = 60;

constexpr std::string_view kOrdinaryNames[] = {
    "Edit",          "Button",       "ComboBox",    "ListBox",           "Main_Frame2",
    "SysListView32", "Afx:400000:8", "Tool.Pane 2", "msctls_progress32", "RichEdit20A"};
// Visual Basic words, and words the code uses, as class names.
constexpr std::string_view kKeywordNames[] = {
    "Static",   "Date",     "String",  "Object",     "Error",        "Type",
    "Me",       "Long",     "Dim",     "Integer",    "Text",         "Rem",
    "Next",     "Variant",  "Nothing", "End",        "Int",          "Array",
    "Fix",      "Len",      "Mid",     "Name",       "Line",         "CDecl",
    "DoEvents", "LBound",   "Chr",     "FindWindow", "FindWindowEx", "vbNullString",
    "sTaTiC",   "Static_2", "Date#1",  "AndAlso",    "Module"};
// Different classes with one variable name.
constexpr std::string_view kSameNameNames[] = {"Edit1",   "Edit2", "EDIT", "edit",
                                               "E_d_i_t", "Ed.it", "X"};
constexpr std::string_view kNoLetterNames[] = {"#32770", "123", "#32768", "_",
                                               "1",      " ",   "::",     "42.0"};
constexpr std::string_view kHostileNames[] = {"\"",
                                              "a\"b",
                                              "\"\"",
                                              "\" & Chr(10) & \"",
                                              "a\r\nb",
                                              "\r",
                                              "\n",
                                              "\t",
                                              "x\x01y",
                                              "\x7f",
                                              "\x1f",
                                              "Ünïcode",
                                              "日本",
                                              "\xff\xfe",
                                              ", vbNullString)",
                                              "Dim X As Long",
                                              "a & b",
                                              "Chr(65)",
                                              "'",
                                              "\"\r\n"};
// Bytes for random hostile names: code syntax, control characters, non-ASCII.
constexpr std::string_view kHostileBytes =
    "aZq9_ #\"&(),.'\r\n\t\x01\x1f\x7f\x80\xc3\xa9\xff";

class RandomDesktop {
 public:
  RandomDesktop(unsigned seed, const TreeShape& shape)
      : shape_(shape), random_(seed), tree_(FirstHandle(seed)) {
    MakeLongNames();
    AddTopLevelWindows();
    const std::vector<WindowHandle> tops = windows_;
    // Every third desktop gets the full depth and width.
    if (shape.chain_depth > 0) {
      AddChain(Pick(tops),
               seed % 3 == 0 ? shape.chain_depth : Uniform(1, shape.chain_depth));
    }
    if (shape.wide_level > 0) {
      AddWideLevel(Pick(windows_),
                   seed % 3 == 0 ? shape.wide_level : Uniform(1, shape.wide_level));
    }
    for (WindowHandle top : tops) Grow(top, 1);
  }

  const WindowTree& Tree() const { return tree_; }
  const std::vector<WindowHandle>& Windows() const { return windows_; }

 private:
  // Handles cross 0 in some desktops and sit at the ends of the range in
  // others, so that negative handle texts are exercised too.
  static WindowHandle FirstHandle(unsigned seed) {
    constexpr WindowHandle kFirst[] = {0x00010010, -2147480000, -40, 0x7ffe0000};
    return kFirst[seed % 4];
  }

  int Uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
  }
  bool Chance(int percent) { return Uniform(1, 100) <= percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(
        Uniform(0, static_cast<int>(items.size()) - 1))];
  }
  template <std::size_t N>
  std::string Pick(const std::string_view (&items)[N]) {
    return std::string(
        items[static_cast<std::size_t>(Uniform(0, static_cast<int>(N) - 1))]);
  }
  bool Full() const { return windows_.size() >= kMaxWindows; }

  // Class names of up to 255 characters that share their first 240 letters,
  // so that long variable names repeat along a chain.
  void MakeLongNames() {
    std::string letters;
    for (int i = 0; i < 255; ++i) {
      letters += static_cast<char>((Chance(50) ? 'a' : 'A') + Uniform(0, 25));
    }
    std::string other_case = letters;
    for (char& c : other_case) c = static_cast<char>(c ^ 0x20);
    std::string other_tail = letters.substr(0, 245);
    for (int i = 0; i < 10; ++i) other_tail += static_cast<char>('a' + Uniform(0, 25));
    long_names_ = {letters, letters.substr(0, 254) + "7", other_case, other_tail,
                   letters.substr(0, 250) + "\"\r\n\x01\xe9"};
  }

  std::string ClassName() {
    if (Chance(shape_.hostile_percent)) {
      switch (Uniform(0, 2)) {
        case 0:
          return Pick(kHostileNames);
        case 1:
          return Pick(long_names_);
        default: {
          const int length = Chance(10) ? 255 : Uniform(1, 12);
          std::string name;
          for (int i = 0; i < length; ++i) {
            name += kHostileBytes[static_cast<std::size_t>(
                Uniform(0, static_cast<int>(kHostileBytes.size()) - 1))];
          }
          return name;
        }
      }
    }
    switch (Uniform(0, 3)) {
      case 0:
        return Pick(kOrdinaryNames);
      case 1:
        return Pick(kKeywordNames);
      case 2:
        return Pick(kSameNameNames);
      default:
        return Pick(kNoLetterNames);
    }
  }

  WindowHandle Add(WindowHandle parent, std::string class_name) {
    const WindowHandle window =
        tree_.AddChild(parent, {.class_name = std::move(class_name)});
    windows_.push_back(window);
    return window;
  }

  // Top-level and owned windows in random order, so that owned windows sit
  // above and below their owners; some top-level windows are second instances
  // (the class of an earlier one), some owners are owned windows themselves.
  void AddTopLevelWindows() {
    int tops = Uniform(1, shape_.top_levels);
    int owned = Uniform(0, shape_.owned);
    std::vector<std::string> top_classes;
    while (tops + owned > 0) {
      if (windows_.empty() || (tops > 0 && Uniform(1, tops + owned) <= tops)) {
        --tops;
        std::string class_name =
            !top_classes.empty() && Chance(40) ? Pick(top_classes) : ClassName();
        top_classes.push_back(class_name);
        windows_.push_back(tree_.AddTopLevel({.class_name = std::move(class_name)}));
      } else {
        --owned;
        const OwnedStyle style =
            Chance(50) ? OwnedStyle::kPopup : OwnedStyle::kOverlapped;
        windows_.push_back(
            tree_.AddOwned(Pick(windows_), {.class_name = ClassName()}, style));
      }
    }
  }

  // Siblings of the chain's class before each chain window, so that levels
  // need further searches; same-class nesting now and then.
  void AddChain(WindowHandle top, int depth) {
    WindowHandle parent = top;
    std::string parent_class = tree_.ClassName(top, 512);
    for (int level = 0; level < depth && !Full(); ++level) {
      std::string class_name = Chance(30) ? parent_class : ClassName();
      for (int i = Uniform(0, 2); i > 0; --i) {
        Add(parent, Chance(50) ? class_name : ClassName());
      }
      const WindowHandle next = Add(parent, class_name);
      for (int i = Uniform(0, 2); i > 0; --i) {
        Add(parent, Chance(50) ? class_name : ClassName());
      }
      parent = next;
      parent_class = std::move(class_name);
    }
  }

  void AddWideLevel(WindowHandle parent, int width) {
    const std::vector<std::string> classes = {ClassName(), ClassName(), ClassName()};
    for (int i = 0; i < width && !Full(); ++i) {
      const WindowHandle child = Add(parent, Pick(classes));
      if (Chance(5)) Add(child, ClassName());
    }
  }

  void Grow(WindowHandle parent, int depth) {
    if (depth > shape_.max_depth) return;
    const std::string parent_class = tree_.ClassName(parent, 512);
    std::string previous;
    for (int i = Uniform(0, shape_.max_children); i > 0 && !Full(); --i) {
      std::string class_name = Chance(20)                        ? parent_class
                               : !previous.empty() && Chance(30) ? previous
                                                                 : ClassName();
      previous = class_name;
      const WindowHandle child = Add(parent, std::move(class_name));
      if (Chance(60)) Grow(child, depth + 1);
    }
  }

  const TreeShape& shape_;
  std::mt19937 random_;
  WindowTree tree_;
  std::vector<WindowHandle> windows_;
  std::vector<std::string> long_names_;
};

// Why the code for the target does not find it, or success.
::testing::AssertionResult CodeFindsTarget(const WindowTree& tree, WindowHandle target) {
  const codegen::FinderResult result =
      codegen::GenerateFinderCode(std::to_string(target), tree);
  const auto* code = std::get_if<codegen::FinderCode>(&result);
  if (code == nullptr) return ::testing::AssertionFailure() << "no code generated\n";
  const std::vector<std::string> problems = CheckFinderCode(code->text);
  const ReplayResult replay = ReplayFinderCode(code->text, tree);
  if (problems.empty() && replay.Ran() && replay.found == target) {
    return ::testing::AssertionSuccess();
  }
  auto failure = ::testing::AssertionFailure();
  for (const std::string& problem : problems) failure << problem << '\n';
  failure << replay << ", wanted " << target << "\ncode:\n" << Numbered(code->text);
  return failure;
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

class FinderPropertyTest : public ::testing::TestWithParam<TreeShape> {};

TEST_P(FinderPropertyTest, CodeForEveryWindowCompilesAndFindsIt) {
  const TreeShape& shape = GetParam();
  // Full reports for the first few failing desktops; one line for the rest.
  int detailed_reports = 3;
  for (unsigned seed = shape.first_seed; seed < shape.first_seed + kSeedsPerShape;
       ++seed) {
    const RandomDesktop desktop(seed, shape);
    int failing = 0;
    std::string first_report;
    for (WindowHandle target : desktop.Windows()) {
      const ::testing::AssertionResult found = CodeFindsTarget(desktop.Tree(), target);
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
