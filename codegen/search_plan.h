#pragma once

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
  // How many calls find this level's window. For the anchor (the first
  // level): the top-level search and then further top-level searches; below
  // it: the first search among the parent's children and further ones. 0 for
  // the levels the replay never reached.
  int calls = 0;
  Key key = Key::kPosition;
  // Whether code that calls the ANSI functions can search for the class: its
  // name comes back unchanged through the ANSI code page. Every search of the
  // plan is the Unicode one, which gives the same windows where this holds.
  bool ansi_class = true;
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
