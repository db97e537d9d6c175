#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace winscout::cli {

// What "what did this click change?" looks at in a window.
struct WindowState {
  WindowHandle handle = 0;
  WindowHandle parent = 0;  // or owner
  std::string class_name;
  std::string text;
  PixelRect rect;
  bool visible = false;
  bool enabled = false;
  std::optional<bool> checked;  // check boxes and radio buttons
  // The selected item's place, -1 for none: combo and list boxes, list views
  // and tab controls.
  std::optional<int> selected;
  friend bool operator==(const WindowState&, const WindowState&) = default;
};

using Snapshot = std::vector<WindowState>;

// Every window, top-level windows first, each followed by its children.
Snapshot TakeSnapshot(const WindowSystem& windows);

// A line a window, tab-separated, texts escaped; ReadSnapshot reads it back,
// and what SnapshotJson writes too.
std::string SnapshotText(const Snapshot& snapshot);
std::optional<Snapshot> ReadSnapshot(std::string_view text);
std::string SnapshotJson(const Snapshot& snapshot);

// A line for each window that appeared or vanished, and for each that
// changed, with what changed from what to what.
std::string CompareSnapshots(const Snapshot& before, const Snapshot& after);

}  // namespace winscout::cli
