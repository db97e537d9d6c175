#pragma once

// Reads the finder code the way Visual Basic would run it: a strict parser of
// its few line forms and an interpreter that makes the same window searches on
// a WindowSystem. Written from the line forms alone, so that it checks the
// generator rather than agreeing with it.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace winscout::testing {

enum class VbLineKind {
  kDeclaration,   // Dim v As Long (LongPtr in VBA)
  kFindWindow,    // v = FindWindow(S, T)
  kFindWindowEx,  // v = FindWindowEx(p, 0 | v, S, T)
  kDesktop,       // v = GetDesktopWindow()
  kDialogItem,    // v = GetDlgItem(p, N)
  kFindLike,      // v = FindWindowLike(p, 0 | v, S, T, S, S), the routine below
  kResult,        // FindTarget = v, in a function
  kStatement,     // any other statement, where the parse takes the action code
};

// A string argument S or T: a string expression, StrPtr of one, or none
// (vbNullString, or 0 where the function takes a pointer).
struct VbString {
  std::optional<std::string> value;
  bool pointer = false;
};

// Private Declare [PtrSafe] Function Name Lib "user32" [Alias "..."] (...) As T
struct VbDeclare {
  int number = 0;
  std::string name;
  std::string entry;  // the alias, or the name
  bool ptr_safe = false;
  // The type of each parameter, and of the result.
  std::vector<std::string> parameter_types;
  std::string result_type;  // empty for a Sub
  std::string lib = "user32";
  // The parameters passed by reference (without ByVal), by index.
  std::vector<bool> by_reference;
};

struct VbLine {
  int number = 0;  // from 1
  VbLineKind kind = VbLineKind::kDeclaration;
  // The declared or the assigned variable, as spelt.
  std::string variable;
  // FindWindowEx: the parent variable, or empty for the literal 0.
  std::string parent;
  // FindWindowEx: true when the search goes on after the variable's window.
  bool after_variable = false;
  // FindWindow, FindWindowEx, FindWindowLike: the class and the title.
  VbString class_name;
  VbString title;
  // FindWindowLike: how the class begins and the title ends.
  VbString class_start;
  VbString title_end;
  // GetDlgItem: the control ID.
  std::int32_t id = 0;
  // Dim: the type; Dim As String: the text the lines after it build, if any.
  std::string type;
  std::string text;
  // A statement: its text, without the indent.
  std::string statement;
};

// The routine FindWindowLike(hWndParent, hWndAfter, ClassName, Title,
// ClassStart, TitleEnd): FindWindowEx on from hWndAfter to the first window
// whose class begins with ClassStart and whose title ends with TitleEnd
// (vbNullString: any), by GetClassName, GetWindowTextLength and GetWindowText.
// Its text is fixed but for the handle type of its heading and, in the
// pointer form, StrPtr around the strings its three text calls pass.
struct VbHelper {
  int number = 0;           // the heading's line; 0 when the code has no such routine
  std::string handle_type;  // of the heading's handles and result
  bool pointers = false;    // passes StrPtr of its strings
};

struct VbParse {
  std::vector<VbLine> lines;
  VbHelper helper;
  // The Declare lines, if the code has them.
  std::vector<VbDeclare> declares;
  // A comment asks for FindWindowW and FindWindowExW: without Declare lines
  // of its own, the code runs with declarations that pass Unicode.
  bool unicode_calls = false;
  // A comment asks for GetClassNameW and GetWindowTextW too: FindWindowLike
  // compares Unicode texts.
  bool unicode_text_calls = false;
  // VBA: the function the code is in, its result type and the line of its
  // end; empty for plain lines.
  std::string function;
  std::string function_type;
  int function_end = 0;
  // Empty when every line matched a line form; otherwise the first line that
  // did not, with its number and text.
  std::string error;
};

// Lines are separated by CR LF, with none after the last. Comment lines are
// skipped, and a blank one only after the declarations of VBA and after the
// FindWindowLike routine, which must be followed by one; of an #If VBA7 Then ... #Else
// ... #End If block the parse takes one branch: the first where `vba7`, the other
// otherwise.
// With `actions`, a line that matches no line form is kept as a statement
// for ReplayActionCode to run.
VbParse ParseFinderCode(std::string_view text, bool vba7 = true, bool actions = false);

// The name in the form in which Visual Basic compares names: without regard
// to case.
std::string FoldVbName(std::string_view name);

// A line of code with its control characters made visible, for messages.
std::string VisibleText(std::string_view text);

struct ReplayResult {
  // Empty when the code ran to its end.
  std::string error;
  // The window the function returns, or else the last declared variable
  // holds, after the last line.
  WindowHandle found = 0;
  // What the action code printed (Debug.Print), one entry a line.
  std::vector<std::string> printed;

  bool Ran() const { return error.empty(); }
  friend std::ostream& operator<<(std::ostream& out, const ReplayResult& result);
};

// Runs the code against the windows: FindWindow is a top-level search,
// FindWindowEx a search among the parent's children (0: the top-level
// windows), FindWindowLike the same search filtered by the routine's
// comparisons, which the code must hold. Variables start at 0 when declared, as Long
// variables do. The strings reach the functions as the Declare lines (or, without them,
// the comment) say: through the ANSI code page, where a text it cannot hold finds no
// window, or whole to the W functions.
ReplayResult ReplayFinderCode(std::string_view text, const WindowSystem& windows);

// Runs finder code with action code around and after it: Const, Dim, If ...
// Then (a block, or one statement), For ... To, Next, Exit For, Exit Sub, a
// Sub, Debug.Print, and the calls SendMessageTimeout, SendMessage,
// PostMessage, GetParent, GetDlgCtrlID and Sleep with integer arithmetic,
// comparisons, And, String$, Left$ and StrPtr. The messages act through the
// window system's operations (WM_GETTEXT reads the text the window answers,
// BM_CLICK is a posted click...); a buffer too small for what a message
// writes, a send without SMTO_ABORTIFHUNG or a message it does not know is
// an error. CB_SELECTSTRING and LB_SELECTSTRING find the item, and the choice
// is made when the code tells the parent of it by WM_COMMAND with the
// selection change: the window system's ChooseItem does both at once.
// Sleep waits only where `pause` is given, for the real windows' sake.
ReplayResult ReplayActionCode(std::string_view text, WindowSystem& windows,
                              bool vba7 = true,
                              void (*pause)(int milliseconds) = nullptr);

}  // namespace winscout::testing
