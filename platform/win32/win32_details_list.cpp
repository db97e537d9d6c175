#include "platform/win32/win32_details_list.h"

#include <cstring>

#include "platform/win32/text_conversion.h"

namespace winscout::win32 {
namespace {

// At 96 dots per inch.
constexpr int kNameColumnWidth = 120;
constexpr int kValueColumnWidth = 420;

}  // namespace

Win32DetailsList::Win32DetailsList(HWND list) : list_(list) {
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const wchar_t* titles[] = {L"Property", L"Value"};
  for (int column = 0; column < 2; ++column) {
    LVCOLUMNW data{};
    data.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    data.pszText = const_cast<wchar_t*>(titles[column]);
    data.cx = column == 0 ? kNameColumnWidth : kValueColumnWidth;
    data.iSubItem = column;
    ListView_InsertColumn(list_, column, &data);
  }
}

void Win32DetailsList::SetDpi(UINT dpi) {
  ListView_SetColumnWidth(list_, 0, MulDiv(kNameColumnWidth, static_cast<int>(dpi), 96));
  ListView_SetColumnWidth(list_, 1, MulDiv(kValueColumnWidth, static_cast<int>(dpi), 96));
}

// The line selected before stays selected, so that one property can be
// watched from window to window.
void Win32DetailsList::SetLines(std::vector<std::pair<std::string, std::string>> lines) {
  const std::optional<std::size_t> selected = SelectedLine();
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list_);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::wstring name = Utf8ToWide(lines[i].first);
    std::wstring value = Utf8ToWide(lines[i].second);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = name.data();
    const int index = ListView_InsertItem(list_, &item);
    ListView_SetItemText(list_, index, 1, value.data());
  }
  if (selected && *selected < lines.size()) {
    const int index = static_cast<int>(*selected);
    ListView_SetItemState(list_, index, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
  // Wide enough for the longest value, which the list scrolls to, and at
  // least as wide as the list.
  ListView_SetColumnWidth(list_, 1, LVSCW_AUTOSIZE);
  const int fits_values = ListView_GetColumnWidth(list_, 1);
  ListView_SetColumnWidth(list_, 1, LVSCW_AUTOSIZE_USEHEADER);
  if (fits_values > ListView_GetColumnWidth(list_, 1)) {
    ListView_SetColumnWidth(list_, 1, fits_values);
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

std::optional<std::size_t> Win32DetailsList::SelectedLine() const {
  const int index = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  if (index < 0) return std::nullopt;
  return static_cast<std::size_t>(index);
}

LRESULT Win32DetailsList::OnNotify(const NMHDR& header) {
  if (header.code == LVN_KEYDOWN) {
    const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
    if (key.wVKey == 'C' && GetKeyState(VK_CONTROL) < 0 && on_copy_) on_copy_();
  }
  return 0;
}

bool Win32Clipboard::SetText(std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory);
  }
  if (OpenClipboard(owner_)) {
    EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, memory)) memory = nullptr;
    CloseClipboard();
  }
  if (!memory) return true;
  GlobalFree(memory);
  return false;
}

}  // namespace winscout::win32
