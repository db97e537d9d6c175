#include "codegen/search_plan.h"

#include <algorithm>
#include <unordered_set>

namespace winscout::codegen {
namespace {

struct ChainLevel {
  WindowHandle window = 0;
  std::string class_name;
};

// From the top-most ancestor down to the target. The walk stops where a
// handle repeats, so a parent loop (a window tree changing under us) cannot
// make it endless.
std::vector<ChainLevel> WalkChain(const WindowSystem& windows, WindowHandle target,
                                  std::string target_class) {
  std::vector<ChainLevel> chain{{target, std::move(target_class)}};
  std::unordered_set<WindowHandle> seen{target};
  for (WindowHandle w = windows.Parent(target); w != 0 && seen.insert(w).second;
       w = windows.Parent(w)) {
    chain.push_back({w, windows.ClassName(w, kClassNameCapacity)});
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

// How many searches `FindWindowEx(parent, previous, class)`, from the first,
// take to give the level's window: its place among the windows of its class,
// from one enumeration of them. 0 if the searches never give it.
int CountSearches(const WindowSystem& windows, WindowHandle parent,
                  const ChainLevel& level, WindowHandle* first = nullptr) {
  const std::vector<WindowHandle> found =
      windows.ChildrenOfClass(parent, level.class_name);
  if (first) *first = found.empty() ? 0 : found.front();
  const auto it = std::ranges::find(found, level.window);
  return it == found.end() ? 0 : static_cast<int>(it - found.begin()) + 1;
}

// Finds the level's window among the top-level windows. Another window of
// the class may come first (a second instance of the application): further
// top-level searches reach ours. If none does, the replay goes on under the
// first one found. Returns the window to search under next.
WindowHandle Anchor(const WindowSystem& windows, const ChainLevel& level, int& calls) {
  WindowHandle first = 0;
  const int top_calls = CountSearches(windows, 0, level, &first);
  calls = std::max(top_calls, 1);
  return top_calls > 0 ? level.window : first;
}

}  // namespace

SearchPlan PlanSearches(const WindowSystem& windows, WindowHandle target,
                        std::string target_class) {
  if (target == windows.DesktopWindow()) {
    return {{{.class_name = std::move(target_class),
              .calls = 1,
              .key = PlannedLevel::Key::kDesktop}}};
  }
  const std::vector<ChainLevel> chain =
      WalkChain(windows, target, std::move(target_class));
  std::vector<int> calls(chain.size(), 0);
  std::size_t anchor = 0;
  WindowHandle parent = Anchor(windows, chain[0], calls[0]);
  for (std::size_t k = 1; parent != 0 && k < chain.size(); ++k) {
    const ChainLevel& level = chain[k];
    if (level.class_name.empty()) break;
    calls[k] = CountSearches(windows, parent, level);
    if (calls[k] != 0) {
      parent = level.window;
    } else {
      // Not among its parent's children (an owned window, whose parent is
      // really its owner): the code starts again from this level.
      anchor = k;
      parent = Anchor(windows, level, calls[k]);
    }
  }
  SearchPlan plan;
  for (std::size_t k = anchor; k < chain.size(); ++k) {
    plan.levels.push_back({.class_name = chain[k].class_name,
                           .calls = calls[k],
                           .ansi_class = windows.AnsiCodePageHolds(chain[k].class_name)});
  }
  return plan;
}

}  // namespace winscout::codegen
