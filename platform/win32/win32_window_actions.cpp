// The operations on windows: messages sent with a time limit or posted.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/handle_conversion.h"
#include "platform/win32/remote_items.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_window_system.h"

namespace winscout::win32 {
namespace {

std::optional<LRESULT> SendWithin(HWND window, UINT message, WPARAM w, LPARAM l,
                                  int timeout_ms) {
  DWORD_PTR result = 0;
  if (!IsWindow(window) ||
      !SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(std::max(timeout_ms, 1)), &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

// The place of a tree view's selected item among its items, parents before
// their children: the items are named by handles, which the messages that
// walk the tree give and take, so nothing is read in the tree's process.
std::optional<int> CaretPlace(HWND tree_view, int timeout_ms) {
  const auto next = [&](WPARAM relation, LRESULT item) {
    return SendWithin(tree_view, TVM_GETNEXTITEM, relation, item, timeout_ms);
  };
  const std::optional<LRESULT> caret = next(TVGN_CARET, 0);
  const std::optional<LRESULT> root = next(TVGN_ROOT, 0);
  if (!caret || !root) return std::nullopt;
  if (*caret == 0) return -1;
  std::vector<LRESULT> pending;
  if (*root != 0) pending.push_back(*root);
  for (std::size_t place = 0; !pending.empty() && place < kMostItems; ++place) {
    const LRESULT item = pending.back();
    pending.pop_back();
    if (item == *caret) return static_cast<int>(place);
    const std::optional<LRESULT> sibling = next(TVGN_NEXT, item);
    const std::optional<LRESULT> child = next(TVGN_CHILD, item);
    if (!sibling || !child) return std::nullopt;
    if (*sibling != 0) pending.push_back(*sibling);
    if (*child != 0) pending.push_back(*child);
  }
  return std::nullopt;  // beyond the items read
}

// Operations that Windows carries out by sending to the window without a
// time limit go ahead only once the window has just answered.
constexpr int kAnswerTimeoutMs = 1000;
bool Answers(HWND window) {
  return SendWithin(window, WM_NULL, 0, 0, kAnswerTimeoutMs).has_value();
}

struct ListMessages {
  UINT count, length, text, select;
  WORD selection_change;
  LRESULT error;
};
constexpr ListMessages kComboBox{CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                 CB_SELECTSTRING, CBN_SELCHANGE,   CB_ERR};
constexpr ListMessages kListBox{LB_GETCOUNT,     LB_GETTEXTLEN, LB_GETTEXT,
                                LB_SELECTSTRING, LBN_SELCHANGE, LB_ERR};

// Combo and list boxes hand their item texts to other processes themselves.
std::optional<ItemPiece> ReadStringItems(HWND window, const ListMessages& list,
                                         std::uint64_t from, std::size_t most,
                                         int timeout_ms) {
  const std::optional<LRESULT> count = SendWithin(window, list.count, 0, 0, timeout_ms);
  if (!count || *count == list.error || *count < 0) return std::nullopt;
  ItemPiece piece{
      .total = std::min<std::size_t>(static_cast<std::size_t>(*count), kMostItems)};
  const std::size_t first = std::min<std::size_t>(from, piece.total);
  const std::size_t end = first + std::min(most, piece.total - first);
  std::size_t units = 0;
  for (std::size_t i = first; i < end; ++i) {
    const std::optional<LRESULT> length =
        SendWithin(window, list.length, static_cast<WPARAM>(i), 0, timeout_ms);
    if (!length || *length == list.error) return std::nullopt;
    // The control writes the whole item, whatever room it is given: one
    // longer than the limit is not asked for, and the list ends there.
    units += static_cast<std::size_t>(*length);
    if (static_cast<std::size_t>(*length) > kMostItemTextUnits || units > kMostItemUnits)
      return piece;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(*length) + 1);
    const std::optional<LRESULT> copied =
        SendWithin(window, list.text, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(buffer.data()), timeout_ms);
    if (!copied || *copied == list.error) return std::nullopt;
    piece.rows.push_back({WideToUtf8(
        {buffer.data(),
         std::min<std::size_t>(static_cast<std::size_t>(*copied), buffer.size() - 1)})});
  }
  piece.next = end < piece.total ? end : 0;
  return piece;
}

// Pieces large enough that their counting questions cost little.
constexpr std::size_t kWholeListPiece = 256;

}  // namespace

bool Win32WindowSystem::SetLiveText(WindowHandle window, std::string_view text,
                                    int timeout_ms) {
  const std::wstring wide = Utf8ToWide(text);
  const std::optional<LRESULT> done = SendWithin(
      ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), timeout_ms);
  return done && *done != FALSE;
}

std::optional<bool> Win32WindowSystem::ButtonChecked(WindowHandle window,
                                                     int timeout_ms) const {
  const std::optional<LRESULT> state =
      SendWithin(ToHwnd(window), BM_GETCHECK, 0, 0, timeout_ms);
  if (!state) return std::nullopt;
  return *state == BST_CHECKED;
}

// CB_ERR, LB_ERR and a list view's or tab control's "none" are all -1.
std::optional<int> Win32WindowSystem::SelectedIndex(WindowHandle window,
                                                    SelectionList list,
                                                    int timeout_ms) const {
  if (list == SelectionList::kTreeView) return CaretPlace(ToHwnd(window), timeout_ms);
  constexpr UINT kMessages[] = {CB_GETCURSEL, LB_GETCURSEL, LVM_GETNEXTITEM,
                                TCM_GETCURSEL};
  // A list view's first item with LVNI_SELECTED, searched from before the
  // first.
  const bool list_view = list == SelectionList::kListView;
  const std::optional<LRESULT> place =
      SendWithin(ToHwnd(window), kMessages[static_cast<int>(list)],
                 list_view ? WPARAM(-1) : 0, list_view ? LVNI_SELECTED : 0, timeout_ms);
  if (!place) return std::nullopt;
  return *place < 0 ? -1 : static_cast<int>(*place);
}

bool Win32WindowSystem::PostClick(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  return IsWindow(hwnd) && PostMessageW(hwnd, BM_CLICK, 0, 0);
}

bool Win32WindowSystem::PostClose(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  return IsWindow(hwnd) && PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

bool Win32WindowSystem::DeliverMessage(WindowHandle window, std::uint32_t message,
                                       std::uint64_t wparam, std::int64_t lparam,
                                       bool post, int timeout_ms) {
  const HWND hwnd = ToHwnd(window);
  if (post) return IsWindow(hwnd) && PostMessageW(hwnd, message, wparam, lparam);
  return SendWithin(hwnd, message, wparam, lparam, timeout_ms).has_value();
}

bool Win32WindowSystem::ChooseItem(WindowHandle window, ItemList list,
                                   std::string_view text, int timeout_ms) {
  if (list != ItemList::kComboBox && list != ItemList::kListBox) return false;
  const ListMessages& messages = list == ItemList::kComboBox ? kComboBox : kListBox;
  const HWND hwnd = ToHwnd(window);
  const std::wstring wide = Utf8ToWide(text);
  // From the start of the list: wParam -1.
  const std::optional<LRESULT> index =
      SendWithin(hwnd, messages.select, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(wide.c_str()), timeout_ms);
  if (!index || *index == messages.error) return false;
  // The control tells its parent only of a user's choice, so the
  // notification is sent as one would be.
  const int id = GetDlgCtrlID(hwnd);
  return SendWithin(GetParent(hwnd), WM_COMMAND,
                    MAKEWPARAM(static_cast<WORD>(id), messages.selection_change),
                    reinterpret_cast<LPARAM>(hwnd), timeout_ms)
      .has_value();
}

bool Win32WindowSystem::SelectItem(WindowHandle window, ItemList list,
                                   std::string_view text, int timeout_ms) {
  const HWND hwnd = ToHwnd(window);
  const UINT timeout = static_cast<UINT>(std::max(timeout_ms, 1));
  if (!IsWindow(hwnd)) return false;
  if (list == ItemList::kListView) return SelectListViewItem(hwnd, text, timeout);
  if (list == ItemList::kTreeView) return SelectTreeViewItem(hwnd, text, timeout);
  return false;
}

std::optional<ItemRows> Win32WindowSystem::Items(WindowHandle window, ItemList list,
                                                 int timeout_ms) const {
  ItemRows rows;
  std::size_t units = 0;
  std::uint64_t from = 0;
  do {
    std::optional<ItemPiece> piece =
        ItemsFrom(window, list, from, kWholeListPiece, timeout_ms);
    if (!piece) return std::nullopt;
    for (auto& row : piece->rows) {
      for (const std::string& text : row) units += text.size();
      if (units > kMostItemUnits || rows.size() == kMostItems) return rows;
      rows.push_back(std::move(row));
    }
    from = piece->next;
  } while (from != 0);
  return rows;
}

std::optional<ItemPiece> Win32WindowSystem::ItemsFrom(WindowHandle window, ItemList list,
                                                      std::uint64_t from,
                                                      std::size_t most,
                                                      int timeout_ms) const {
  const HWND hwnd = ToHwnd(window);
  if (!IsWindow(hwnd)) return std::nullopt;
  const UINT timeout = static_cast<UINT>(std::max(timeout_ms, 1));
  switch (list) {
    case ItemList::kComboBox:
      return ReadStringItems(hwnd, kComboBox, from, most, timeout_ms);
    case ItemList::kListBox:
      return ReadStringItems(hwnd, kListBox, from, most, timeout_ms);
    case ItemList::kListView:
      return ReadListViewItems(hwnd, from, most, timeout);
    case ItemList::kTreeView:
      return ReadTreeViewItems(hwnd, from, most, timeout);
  }
  return std::nullopt;
}

// ShowWindowAsync, so that a hung window's thread cannot hold the caller.
// What it gives back is the window's earlier state when the window is the
// caller's own, so it says nothing about the request.
bool Win32WindowSystem::SetWindowShown(WindowHandle window, bool shown) {
  const HWND hwnd = ToHwnd(window);
  if (!IsWindow(hwnd)) return false;
  ShowWindowAsync(hwnd, shown ? SW_SHOWNA : SW_HIDE);
  return true;
}

bool Win32WindowSystem::SetWindowEnabled(WindowHandle window, bool enabled) {
  const HWND hwnd = ToHwnd(window);
  if (!Answers(hwnd)) return false;
  EnableWindow(hwnd, enabled);
  return (IsWindowEnabled(hwnd) != FALSE) == enabled;
}

bool Win32WindowSystem::BringToFront(WindowHandle window) {
  const HWND top = GetAncestor(ToHwnd(window), GA_ROOT);
  if (!top || !Answers(top)) return false;
  // A minimized window would come to the front still minimized.
  if (IsIconic(top)) ShowWindowAsync(top, SW_RESTORE);
  // The foreground may be refused to a program that is not in front itself;
  // the window still comes to the top of the Z-order.
  const bool raised = SetWindowPos(top, HWND_TOP, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS) != FALSE;
  SetForegroundWindow(top);
  return raised;
}

}  // namespace winscout::win32
