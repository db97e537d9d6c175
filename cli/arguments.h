#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_language.h"
#include "platform/window_system.h"

namespace winscout::cli {

enum class Verb { kHelp, kTree, kDetails, kCode, kSnapshot, kCompare };

// How the command names its window: a handle, a point on the screen, or the
// class (and title) of each level from a top-level window down.
struct WindowChoice {
  std::optional<WindowHandle> handle;
  std::optional<ScreenPoint> at;
  // Each piece "Class" or "Class|Title"; an empty class is any class.
  std::vector<std::string> path;
};

struct Command {
  Verb verb = Verb::kHelp;
  bool json = false;
  std::string filter;
  WindowChoice window;
  codegen::FinderLanguage language = codegen::FinderLanguage::kVisualBasic;
  codegen::FinderStyle style;
  codegen::Action action = codegen::Action::kFindOnly;
  std::optional<std::string> text;  // for --text
  std::string before, after;        // the snapshots that compare reads
};

// What was wrong with the arguments, in a line.
struct UsageError {
  std::string text;
};

// The arguments after the program's name.
std::variant<Command, UsageError> ParseArguments(const std::vector<std::string>& args);

// "12345", "-5" or "0x1A2B"; nothing for anything else.
std::optional<WindowHandle> ParseHandle(std::string_view text);

// What --help prints: a line a command.
std::string HelpText();

}  // namespace winscout::cli
