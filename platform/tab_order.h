#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "platform/toolkit.h"

namespace winscout {

// The ids of the controls that Tab walks through, by tab index: the visible
// arrow boxes, text boxes and buttons, whichever container holds them.
inline std::vector<int> TabOrder(std::span<const ControlSpec> controls) {
  std::vector<const ControlSpec*> stops;
  for (const ControlSpec& control : controls) {
    const bool takes_focus = control.kind == ControlKind::kPictureBox ||
                             control.kind == ControlKind::kTextBox ||
                             control.kind == ControlKind::kCodeBox ||
                             control.kind == ControlKind::kButton;
    if (takes_focus && control.visible) stops.push_back(&control);
  }
  std::stable_sort(stops.begin(), stops.end(), [](const auto* a, const auto* b) {
    return a->tab_index < b->tab_index;
  });
  std::vector<int> ids;
  for (const ControlSpec* stop : stops) ids.push_back(stop->id);
  return ids;
}

// The stop after `current` (before it, going backwards), round from the last
// to the first; from a control that is no stop, the first (the last).
inline int NextTabStop(std::span<const int> order, int current, bool backwards) {
  if (order.empty()) return 0;
  const auto at = std::find(order.begin(), order.end(), current);
  const std::ptrdiff_t size = std::ssize(order);
  if (at == order.end()) return backwards ? order.back() : order.front();
  const std::ptrdiff_t index = at - order.begin();
  return order[static_cast<std::size_t>((index + (backwards ? size - 1 : 1)) % size)];
}

}  // namespace winscout
