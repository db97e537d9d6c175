#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace winscout::codegen {

// Class names are read with room for the longest one a class can have.
inline constexpr int kClassNameCapacity = 257;

struct PlannedLevel {
  // How the code finds the level's window.
  enum class Key {
    kPosition,  // class searches, as many as `calls`
    kDesktop,   // the desktop window, which no class search finds
  };
  std::string class_name;
  // What the level's variable name is made from: the same on every run.
  std::string name_source;
  // How many calls find this level's window. For the anchor (the first
  // level): the top-level search and then further top-level searches; below
  // it: the first search among the parent's children and further ones. 0 for
  // the levels the replay never reached.
  int calls = 0;
  Key key = Key::kPosition;
  // Whether code that calls the ANSI functions can search for the class (or
  // its start): it comes back unchanged through the ANSI code page. Every
  // search of the plan is the Unicode one, which gives the same windows where
  // this holds.
  bool ansi_class = true;
  // Where the class name changes from run to run: the start every run's name
  // has, which the code matches instead of the whole name.
  std::optional<std::string> class_start;
  // What else picks out the level's window now, for code that should survive
  // a restart of its program: a control ID that no other child of the
  // parent has (0: none), or a title that, with the class, matches no other
  // window under the parent (or among the top-level windows): whole, or a
  // document title's end, the program's name.
  std::int32_t unique_id = 0;
  std::optional<std::string> unique_title;
  std::optional<std::string> title_end;
  bool ansi_title = true;
};

// The replayed searches that find a window again, from the anchor (a
// top-level window) down to the target. Every level gets a variable; the
// language emitters turn the plan into text.
struct SearchPlan {
  std::vector<PlannedLevel> levels;
};

// `target_class` is the target's class as already read by the caller.
SearchPlan PlanSearches(const WindowSystem& windows, WindowHandle target,
                        std::string target_class);

}  // namespace winscout::codegen
