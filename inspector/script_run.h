#pragma once

#include <cstddef>
#include <optional>
#include <utility>

#include "codegen/script.h"
#include "inspector/try_it.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// How often a run looks again for a window that a step waits for.
inline constexpr int kScriptPollMs = 100;

// "Try it" on a script: its steps done from WinScout one after the other,
// each window found by its plan the way the code finds it, until a step
// fails. A step that waits for its window does not hold the caller: Advance
// does what can be done now and asks to be called again kScriptPollMs later,
// up to kWaitSeconds.
class ScriptRun {
 public:
  // The run keeps its own copy of the script, which a new pick may replace
  // while the run waits; the window system outlives the run; `way` is the
  // code's.
  ScriptRun(codegen::Script script, WindowSystem& windows,
            codegen::SearchWay way = codegen::SearchWay::kIdAndTitle)
      : script_(std::move(script)), windows_(windows), way_(way) {}

  // The outcome once the run has ended (every step done, or the first that
  // failed, "Step 3 failed: ..."); nothing while a step waits for its window.
  std::optional<ActionOutcome> Advance();

 private:
  codegen::Script script_;
  WindowSystem& windows_;
  codegen::SearchWay way_;
  std::size_t next_ = 0;  // the step to do next
  int tries_ = 0;         // looks for its window so far
};

// The window that the plan's searches find now, the way the code searches
// (0: none).
WindowHandle FindByPlan(const codegen::SearchPlan& plan, codegen::SearchWay way,
                        const WindowSystem& windows);

}  // namespace winscout::inspector
