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
// cannot be opened or the control does not answer within the time. A piece
// of at most `most` items from `from`, as WindowSystem::ItemsFrom gives it: a
// list view's from its index, a tree view's from an item's handle.
std::optional<ItemPiece> ReadListViewItems(HWND list_view, std::uint64_t from,
                                           std::size_t most, UINT timeout_ms);
std::optional<ItemPiece> ReadTreeViewItems(HWND tree_view, std::uint64_t from,
                                           std::size_t most, UINT timeout_ms);

// Selects and focuses the first item whose text is `text` (a list view row
// alone, by its first column), the way a click does: the control tells its
// parent. False where no item has the text or the control does not answer.
bool SelectListViewItem(HWND list_view, std::string_view text, UINT timeout_ms);
bool SelectTreeViewItem(HWND tree_view, std::string_view text, UINT timeout_ms);

}  // namespace winscout::win32
