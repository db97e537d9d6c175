#include "platform/win32/win32_messages_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/fatal_error.h"
#include "platform/win32/owned_window.h"
#include "platform/win32/save_dialog.h"
#include "platform/win32/text_conversion.h"

namespace winscout::win32 {
namespace {

// At 96 dots per inch.
constexpr int kWidth = 900;
constexpr int kHeight = 520;
constexpr int kMargin = 8;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 70;
constexpr int kSwitchWidth = 88;
constexpr UINT kTickMs = 50;

struct Column {
  const wchar_t* title;
  int width;
};
constexpr Column kColumns[] = {{L"Time (ms)", 70}, {L"Kind", 64},
                               {L"Window", 84},    {L"Class", 110},
                               {L"Message", 150},  {L"Parameters", 360}};

// The row after the filter box, in tab order: the switches, then the buttons.
constexpr struct {
  int id;
  const wchar_t* text;
  bool button;                      // else a switch
  MessagesView::Command command{};  // of a button
} kRowControls[] = {
    {Win32MessagesView::kAllGroupsId, L"&All groups", false},
    {Win32MessagesView::kChildrenId, L"C&hildren", false},
    {Win32MessagesView::kThreadId, L"&Thread", false},
    {Win32MessagesView::kPauseId, L"&Pause", true, MessagesView::Command::kPause},
    {Win32MessagesView::kClearId, L"C&lear", true, MessagesView::Command::kClear},
    {Win32MessagesView::kCopyId, L"&Copy", true, MessagesView::Command::kCopy},
    {Win32MessagesView::kSaveId, L"&Save...", true, MessagesView::Command::kSave}};

}  // namespace

Win32MessagesView::Win32MessagesView(HINSTANCE instance, HWND owner, Listener& listener)
    : OwnedWindow(instance, kClassName), listener_(listener) {
  Create(owner, L"Messages", kWidth, kHeight);
  const UINT dpi = GetDpiForWindow(owner);
  // In tab order.
  filter_edit_ = MakeControl(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_AUTOHSCROLL, kFilterId);
  for (const auto& item : kRowControls) {
    MakeControl(0, L"BUTTON", item.text, item.button ? BS_PUSHBUTTON : BS_AUTOCHECKBOX,
                item.id);
  }
  pause_ = GetDlgItem(hwnd_, kPauseId);
  list_ = MakeControl(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                      LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                      kListId);
  status_ = MakeControl(0, L"STATIC", L"", SS_LEFTNOWORDWRAP, kStatusId);
  SetWindowLongPtrW(status_, GWL_STYLE,
                    GetWindowLongPtrW(status_, GWL_STYLE) & ~WS_TABSTOP);
  SendMessageW(filter_edit_, EM_SETCUEBANNER, TRUE,
               reinterpret_cast<LPARAM>(L"Filter: WM_COMMAND, CHAR, -MOUSE"));
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(kColumns[i].title);
    column.cx = Scale(kColumns[i].width, dpi);
    column.iSubItem = i;
    ListView_InsertColumn(list_, i, &column);
  }
  filter_ = std::make_unique<Win32TextBox>(Win32TextBox::kPlainWrites);
  filter_->Attach(filter_edit_);
  ApplyFont();
  LayOut();
}

Win32MessagesView::~Win32MessagesView() { Destroy(); }

void Win32MessagesView::Show(std::string_view title) {
  SetWindowTextW(hwnd_, Utf8ToWide(title).c_str());
  ShowFocused(list_);
}

bool Win32MessagesView::SwitchedOn(Switch which) const {
  // The switches' IDs follow in the order of Switch.
  static_assert(kChildrenId == kAllGroupsId + 1 && kThreadId == kAllGroupsId + 2);
  return IsDlgButtonChecked(hwnd_, kAllGroupsId + static_cast<int>(which)) == BST_CHECKED;
}

void Win32MessagesView::SetPaused(bool paused) {
  SetWindowTextW(pause_, paused ? L"&Resume" : L"&Pause");
}

void Win32MessagesView::SetStatus(std::string_view text) {
  SetWindowTextW(status_, Utf8ToWide(text).c_str());
}

void Win32MessagesView::SetRows(std::size_t count) {
  const bool follow = ListView_GetSelectedCount(list_) == 0;
  // Keeps the selection and the place in the list.
  ListView_SetItemCountEx(list_, static_cast<int>(count),
                          LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  if (follow && count != 0)
    ListView_EnsureVisible(list_, static_cast<int>(count - 1), FALSE);
  InvalidateRect(list_, nullptr, FALSE);
}

std::vector<std::size_t> Win32MessagesView::SelectedRows() const {
  std::vector<std::size_t> rows;
  for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) {
    rows.push_back(static_cast<std::size_t>(i));
  }
  return rows;
}

SaveResult Win32MessagesView::Save(std::string_view name, std::string_view bytes) {
  return SaveThroughDialog(hwnd_, name,
                           L"CSV (comma-separated values)\0*.csv\0All files\0*.*\0",
                           L"csv", bytes);
}

void Win32MessagesView::SetTicking(bool on) {
  if (on) {
    SetTimer(hwnd_, kTickTimer, kTickMs, nullptr);
  } else {
    KillTimer(hwnd_, kTickTimer);
  }
}

// The filter, the switches and the buttons in a row at the top; the status
// line at the bottom; the list between them.
void Win32MessagesView::LayOut() {
  if (!status_) return;
  const UINT dpi = GetDpiForWindow(hwnd_);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int margin = Scale(kMargin, dpi);
  const int row = Scale(kRowHeight, dpi);
  // A button has a margin before it; the switches stand side by side.
  const auto room = [&](bool button) {
    return button ? margin + Scale(kButtonWidth, dpi) : Scale(kSwitchWidth, dpi);
  };
  int fixed = 0;
  for (const auto& item : kRowControls) fixed += room(item.button);
  int x = margin;
  const int filter_width = std::max<int>(client.right - 2 * margin - fixed - margin, 40);
  MoveWindow(filter_edit_, x, margin, filter_width, row, TRUE);
  x += filter_width + margin;
  for (const auto& item : kRowControls) {
    const int width = room(item.button);
    const int gap = item.button ? margin : 0;
    MoveWindow(GetDlgItem(hwnd_, item.id), x + gap, margin, width - gap, row, TRUE);
    x += width;
  }
  const int top = row + 2 * margin;
  const int status_top = std::max<int>(client.bottom - row, top);
  MoveWindow(list_, margin, top, std::max<int>(client.right - 2 * margin, 0),
             std::max<int>(status_top - top - margin / 2, 0), TRUE);
  MoveWindow(status_, margin, status_top, std::max<int>(client.right - 2 * margin, 0),
             row, TRUE);
}

void Win32MessagesView::Hide() {
  OwnedWindow::Hide();
  listener_.OnClose();
}

void Win32MessagesView::ShowMenu(LPARAM position) {
  if (choices_.empty() || ListView_GetSelectedCount(list_) == 0) return;
  POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  if (position == -1) {
    // From the keyboard: at the focused row.
    RECT rect{};
    ListView_GetItemRect(list_,
                         std::max(ListView_GetNextItem(list_, -1, LVNI_FOCUSED), 0),
                         &rect, LVIR_LABEL);
    at = {rect.left, rect.bottom};
    ClientToScreen(list_, &at);
  }
  const UniqueMenu menu(CreatePopupMenu());
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    AppendMenuW(menu.get(), MF_STRING, i + 1, Utf8ToWide(choices_[i]).c_str());
  }
  const auto chosen = static_cast<std::size_t>(TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, hwnd_, nullptr));
  if (chosen != 0) listener_.OnMenuChoice(chosen - 1);
}

LRESULT Win32MessagesView::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != list_) return 0;
  if (header.code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
    if (item.mask & LVIF_TEXT) {
      cell_ = Utf8ToWide(listener_.RowText(static_cast<std::size_t>(item.iItem),
                                           static_cast<std::size_t>(item.iSubItem)));
      item.pszText = cell_.data();
    }
  } else if (header.code == LVN_KEYDOWN) {
    const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
    if (key.wVKey == 'C' && GetKeyState(VK_CONTROL) < 0) {
      listener_.OnCommand(Command::kCopy);
    }
  }
  return 0;
}

void Win32MessagesView::OnButton(int id) {
  for (const auto& item : kRowControls) {
    if (item.id != id) continue;
    if (item.button) {
      listener_.OnCommand(item.command);
    } else {
      listener_.OnSwitch();
    }
  }
}

LRESULT Win32MessagesView::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_TIMER:
      if (wparam == kTickTimer) listener_.OnTick();
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wparam) == list_) {
        ShowMenu(lparam);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wparam) == kFilterId) {
        filter_->OnCommand(HIWORD(wparam));
      } else if (LOWORD(wparam) == IDCANCEL) {
        Hide();
      } else if (HIWORD(wparam) == BN_CLICKED) {
        OnButton(LOWORD(wparam));
      }
      return 0;
  }
  return OwnedWindow::OnMessage(message, wparam, lparam);
}

}  // namespace winscout::win32
