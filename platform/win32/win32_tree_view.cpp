#include "platform/win32/win32_tree_view.h"

#include <windowsx.h>

#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {

HTREEITEM Win32TreeView::ItemOf(TreeItemKey key) const {
  const std::uint64_t* item = items_.Find(key);
  return item ? reinterpret_cast<HTREEITEM>(*item) : nullptr;
}

TreeItemKey Win32TreeView::KeyOf(HWND tree, HTREEITEM item) {
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  TreeView_GetItem(tree, &data);
  return static_cast<TreeItemKey>(data.lParam);
}

// Forgets the item and everything below it, before it is deleted.
void Win32TreeView::Forget(HTREEITEM item) {
  for (HTREEITEM child = TreeView_GetChild(tree_, item); child;
       child = TreeView_GetNextSibling(tree_, child)) {
    Forget(child);
  }
  const TreeItemKey key = KeyOf(tree_, item);
  items_.Remove(key);
  dimmed_.Remove(key);
  filled_.Remove(key);
}

void Win32TreeView::SetChildren(std::optional<TreeItemKey> parent,
                                std::vector<TreeItem> items) {
  const HTREEITEM parent_item = parent ? ItemOf(*parent) : TVI_ROOT;
  if (!parent_item) return;
  SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
  if (!parent) {
    TreeView_DeleteAllItems(tree_);
    items_.Clear();
    dimmed_.Clear();
    filled_.Clear();
  } else {
    HTREEITEM child = TreeView_GetChild(tree_, parent_item);
    while (child) {
      const HTREEITEM next = TreeView_GetNextSibling(tree_, child);
      Forget(child);
      TreeView_DeleteItem(tree_, child);
      child = next;
    }
    filled_.Put(*parent);
  }
  for (const TreeItem& item : items) {
    std::wstring text = Utf8ToWide(item.text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent_item;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(item.key);
    insert.item.cChildren = item.expandable ? 1 : 0;
    insert.item.state = item.dimmed ? TVIS_CUT : 0;
    insert.item.stateMask = TVIS_CUT;
    if (const HTREEITEM made = TreeView_InsertItem(tree_, &insert)) {
      items_.Put(item.key) = reinterpret_cast<std::uint64_t>(made);
      if (item.dimmed) dimmed_.Put(item.key);
    }
  }
  if (parent && items.empty()) {
    // Nothing below after all: no button.
    TVITEMW data{};
    data.mask = TVIF_CHILDREN | TVIF_HANDLE;
    data.hItem = parent_item;
    TreeView_SetItem(tree_, &data);
  }
  SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
  // A new tree scrolls to its top: the keys move from there even when nothing
  // is selected.
  if (!parent) {
    if (const HTREEITEM first = TreeView_GetRoot(tree_)) {
      TreeView_Select(tree_, first, TVGN_FIRSTVISIBLE);
    }
  }
  InvalidateRect(tree_, nullptr, TRUE);
}

void Win32TreeView::Expand(TreeItemKey key) {
  if (const HTREEITEM item = ItemOf(key)) TreeView_Expand(tree_, item, TVE_EXPAND);
}

// In the tree's order: down into an open item, else on to the next item
// along or, past the last, that of the nearest item above that has one.
std::vector<TreeItemKey> Win32TreeView::ExpandedItems() const {
  std::vector<TreeItemKey> open;
  for (HTREEITEM item = TreeView_GetRoot(tree_); item;) {
    HTREEITEM next = nullptr;
    if (TreeView_GetItemState(tree_, item, TVIS_EXPANDED) & TVIS_EXPANDED) {
      open.push_back(KeyOf(tree_, item));
      next = TreeView_GetChild(tree_, item);
    }
    for (HTREEITEM above = item; !next && above;
         above = TreeView_GetParent(tree_, above)) {
      next = TreeView_GetNextSibling(tree_, above);
    }
    item = next;
  }
  return open;
}

std::optional<TreeItemKey> Win32TreeView::Selected() const {
  const HTREEITEM item = TreeView_GetSelection(tree_);
  if (!item) return std::nullopt;
  return KeyOf(tree_, item);
}

// Programmatic selections come with TVC_UNKNOWN, which raises no event.
void Win32TreeView::Select(TreeItemKey key) {
  if (const HTREEITEM item = ItemOf(key)) {
    TreeView_SelectItem(tree_, item);
    TreeView_EnsureVisible(tree_, item);
  }
}

void Win32TreeView::Dim(TreeItemKey key) {
  const HTREEITEM item = ItemOf(key);
  if (!item) return;
  dimmed_.Put(key);
  TreeView_SetItemState(tree_, item, TVIS_CUT, TVIS_CUT);
  RECT rect{};
  if (TreeView_GetItemRect(tree_, item, &rect, FALSE)) InvalidateRect(tree_, &rect, TRUE);
}

void Win32TreeView::RaiseSelect(HTREEITEM item) {
  if (item && on_select_) on_select_(KeyOf(tree_, item));
}

LRESULT Win32TreeView::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      const auto key = static_cast<TreeItemKey>(change.itemNew.lParam);
      if ((change.action & TVE_EXPAND) && !filled_.Contains(key) && on_expanding_) {
        on_expanding_(key);
      }
      return FALSE;
    }
    case TVN_SELCHANGEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (change.action == TVC_BYKEYBOARD || change.action == TVC_BYMOUSE) {
        RaiseSelect(change.itemNew.hItem);
      }
      return 0;
    }
    case NM_RETURN:
      ChooseSelected();
      return TRUE;
    case NM_RCLICK: {
      // The menu is for the item clicked, which becomes the selected one;
      // off the items there is none.
      TVHITTESTINFO hit{};
      const DWORD at = GetMessagePos();
      hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
      ScreenToClient(tree_, &hit.pt);
      const HTREEITEM item = TreeView_HitTest(tree_, &hit);
      if (!item) return TRUE;
      // Read first: what the selection sets off may fill the tree anew.
      const TreeItemKey key = KeyOf(tree_, item);
      if (item != TreeView_GetSelection(tree_)) {
        TreeView_SelectItem(tree_, item);
        RaiseSelect(item);
      }
      OpenMenu(key, {GET_X_LPARAM(at), GET_Y_LPARAM(at)});
      return TRUE;
    }
    case NM_CUSTOMDRAW:
      return OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(const_cast<NMHDR&>(header)));
    default:
      return 0;
  }
}

LRESULT Win32TreeView::OnCustomDraw(NMTVCUSTOMDRAW& draw) const {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
      dimmed_.Contains(static_cast<TreeItemKey>(draw.nmcd.lItemlParam))) {
    draw.clrText = GetSysColor(COLOR_GRAYTEXT);
    // Grey on the selection's colour would not read: selected, it stands on
    // the face colour instead.
    if (draw.nmcd.uItemState & CDIS_SELECTED) draw.clrTextBk = GetSysColor(COLOR_BTNFACE);
  }
  return CDRF_DODEFAULT;
}

void Win32TreeView::ShowMenu(LPARAM position) {
  const HTREEITEM selected = TreeView_GetSelection(tree_);
  if (!selected) return;
  POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (position == -1) {
    // From the keyboard: at the selected item.
    RECT rect{};
    TreeView_GetItemRect(tree_, selected, &rect, TRUE);
    at = {rect.left, rect.bottom};
    ClientToScreen(tree_, &at);
  }
  OpenMenu(KeyOf(tree_, selected), at);
}

// A choice acts on the item the menu opened on, even where the selection
// moved while the menu was shown.
void Win32TreeView::OpenMenu(TreeItemKey key, POINT at) {
  if (!choices_) return;
  const std::vector<std::string> choices = choices_(key);
  if (choices.empty()) return;
  const UniqueMenu menu(CreatePopupMenu());
  for (std::size_t i = 0; i < choices.size(); ++i) {
    AppendMenuW(menu.get(), MF_STRING, i + 1, Utf8ToWide(choices[i]).c_str());
  }
  const auto chosen = static_cast<std::size_t>(
      TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                       GetParent(tree_), nullptr));
  if (chosen != 0 && on_choose_) on_choose_(key, chosen - 1);
}

}  // namespace winscout::win32
