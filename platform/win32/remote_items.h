#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "platform/window_system.h"

namespace winscout::win32 {

// The items of a list view (every column) or a tree view of any process.
// These controls answer item questions only with memory of their own
// process, so the item structure and its text buffer are placed there, laid
// out for that process's bitness, and freed again. Nothing where the process
// cannot be opened or the control does not answer within the time.
std::optional<ItemRows> ReadListViewItems(HWND list_view, UINT timeout_ms);
std::optional<ItemRows> ReadTreeViewItems(HWND tree_view, UINT timeout_ms);

// Selects and focuses the first item whose text is `text` (a list view row
// alone, by its first column), the way a click does: the control tells its
// parent. False where no item has the text or the control does not answer.
bool SelectListViewItem(HWND list_view, std::string_view text, UINT timeout_ms);
bool SelectTreeViewItem(HWND tree_view, std::string_view text, UINT timeout_ms);

}  // namespace winscout::win32
