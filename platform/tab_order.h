#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "platform/toolkit.h"

namespace winscout {

// The controls that `rank` gives a place (its value, lowest first; equal
// places keep the table's order), without those it gives none (a negative
// value). By insertion: the table is short, and std::stable_sort would bring
// its buffers into the program.
inline std::vector<const ControlSpec*> RankedControls(
    std::span<const ControlSpec> controls, int (*rank)(const ControlSpec&)) {
  std::vector<const ControlSpec*> ranked;
  for (const ControlSpec& control : controls) {
    if (rank(control) < 0) continue;
    auto at = ranked.end();
    while (at != ranked.begin() && rank(**(at - 1)) > rank(control)) --at;
    ranked.insert(at, &control);
  }
  return ranked;
}

// The ids of the controls that Tab walks through, by tab index: the visible
// arrow boxes, text boxes and buttons, whichever container holds them.
inline std::vector<int> TabOrder(std::span<const ControlSpec> controls) {
  std::vector<int> ids;
  for (const ControlSpec* stop : RankedControls(controls, [](const ControlSpec& control) {
         const bool takes_focus = control.kind == ControlKind::kPictureBox ||
                                  control.kind == ControlKind::kTextBox ||
                                  control.kind == ControlKind::kCodeBox ||
                                  control.kind == ControlKind::kButton;
         return takes_focus && control.visible ? control.tab_index : -1;
       })) {
    ids.push_back(stop->id);
  }
  return ids;
}

// The stop after `current` (before it, going backwards), round from the last
// to the first; from a control that is no stop, the first (the last).
inline int NextTabStop(std::span<const int> order, int current, bool backwards) {
  if (order.empty()) return 0;
  const auto at = std::ranges::find(order, current);
  const std::ptrdiff_t size = std::ssize(order);
  if (at == order.end()) return backwards ? order.back() : order.front();
  const std::ptrdiff_t index = at - order.begin();
  return order[static_cast<std::size_t>((index + (backwards ? size - 1 : 1)) % size)];
}

}  // namespace winscout
