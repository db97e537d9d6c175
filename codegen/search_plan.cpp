#include "codegen/search_plan.h"

#include <algorithm>

#include "codegen/stable_names.h"
#include "platform/case_blind.h"

namespace winscout::codegen {
namespace {

struct ChainLevel {
  WindowHandle window = 0;
  std::string class_name;
  // The start of a run-dependent class name, matched instead of the whole.
  std::optional<std::string> class_start;
  std::string name_source;
};

// The class is judged here once, for the searches and the names alike.
ChainLevel Level(WindowHandle window, std::string class_name) {
  ClassJudgement judgement = JudgeClassName(class_name);
  ChainLevel level{window, std::move(class_name), std::nullopt,
                   std::move(judgement.name_source)};
  if (judgement.run_dependent) level.class_start = std::move(judgement.stable_part);
  return level;
}

// From the top-most ancestor down to the target. The walk stops where a
// handle repeats, so a parent loop (a window tree changing under us) cannot
// make it endless.
std::vector<ChainLevel> WalkChain(const WindowSystem& windows, WindowHandle target,
                                  std::string target_class) {
  std::vector<ChainLevel> chain{Level(target, std::move(target_class))};
  const auto seen = [&chain](WindowHandle w) {
    return std::ranges::any_of(
        chain, [w](const ChainLevel& level) { return level.window == w; });
  };
  for (WindowHandle w = windows.Parent(target); w != 0 && !seen(w);
       w = windows.Parent(w)) {
    chain.push_back(Level(w, windows.ClassName(w, kClassNameCapacity)));
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

// The windows that a search with no class and no title runs through under
// `parent` (0: the top-level windows), in its order.
std::vector<WindowHandle> EveryWindowUnder(const WindowSystem& windows,
                                           WindowHandle parent) {
  if (parent != 0) return windows.ChildWindows(parent);
  std::vector<WindowHandle> top_level;
  for (const TopLevelWindow& window : windows.TopLevelWindows()) {
    top_level.push_back(window.window);
  }
  return top_level;
}

// The windows of the level's class under `parent`, or whose class begins as
// the level's does, in search order, as far as `through` (0: all).
std::vector<WindowHandle> WindowsOfClass(const WindowSystem& windows, WindowHandle parent,
                                         const ChainLevel& level,
                                         WindowHandle through = 0) {
  if (!level.class_start) {
    return windows.ChildrenOfClass(parent, level.class_name, through);
  }
  std::vector<WindowHandle> found;
  for (WindowHandle window : EveryWindowUnder(windows, parent)) {
    if (windows.ClassName(window, kClassNameCapacity).starts_with(*level.class_start)) {
      found.push_back(window);
    }
    if (window == through) break;
  }
  return found;
}

// How many searches `FindWindowEx(parent, previous, class)` (or the pattern
// helper's), from the first, take to give the level's window: its place among
// the windows of its class, from one enumeration of them. 0 if the searches
// never give it.
int CountSearches(const WindowSystem& windows, WindowHandle parent,
                  const ChainLevel& level, WindowHandle* first = nullptr) {
  const std::vector<WindowHandle> found =
      WindowsOfClass(windows, parent, level, level.window);
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

// Titles are read whole up to this; a longer one is no key.
constexpr int kTitleCapacity = 1025;

// The control ID, where it is sturdy and no other child of the parent has it.
std::int32_t UniqueId(const WindowSystem& windows, WindowHandle parent,
                      WindowHandle window) {
  const std::int32_t id = windows.ControlId(window);
  if (!IsSturdyId(id, window) || windows.DialogItem(parent, id) != window) return 0;
  int holders = 0;
  for (WindowHandle child : windows.ChildWindows(parent)) {
    if (windows.ControlId(child) == id && ++holders > 1) return 0;
  }
  return id;
}

// Whether the key, with the class, finds the level's window and no other
// among the windows searched under `parent`: the window manager's own search
// decides for a whole title and a whole class, the pattern helper's
// comparisons otherwise.
bool TitleFindsOnlyIt(const WindowSystem& windows, WindowHandle parent,
                      const ChainLevel& level, const TitleKey& key) {
  if (key.match == TitleKey::Match::kWhole && !level.class_start) {
    return windows.FindChildWithTitle(parent, 0, level.class_name, key.text) ==
               level.window &&
           windows.FindChildWithTitle(parent, level.window, level.class_name, key.text) ==
               0;
  }
  bool found_it = false;
  for (WindowHandle window : WindowsOfClass(windows, parent, level)) {
    const std::string title = windows.WindowText(window, kTitleCapacity);
    const bool matches = key.match == TitleKey::Match::kWhole
                             ? SameIgnoringCase(title, key.text)
                             : title.ends_with(key.text);
    if (!matches) continue;
    if (window != level.window || found_it) return false;
    found_it = true;
  }
  return found_it;
}

// What else picks the level's window out among the windows searched under
// `parent` (0: the top-level windows): an ID of its own, else a title.
void ChooseSturdyKey(const WindowSystem& windows, WindowHandle parent,
                     const ChainLevel& chain_level, PlannedLevel& level) {
  if (parent != 0) level.unique_id = UniqueId(windows, parent, chain_level.window);
  if (level.unique_id != 0) return;
  const std::string title = windows.WindowText(chain_level.window, kTitleCapacity);
  if (title.size() + 1 >= static_cast<std::size_t>(kTitleCapacity)) return;
  std::optional<TitleKey> key = JudgeTitle(title);
  if (!key || !TitleFindsOnlyIt(windows, parent, chain_level, *key)) return;
  level.ansi_title = windows.AnsiCodePageHolds(key->text);
  (key->match == TitleKey::Match::kWhole ? level.unique_title : level.title_end) =
      std::move(key->text);
}

}  // namespace

SearchPlan PlanSearches(const WindowSystem& windows, WindowHandle target,
                        std::string target_class) {
  if (target == windows.DesktopWindow()) {
    const std::string name_source = JudgeClassName(target_class).name_source;
    return {{{.class_name = std::move(target_class),
              .name_source = name_source,
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
    const ChainLevel& link = chain[k];
    PlannedLevel level{.class_name = link.class_name,
                       .name_source = link.name_source,
                       .calls = calls[k],
                       .ansi_class = windows.AnsiCodePageHolds(
                           link.class_start.value_or(link.class_name)),
                       .class_start = link.class_start};
    if (calls[k] > 0) {
      ChooseSturdyKey(windows, k == anchor ? 0 : chain[k - 1].window, link, level);
    }
    plan.levels.push_back(std::move(level));
  }
  return plan;
}

}  // namespace winscout::codegen
