#pragma once

#include <cstdint>
#include <utility>

namespace winscout {

// Which of a window's children under the pointer the user points at, the same
// in every WindowSystem. A dialog's group box is a sibling drawn around the
// controls it groups and comes before them in Z-order, so the first child
// that holds the point is often the box: of the children that hold it, group
// boxes are passed over while anything else is there, and the smallest is
// taken (the first in Z-order of equals).
struct ChildUnderPoint {
  bool group_box = false;
  std::int64_t area = 0;
};

constexpr bool PointedAtRather(const ChildUnderPoint& child,
                               const ChildUnderPoint& than) {
  return std::pair(child.group_box, child.area) < std::pair(than.group_box, than.area);
}

// A button's kind is in the low bits of its style (BS_GROUPBOX).
constexpr std::uint32_t kButtonKindMask = 0xF;
constexpr std::uint32_t kGroupBoxKind = 0x7;

}  // namespace winscout
