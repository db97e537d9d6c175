#pragma once

#include <string>
#include <vector>

#include "platform/window_system.h"

namespace winscout::codegen {

// Class names are read with room for the longest one a class can have.
inline constexpr int kClassNameCapacity = 257;

struct PlannedLevel {
  std::string class_name;
  // How many calls find this level's window. For the anchor (the first
  // level): the top-level search and then further top-level searches; below
  // it: the first search among the parent's children and further ones. 0 for
  // the levels the replay never reached.
  int calls = 0;
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
