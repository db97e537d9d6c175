#pragma once

#include <string>

#include "cli/json_writer.h"
#include "inspector/desktop_tree.h"
#include "platform/window_system.h"

namespace winscout::cli {

// The window's fields (docs/json.md), inside an object the caller opened.
void WriteWindowFields(JsonWriter& json, inspector::FactsMemo& memo, WindowHandle window);

// The tree as the Windows window shows it, every window with its details,
// each item under its own; JSON as docs/json.md says, or indented text. The
// memo should be the tree's own, so that no window is read twice.
std::string TreeJson(const inspector::DesktopTree& tree, inspector::FactsMemo& memo);
std::string TreeText(const inspector::DesktopTree& tree, inspector::FactsMemo& memo);

}  // namespace winscout::cli
