#include "inspector/script_run.h"

#include <string>
#include <vector>

#include "codegen/finder_steps.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {
namespace {

using codegen::FinderStep;

// FindWindowEx with a class and a title where they are given.
WindowHandle Search(const WindowSystem& windows, WindowHandle parent, WindowHandle after,
                    const std::string* class_name, const std::string* title) {
  const std::string_view any_class = class_name ? std::string_view(*class_name) : "";
  return title ? windows.FindChildWithTitle(parent, after, any_class, *title)
               : windows.FindChild(parent, after, any_class);
}

// The pattern helper: the next window whose class begins and whose title
// ends as the step says.
WindowHandle FindLike(const WindowSystem& windows, WindowHandle parent,
                      WindowHandle after, const FinderStep& step) {
  while ((after = Search(windows, parent, after, step.class_name, step.title)) != 0) {
    if (step.class_start && !windows.ClassName(after, codegen::kClassNameCapacity)
                                 .starts_with(*step.class_start))
      continue;
    if (!step.title_end || windows.WindowText(after, 1 << 16).ends_with(*step.title_end))
      return after;
  }
  return 0;
}

}  // namespace

WindowHandle FindByPlan(const codegen::SearchPlan& plan, codegen::SearchWay way,
                        const WindowSystem& windows) {
  std::vector<WindowHandle> found(plan.levels.size(), 0);
  for (const FinderStep& step : codegen::FinderSteps(plan, way)) {
    // Below a level not found, nothing is: the code would search the
    // top-level windows instead, which finds no control the user meant.
    const WindowHandle parent = step.parent ? found[*step.parent] : 0;
    if (step.parent && parent == 0) return 0;
    const WindowHandle after = step.after_self ? found[step.level] : 0;
    WindowHandle& window = found[step.level];
    switch (step.call) {
      case FinderStep::Call::kNone:
        window = 0;
        break;
      case FinderStep::Call::kDesktop:
        window = windows.DesktopWindow();
        break;
      case FinderStep::Call::kDialogItem:
        window = windows.DialogItem(parent, step.id);
        break;
      case FinderStep::Call::kFindLike:
        window = FindLike(windows, parent, after, step);
        break;
      case FinderStep::Call::kFindWindow:
      case FinderStep::Call::kFindWindowEx:
        window = Search(windows, parent, after, step.class_name, step.title);
        break;
    }
  }
  return found.empty() ? 0 : found.back();
}

std::optional<ActionOutcome> ScriptRun::Advance() {
  constexpr int kMostTries = codegen::kWaitSeconds * 1000 / kScriptPollMs;
  for (; next_ < script_.steps.size(); ++next_) {
    const codegen::ScriptStep& step = script_.steps[next_];
    const std::string failed = "Step " + DecimalText(next_ + 1) + " failed: ";
    const WindowHandle target = FindByPlan(step.plan, way_, windows_);
    if (target == 0 && step.action.wait && ++tries_ < kMostTries) return std::nullopt;
    tries_ = 0;
    if (target == 0) {
      return ActionOutcome{
          false, failed + (step.action.wait
                               ? "the window did not appear within " +
                                     DecimalText(codegen::kWaitSeconds) + " seconds."
                               : "the window was not found.")};
    }
    const ActionOutcome outcome = step.message
                                      ? PerformSend(*step.message, target, windows_)
                                      : PerformAction(step.action, target, windows_);
    if (!outcome.done) return ActionOutcome{false, failed + outcome.text};
  }
  return ActionOutcome{true, "Done: " + DecimalText(script_.steps.size()) +
                                 (script_.steps.size() == 1 ? " step." : " steps.")};
}

}  // namespace winscout::inspector
