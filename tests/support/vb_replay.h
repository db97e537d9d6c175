#pragma once

// Reads the finder code the way Visual Basic would run it: a strict parser of
// its few line forms and an interpreter that makes the same window searches on
// a WindowSystem. Written from the line forms alone, so that it checks the
// generator rather than agreeing with it.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace winscout::testing {

enum class VbLineKind {
  kDeclaration,   // Dim v As Long
  kFindWindow,    // v = FindWindow(L, vbNullString)
  kFindWindowEx,  // v = FindWindowEx(p, 0 | v, L, vbNullString)
  kDesktop,       // v = GetDesktopWindow()
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
  // The value of the string expression, byte for byte.
  std::string class_name;
};

struct VbParse {
  std::vector<VbLine> lines;
  // The code opens with a comment that asks for FindWindowW and
  // FindWindowExW: it runs with declarations that pass Unicode.
  bool unicode_calls = false;
  // Empty when every line matched a line form; otherwise the first line that
  // did not, with its number and text.
  std::string error;
};

// Lines are separated by CR LF, with none after the last. The first line may
// be a comment.
VbParse ParseFinderCode(std::string_view text);

// The name in the form in which Visual Basic compares names: without regard
// to case.
std::string FoldVbName(std::string_view name);

// A line of code with its control characters made visible, for messages.
std::string VisibleText(std::string_view text);

struct ReplayResult {
  // Empty when the code ran to its end.
  std::string error;
  // The window the last declared variable holds after the last line.
  WindowHandle found = 0;

  bool Ran() const { return error.empty(); }
  friend std::ostream& operator<<(std::ostream& out, const ReplayResult& result);
};

// Runs the code against the windows: FindWindow is a top-level search,
// FindWindowEx a search among the parent's children (0: the top-level
// windows). Variables start at 0 when declared, as Long variables do. Without
// Unicode declarations a class name reaches the search through the ANSI code
// page: one that the code page cannot hold finds no window.
ReplayResult ReplayFinderCode(std::string_view text, const WindowSystem& windows);

}  // namespace winscout::testing
