#include "codegen/search_plan.h"

#include <algorithm>
#include <set>

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
  std::set<WindowHandle> seen{target};
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
      windows.ChildrenOfClass(parent, level.class_name, level.window);
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

// Titles longer than this are more than a short line.
constexpr std::size_t kMaxSturdyTitle = 60;
// Titles are read with room for one character past that limit.
constexpr int kTitleCapacity = kMaxSturdyTitle + 2;

// The control ID, where it is not 0 and no other child of the parent has it.
std::int32_t UniqueId(const WindowSystem& windows, WindowHandle parent,
                      WindowHandle window) {
  const std::int32_t id = windows.ControlId(window);
  if (id == 0 || windows.DialogItem(parent, id) != window) return 0;
  int holders = 0;
  for (WindowHandle child : windows.ChildWindows(parent)) {
    if (windows.ControlId(child) == id && ++holders > 1) return 0;
  }
  return id;
}

// The title, where it is sturdy and, with the class, the search finds this
// window and no other: the window manager's own search decides.
std::optional<std::string> UniqueTitle(const WindowSystem& windows, WindowHandle parent,
                                       const ChainLevel& level) {
  std::string title = windows.WindowText(level.window, kTitleCapacity);
  if (!IsSturdyTitle(title) ||
      windows.FindChildWithTitle(parent, 0, level.class_name, title) != level.window ||
      windows.FindChildWithTitle(parent, level.window, level.class_name, title) != 0) {
    return std::nullopt;
  }
  return title;
}

// What else picks the level's window out among the windows searched under
// `parent` (0: the top-level windows): an ID of its own, else a title.
void ChooseSturdyKey(const WindowSystem& windows, WindowHandle parent,
                     const ChainLevel& chain_level, PlannedLevel& level) {
  if (parent != 0) level.unique_id = UniqueId(windows, parent, chain_level.window);
  if (level.unique_id != 0) return;
  level.unique_title = UniqueTitle(windows, parent, chain_level);
  if (level.unique_title)
    level.ansi_title = windows.AnsiCodePageHolds(*level.unique_title);
}

}  // namespace

bool IsSturdyTitle(std::string_view title) {
  return !title.empty() && title.size() <= kMaxSturdyTitle &&
         std::ranges::none_of(title, [](char c) {
           return (c >= '0' && c <= '9') || c == '\\' || c == '/' ||
                  static_cast<unsigned char>(c) < 0x20;
         });
}

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
    PlannedLevel level{.class_name = chain[k].class_name,
                       .calls = calls[k],
                       .ansi_class = windows.AnsiCodePageHolds(chain[k].class_name)};
    if (calls[k] > 0) {
      ChooseSturdyKey(windows, k == anchor ? 0 : chain[k - 1].window, chain[k], level);
    }
    plan.levels.push_back(std::move(level));
  }
  return plan;
}

}  // namespace winscout::codegen
