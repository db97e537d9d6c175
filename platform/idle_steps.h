#pragma once

#include <algorithm>
#include <array>

#include "platform/handler.h"

namespace winscout {

// The steps a form runs while idle, one for each queue (see Form::WhenIdleIn).
inline constexpr int kIdleQueues = 2;
using IdleSteps = std::array<Handler<bool()>, kIdleQueues>;

inline bool AnyIdleStep(const IdleSteps& steps) {
  return std::ranges::any_of(steps,
                             [](const Handler<bool()>& step) { return bool(step); });
}

// Runs the step of each queue once; whether one ran. A step that returns true
// stays for the next time, unless it set the next one of its queue itself.
inline bool RunIdleSteps(IdleSteps& steps) {
  bool ran = false;
  for (Handler<bool()>& queue : steps) {
    if (!queue) continue;
    const Handler<bool()> step = queue;
    queue = {};
    ran = true;
    if (step() && !queue) queue = step;
  }
  return ran;
}

}  // namespace winscout
