#include "codegen/finder_steps.h"

namespace winscout::codegen {

bool IsDesktopPlan(const SearchPlan& plan) {
  return plan.levels.size() == 1 && plan.levels[0].key == PlannedLevel::Key::kDesktop;
}

namespace {

bool FoundByItsOwnKey(const SearchPlan& plan, std::size_t k) {
  const PlannedLevel& level = plan.levels[k];
  return (k > 0 && level.unique_id != 0) || level.unique_title || level.title_end;
}

}  // namespace

std::vector<FinderStep> FinderSteps(const SearchPlan& plan, SearchWay way) {
  std::vector<FinderStep> steps;
  for (std::size_t k = 0; k < plan.levels.size(); ++k) {
    const PlannedLevel& level = plan.levels[k];
    if (level.key == PlannedLevel::Key::kDesktop) {
      steps.push_back({.level = k, .call = FinderStep::Call::kDesktop, .declares = true});
      continue;
    }
    if (level.calls == 0) {
      steps.push_back({.level = k, .declares = true});
      continue;
    }
    if (way == SearchWay::kIdAndTitle && FoundByItsOwnKey(plan, k)) {
      FinderStep step{.level = k, .declares = true};
      if (k > 0) step.parent = k - 1;
      if (k > 0 && level.unique_id != 0) {
        step.call = FinderStep::Call::kDialogItem;
        step.id = level.unique_id;
      } else if (level.class_start || level.title_end) {
        step.call = FinderStep::Call::kFindLike;
        if (!level.class_start) step.class_name = &level.class_name;
        if (level.unique_title) step.title = &*level.unique_title;
        if (level.class_start) step.class_start = &*level.class_start;
        if (level.title_end) step.title_end = &*level.title_end;
      } else {
        step.call =
            k == 0 ? FinderStep::Call::kFindWindow : FinderStep::Call::kFindWindowEx;
        step.class_name = &level.class_name;
        step.title = &*level.unique_title;
      }
      steps.push_back(step);
      continue;
    }
    for (int call = 0; call < level.calls; ++call) {
      FinderStep step{.level = k, .declares = call == 0};
      if (level.class_start) {
        // No FindWindow form: the helper searches the top-level windows too.
        step.call = FinderStep::Call::kFindLike;
        step.class_start = &*level.class_start;
        if (k > 0) step.parent = k - 1;
        step.after_self = call > 0;
      } else if (k == 0 && call == 0) {
        step.call = FinderStep::Call::kFindWindow;
        step.class_name = &level.class_name;
      } else {
        step.class_name = &level.class_name;
        step.call = FinderStep::Call::kFindWindowEx;
        if (k > 0) step.parent = k - 1;
        step.after_self = call > 0;
      }
      steps.push_back(step);
    }
  }
  return steps;
}

FinderCalls CallsOf(const std::vector<FinderStep>& steps) {
  FinderCalls calls;
  for (const FinderStep& step : steps) {
    switch (step.call) {
      case FinderStep::Call::kNone:
        break;
      case FinderStep::Call::kFindWindow:
        calls.find_window = true;
        break;
      case FinderStep::Call::kFindWindowEx:
        calls.find_window_ex = true;
        break;
      case FinderStep::Call::kDesktop:
        calls.desktop = true;
        break;
      case FinderStep::Call::kDialogItem:
        calls.dialog_item = true;
        break;
      case FinderStep::Call::kFindLike:
        calls.find_like = true;
        break;
    }
  }
  return calls;
}

std::vector<std::size_t> PositionLevels(const SearchPlan& plan, SearchWay way) {
  std::vector<std::size_t> levels;
  if (way == SearchWay::kPosition) return levels;
  for (std::size_t k = 0; k < plan.levels.size(); ++k) {
    const PlannedLevel& level = plan.levels[k];
    if (level.key == PlannedLevel::Key::kPosition && level.calls > 0 &&
        !FoundByItsOwnKey(plan, k)) {
      levels.push_back(k);
    }
  }
  return levels;
}

std::string PositionNote(const SearchPlan& plan, SearchWay way,
                         const std::vector<std::string>& names) {
  const std::vector<std::size_t> levels = PositionLevels(plan, way);
  if (levels.empty()) return {};
  std::string note = "Found by place among windows of the same class, which can change: ";
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (i > 0) note += ", ";
    note += names[levels[i]];
  }
  return note;
}

bool NeedsUnicode(const SearchPlan& plan, SearchWay way) {
  for (const PlannedLevel& level : plan.levels) {
    if (!level.ansi_class) return true;
    // A level with an ID of its own has no title (the ID wins).
    if (way == SearchWay::kIdAndTitle && (level.unique_title || level.title_end) &&
        !level.ansi_title) {
      return true;
    }
  }
  return false;
}

}  // namespace winscout::codegen
