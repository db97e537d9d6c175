#include "codegen/finder_language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/finder_code.h"
#include "codegen/literals.h"
#include "codegen/statements.h"
#include "codegen/python_emitter.h"
#include "platform/model/window_tree.h"
#include "platform/unicode_text.h"
#include "tests/support/crlf_lines.h"
#include "tests/support/random_desktop.h"

namespace winscout::codegen {
namespace {

using model::WindowTree;
using testing::CrLfLines;

SearchPlan PlanFor(WindowHandle target, const WindowSystem& windows) {
  FinderPlanResult result = PlanFinderCode(std::to_string(target), windows);
  return std::get<SearchPlan>(std::move(result));
}

// Main_Frame2 > #32770 > Edit, Edit: the target is the second Edit.
SearchPlan SecondEditPlan() {
  WindowTree tree;
  const WindowHandle frame = tree.AddTopLevel({.class_name = "Main_Frame2"});
  const WindowHandle dialog = tree.AddChild(frame, {.class_name = "#32770"});
  tree.AddChild(dialog, {.class_name = "Edit"});
  return PlanFor(tree.AddChild(dialog, {.class_name = "Edit"}), tree);
}

// A #32770 dialog owned by a Main_Frame2 window: its first Button is the
// target.
SearchPlan OwnedDialogPlan() {
  WindowTree tree;
  const WindowHandle frame = tree.AddTopLevel({.class_name = "Main_Frame2"});
  const WindowHandle dialog = tree.AddOwned(frame, {.class_name = "#32770"});
  const WindowHandle button = tree.AddChild(dialog, {.class_name = "Button"});
  tree.AddChild(dialog, {.class_name = "Button"});
  return PlanFor(button, tree);
}

// Two instances of Main: the target sits in the older, which FindWindow does
// not find first.
SearchPlan SecondInstancePlan() {
  WindowTree tree;
  const WindowHandle older = tree.AddTopLevel({.class_name = "Main"});
  tree.AddTopLevel({.class_name = "Main"});
  return PlanFor(tree.AddChild(older, {.class_name = "Edit"}), tree);
}

// The replay ended at the Button: the Edit below it got no search.
SearchPlan UnreachedLevelPlan() { return {{{"Button", "Button", 1}, {"Edit", "Edit", 0}}}; }

constexpr std::string_view kCSharpImports[] = {
    "[System.Runtime.InteropServices.DllImport(\"user32.dll\", CharSet = "
    "System.Runtime.InteropServices.CharSet.Unicode, SetLastError = true)]",
    "static extern System.IntPtr FindWindowW(string lpClassName, string "
    "lpWindowName);",
    "[System.Runtime.InteropServices.DllImport(\"user32.dll\", CharSet = "
    "System.Runtime.InteropServices.CharSet.Unicode, SetLastError = true)]",
    "static extern System.IntPtr FindWindowExW(System.IntPtr hwndParent, "
    "System.IntPtr hwndChildAfter, string lpszClass, string lpszWindow);",
    "",
    "static System.IntPtr FindTarget()",
    "{"};

constexpr std::string_view kPythonImports[] = {
    "import ctypes",
    "from ctypes import wintypes",
    "",
    "user32 = ctypes.WinDLL(\"user32\", use_last_error=True)",
    "user32.FindWindowW.argtypes = (wintypes.LPCWSTR, wintypes.LPCWSTR)",
    "user32.FindWindowW.restype = wintypes.HWND",
    "user32.FindWindowExW.argtypes = (",
    "    wintypes.HWND, wintypes.HWND, wintypes.LPCWSTR, wintypes.LPCWSTR)",
    "user32.FindWindowExW.restype = wintypes.HWND",
    ""};

std::string CSharp(std::initializer_list<std::string_view> body) {
  std::vector<std::string> lines(std::begin(kCSharpImports), std::end(kCSharpImports));
  lines.insert(lines.end(), body.begin(), body.end());
  lines.push_back("}");
  return JoinLines(lines);
}

std::string Python(std::initializer_list<std::string_view> body) {
  std::vector<std::string> lines(std::begin(kPythonImports), std::end(kPythonImports));
  lines.insert(lines.end(), body.begin(), body.end());
  return JoinLines(lines);
}

struct ExampleCase {
  const char* name;
  SearchPlan (*plan)();
  FinderLanguage language;
  std::string code;
};

void PrintTo(const ExampleCase& c, std::ostream* out) {
  *out << c.name << " in " << FinderLanguageName(c.language);
}

class FinderExampleTest : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(FinderExampleTest, WritesTheWholeCode) {
  EXPECT_EQ(EmitFinderCode(GetParam().plan(), GetParam().language), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FinderExampleTest,
    ::testing::Values(
        ExampleCase{
            "second Edit", SecondEditPlan, FinderLanguage::kCpp,
            CrLfLines({
                R"(HWND hwndMainFrame = FindWindowW(L"Main_Frame2", nullptr);)",
                R"(HWND hwndX = FindWindowExW(hwndMainFrame, nullptr, L"#32770", nullptr);)",
                R"(HWND hwndEdit = FindWindowExW(hwndX, nullptr, L"Edit", nullptr);)",
                R"(hwndEdit = FindWindowExW(hwndX, hwndEdit, L"Edit", nullptr);)",
            })},
        ExampleCase{
            "second Edit", SecondEditPlan, FinderLanguage::kCSharp,
            CSharp({
                R"(    System.IntPtr mainFrame = FindWindowW("Main_Frame2", null);)",
                R"(    System.IntPtr x = FindWindowExW(mainFrame, System.IntPtr.Zero, "#32770", null);)",
                R"(    System.IntPtr edit = FindWindowExW(x, System.IntPtr.Zero, "Edit", null);)",
                R"(    edit = FindWindowExW(x, edit, "Edit", null);)",
                R"(    return edit;)",
            })},
        ExampleCase{"second Edit", SecondEditPlan, FinderLanguage::kPython,
                    Python({
                        R"(main_frame = user32.FindWindowW("Main_Frame2", None))",
                        R"(x = user32.FindWindowExW(main_frame, None, "#32770", None))",
                        R"(edit = user32.FindWindowExW(x, None, "Edit", None))",
                        R"(edit = user32.FindWindowExW(x, edit, "Edit", None))",
                    })},
        ExampleCase{
            "owned dialog", OwnedDialogPlan, FinderLanguage::kCpp,
            CrLfLines({
                R"(HWND hwndX = FindWindowW(L"#32770", nullptr);)",
                R"(HWND hwndButton = FindWindowExW(hwndX, nullptr, L"Button", nullptr);)",
            })},
        ExampleCase{
            "owned dialog", OwnedDialogPlan, FinderLanguage::kCSharp,
            CSharp({
                R"(    System.IntPtr x = FindWindowW("#32770", null);)",
                R"(    System.IntPtr button = FindWindowExW(x, System.IntPtr.Zero, "Button", null);)",
                R"(    return button;)",
            })},
        ExampleCase{"owned dialog", OwnedDialogPlan, FinderLanguage::kPython,
                    Python({
                        R"(x = user32.FindWindowW("#32770", None))",
                        R"(button = user32.FindWindowExW(x, None, "Button", None))",
                    })},
        ExampleCase{
            "second instance", SecondInstancePlan, FinderLanguage::kCpp,
            CrLfLines({
                R"(HWND hwndMain = FindWindowW(L"Main", nullptr);)",
                R"(hwndMain = FindWindowExW(nullptr, hwndMain, L"Main", nullptr);)",
                R"(HWND hwndEdit = FindWindowExW(hwndMain, nullptr, L"Edit", nullptr);)",
            })},
        ExampleCase{
            "second instance", SecondInstancePlan, FinderLanguage::kCSharp,
            CSharp({
                R"(    System.IntPtr main = FindWindowW("Main", null);)",
                R"(    main = FindWindowExW(System.IntPtr.Zero, main, "Main", null);)",
                R"(    System.IntPtr edit = FindWindowExW(main, System.IntPtr.Zero, "Edit", null);)",
                R"(    return edit;)",
            })},
        ExampleCase{"second instance", SecondInstancePlan, FinderLanguage::kPython,
                    Python({
                        R"(main = user32.FindWindowW("Main", None))",
                        R"(main = user32.FindWindowExW(None, main, "Main", None))",
                        R"(edit = user32.FindWindowExW(main, None, "Edit", None))",
                    })},
        ExampleCase{"unreached level", UnreachedLevelPlan, FinderLanguage::kCpp,
                    CrLfLines({
                        R"(HWND hwndButton = FindWindowW(L"Button", nullptr);)",
                        R"(HWND hwndEdit = nullptr;)",
                    })},
        ExampleCase{"unreached level", UnreachedLevelPlan, FinderLanguage::kCSharp,
                    CSharp({
                        R"(    System.IntPtr button = FindWindowW("Button", null);)",
                        R"(    System.IntPtr edit = System.IntPtr.Zero;)",
                        R"(    return edit;)",
                    })},
        ExampleCase{"unreached level", UnreachedLevelPlan, FinderLanguage::kPython,
                    Python({
                        R"(button = user32.FindWindowW("Button", None))",
                        R"(edit = None)",
                    })}));

// ---------------------------------------------------------------------------
// Literals.

struct LiteralCase {
  const char* name;
  std::string class_name;
  std::string cpp;
  std::string csharp;
  std::string python;
};

void PrintTo(const LiteralCase& c, std::ostream* out) { *out << c.name; }

class LiteralTest : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(LiteralTest, SpellsTheClassInEveryLanguage) {
  const LiteralCase& c = GetParam();
  EXPECT_EQ(CppWideLiteral(c.class_name), c.cpp);
  EXPECT_EQ(CSharpLiteral(c.class_name), c.csharp);
  EXPECT_EQ(PythonLiteral(c.class_name), c.python);
}

INSTANTIATE_TEST_SUITE_P(
    HostileClasses, LiteralTest,
    ::testing::Values(
        LiteralCase{"plain", "Main_Frame2", R"(L"Main_Frame2")", R"("Main_Frame2")",
                    R"("Main_Frame2")"},
        LiteralCase{"quote", "a\"b", R"(L"a\"b")", R"("a\"b")", R"("a\"b")"},
        LiteralCase{"backslash before the closing quote", "a\\", R"(L"a\\")", R"("a\\")",
                    R"("a\\")"},
        LiteralCase{"the Visual Basic break-out", "\" & Chr(10) & \"",
                    R"(L"\" & Chr(10) & \"")", R"("\" & Chr(10) & \"")",
                    R"("\" & Chr(10) & \"")"},
        LiteralCase{"CR LF and tab", "a\r\n\tb", R"(L"a\r\n\tb")", R"("a\r\n\tb")",
                    R"("a\r\n\tb")"},
        LiteralCase{"control character before digits",
                    "x\x01"
                    "23",
                    R"(L"x\00123")", R"("x\u000123")", R"("x\x0123")"},
        LiteralCase{"NUL", std::string("a\0b", 3), R"(L"a\000b")", R"("a\u0000b")",
                    R"("a\x00b")"},
        LiteralCase{"DEL", "\x7f", R"(L"\177")", R"("\u007F")", R"("\x7F")"},
        LiteralCase{"trigraphs", "?\?=?\?\?/", R"(L"?\?=?\?\?/")", R"("??=???/")",
                    R"("??=???/")"},
        LiteralCase{"accented letter", "\xC3\xA9t\xC3\xA9", R"(L"\u00E9t\u00E9")",
                    R"("\u00E9t\u00E9")", R"("\xE9t\xE9")"},
        LiteralCase{"CJK", "\xE6\x97\xA5\xE6\x9C\xAC", R"(L"\u65E5\u672C")",
                    R"("\u65E5\u672C")", R"("\u65E5\u672C")"},
        LiteralCase{"beyond the BMP", "\xF0\x9F\x98\x80", R"(L"\U0001F600")",
                    R"("\U0001F600")", R"("\U0001F600")"},
        LiteralCase{"C1 control (a line break to C#)", "\xC2\x85", R"(L"\205")",
                    R"("\u0085")", R"("\x85")"},
        LiteralCase{"line separator", "\xE2\x80\xA8", R"(L"\u2028")", R"("\u2028")",
                    R"("\u2028")"},
        LiteralCase{"bytes that are no UTF-8", "\xFF\xFE", R"(L"\u00FF\u00FE")",
                    R"("\u00FF\u00FE")", R"("\xFF\xFE")"},
        LiteralCase{"cut sequence",
                    "\xE6\x97"
                    "a",
                    R"(L"\u00E6\227a")", R"("\u00E6\u0097a")", R"("\xE6\x97a")"}));

// ---------------------------------------------------------------------------
// Names.

struct NamesCase {
  const char* name;
  std::vector<std::string> classes;
  std::vector<std::string> cpp;
  std::vector<std::string> csharp;
  std::vector<std::string> python;
};

void PrintTo(const NamesCase& c, std::ostream* out) { *out << c.name; }

class NamesTest : public ::testing::TestWithParam<NamesCase> {};

TEST_P(NamesTest, NumbersReservedAndRepeatedNames) {
  const NamesCase& c = GetParam();
  SearchPlan plan;
  for (const std::string& name : c.classes) plan.levels.push_back({name, name, 1});
  EXPECT_EQ(CppNames(plan), c.cpp);
  EXPECT_EQ(CSharpNames(plan), c.csharp);
  EXPECT_EQ(PythonNames(plan), c.python);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, NamesTest,
    ::testing::Values(
        NamesCase{"repeated names, compared as spelt",
                  {"Main_Frame2", "#32770", "Edit", "Edit1", "edit", "EDIT", "x"},
                  {"hwndMainFrame", "hwndX", "hwndEdit", "hwndEdit2", "hwndEdit3",
                   "hwndEDIT", "hwndX2"},
                  {"mainFrame", "x", "edit", "edit2", "edit3", "edit4", "x2"},
                  {"main_frame", "x", "edit", "edit2", "edit3", "edit4", "x2"}},
        NamesCase{
            "words of the languages and of the code itself",
            {"static", "Static", "class", "HWND", "near", "None", "def", "print",
             "ctypes", "var", "System", "FindWindowW", "type", "match"},
            {"hwndStatic", "hwndStatic2", "hwndClass", "hwndHWND", "hwndNear", "hwndNone",
             "hwndDef", "hwndPrint", "hwndCtypes", "hwndVar", "hwndSystem",
             "hwndFindWindowW", "hwndType", "hwndMatch"},
            {"static1", "static2", "class1", "hwnd", "near", "none", "def", "print",
             "ctypes", "var1", "system", "findWindowW", "type", "match"},
            {"static", "static2", "class1", "hwnd", "near", "none", "def1", "print1",
             "ctypes1", "var", "system", "find_window_w", "type1", "match1"}},
        NamesCase{
            "capitals",
            {"HTMLView", "SysListView32", "RichEdit20A", "ABc", "X"},
            {"hwndHTMLView", "hwndSysListView", "hwndRichEditA", "hwndABc", "hwndX"},
            {"htmlView", "sysListView", "richEditA", "aBc", "x"},
            {"html_view", "sys_list_view", "rich_edit_a", "a_bc", "x"}}));

// Whatever the class names, the code has its usual number of lines, each
// without control characters: no name and no literal can start a line of its
// own. Past Visual Basic, which keeps the class's bytes as they are, the code
// is plain ASCII, so that it reads the same in any encoding.
TEST(FinderLanguageTest, HostileClassesAddNoLineAndNoOtherByte) {
  std::vector<std::string> classes(std::begin(testing::kHostileNames),
                                   std::end(testing::kHostileNames));
  classes.insert(classes.end(), std::begin(testing::kHostileCharacters),
                 std::end(testing::kHostileCharacters));
  classes.emplace_back(1, '\0');
  for (FinderLanguage language : kFinderLanguages) {
    SCOPED_TRACE(FinderLanguageName(language));
    const bool ascii =
        language != FinderLanguage::kVisualBasic && language != FinderLanguage::kVba;
    const auto lines = [&](const std::string& class_name) {
      const std::string code =
          EmitFinderCode({{{class_name, class_name, 2}, {class_name, class_name, 2}}}, language);
      for (std::size_t i = 0; i < code.size(); ++i) {
        if (code.compare(i, 2, "\r\n") == 0) {
          ++i;
          continue;
        }
        const auto byte = static_cast<unsigned char>(code[i]);
        EXPECT_TRUE(byte >= 0x20 && byte != 0x7f && (byte < 0x80 || !ascii))
            << "byte " << i << " of the code for "
            << ::testing::PrintToString(class_name);
      }
      return std::count(code.begin(), code.end(), '\n');
    };
    const auto usual = lines("Edit");
    for (const std::string& class_name : classes) {
      EXPECT_EQ(lines(class_name), usual) << ::testing::PrintToString(class_name);
    }
  }
}

// ---------------------------------------------------------------------------
// Decoding.

struct DecodeCase {
  const char* name;
  std::string utf8;
  std::u32string text;
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class CodePointsTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(CodePointsTest, TakesWellFormedSequencesAndSingleBytesOtherwise) {
  EXPECT_TRUE(CodePoints(GetParam().utf8) == GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, CodePointsTest,
    ::testing::Values(
        DecodeCase{"empty", "", U""}, DecodeCase{"ASCII", "a\x7f", U"a\x7f"},
        DecodeCase{"two bytes", "\xC2\x80\xDF\xBF", U"\u0080\u07FF"},
        DecodeCase{"three bytes", "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80",
                   U"\u0800\uD7FF\uE000"},
        DecodeCase{"four bytes", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
                   U"\U00010000\U0010FFFF"},
        DecodeCase{"overlong forms", "\xC1\xBF\xE0\x9F\xBF",
                   U"\u00C1\u00BF\u00E0\u009F\u00BF"},
        DecodeCase{"surrogate", "\xED\xA0\x80", U"\u00ED\u00A0\u0080"},
        DecodeCase{"past U+10FFFF", "\xF4\x90\x80\x80", U"\u00F4\u0090\u0080\u0080"},
        DecodeCase{"lone continuation and lead bytes",
                   "\x80\xC3"
                   "A\xFF",
                   U"\u0080\u00C3A\u00FF"},
        DecodeCase{"sequence cut by the end", "a\xF0\x9F\x98", U"a\u00F0\u009F\u0098"}));

}  // namespace
}  // namespace winscout::codegen
