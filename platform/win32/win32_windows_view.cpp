#include "platform/win32/win32_windows_view.h"

#include <algorithm>

#include "platform/win32/fatal_error.h"
#include "platform/win32/owned_window.h"
#include "platform/win32/save_dialog.h"
#include "platform/win32/text_conversion.h"

namespace winscout::win32 {
namespace {

// At 96 dots per inch.
constexpr int kWidth = 780;
constexpr int kHeight = 520;
constexpr int kMargin = 8;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 90;
constexpr int kTreeShare = 45;  // percent of the width beside the details

}  // namespace

Win32WindowsView::Win32WindowsView(HINSTANCE instance, HWND owner)
    : OwnedWindow(instance, kClassName) {
  Create(owner, L"Windows", kWidth, kHeight);
  // In tab order.
  filter_edit_ = MakeControl(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_AUTOHSCROLL, kFilterId);
  refresh_button_ = MakeControl(0, L"BUTTON", L"&Refresh", BS_PUSHBUTTON, kRefreshId);
  tree_window_ = MakeControl(
      WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
      TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, kTreeId);
  details_window_ = MakeControl(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, kDetailsId);
  status_bar_ = CreateWindowExW(
      0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), instance, nullptr);
  if (!status_bar_) ExitWithFailedCall("CreateWindowExW");
  SendMessageW(filter_edit_, EM_SETCUEBANNER, TRUE,
               reinterpret_cast<LPARAM>(L"Filter: class, title, handle or process"));
  focus_ = filter_edit_;
  filter_ = std::make_unique<Win32TextBox>(Win32TextBox::kPlainWrites);
  filter_->Attach(filter_edit_);
  tree_ = std::make_unique<Win32TreeView>(tree_window_);
  details_ = std::make_unique<Win32DetailsList>(details_window_);
  ApplyFont();
  LayOut();
}

Win32WindowsView::~Win32WindowsView() { Destroy(); }

SaveResult Win32WindowsView::SaveJson(std::string_view name, std::string_view bytes) {
  return SaveThroughDialog(hwnd_, name, L"JSON\0*.json\0All files\0*.*\0", L"json",
                           bytes);
}

void Win32WindowsView::ApplyFont() {
  OwnedWindow::ApplyFont();
  details_->SetDpi(GetDpiForWindow(hwnd_));
}

// The filter and the button in a row at the top, the status bar at the
// bottom; the tree and the details share the rest, side by side.
void Win32WindowsView::LayOut() {
  if (!details_) return;
  const UINT dpi = GetDpiForWindow(hwnd_);
  // The status bar places itself along the bottom.
  SendMessageW(status_bar_, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(status_bar_, &status);
  RECT client{};
  GetClientRect(hwnd_, &client);
  client.bottom -= status.bottom - status.top;
  const int margin = Scale(kMargin, dpi);
  const int row = Scale(kRowHeight, dpi);
  const int button = Scale(kButtonWidth, dpi);
  const int width = std::max<int>(client.right - 2 * margin, 0);
  const int below = row + 2 * margin;
  const int height = std::max<int>(client.bottom - below - margin, 0);
  const int tree_width = width * kTreeShare / 100;
  MoveWindow(filter_edit_, margin, margin, std::max(width - button - margin, 0), row,
             TRUE);
  MoveWindow(refresh_button_, margin + width - button, margin, button, row, TRUE);
  MoveWindow(tree_window_, margin, below, tree_width, height, TRUE);
  MoveWindow(details_window_, 2 * margin + tree_width, below,
             std::max(width - tree_width - margin, 0), height, TRUE);
}

void Win32WindowsView::SetStatus(std::string_view text) {
  SendMessageW(status_bar_, SB_SETTEXTW, 0,
               reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
}

void Win32WindowsView::CallLater(int ms, EventHandler handler) {
  later_ = std::move(handler);
  SetTimer(hwnd_, kLaterTimerId, static_cast<UINT>(ms), nullptr);
}

void Win32WindowsView::OnLater() {
  KillTimer(hwnd_, kLaterTimerId);
  // The call may ask for the next one.
  EventHandler call = std::move(later_);
  later_ = {};
  if (call) call();
}

LRESULT Win32WindowsView::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tree_window_) return tree_->OnNotify(header);
  if (header.hwndFrom == details_window_) return details_->OnNotify(header);
  return 0;
}

LRESULT Win32WindowsView::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_TIMER:
      if (wparam == kLaterTimerId) OnLater();
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wparam) == tree_window_) {
        tree_->ShowMenu(lparam);
        return 0;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kFilterId:
          filter_->OnCommand(HIWORD(wparam));
          return 0;
        case kRefreshId:
          if (HIWORD(wparam) == BN_CLICKED && on_refresh_) on_refresh_();
          return 0;
        case IDOK:
          // Enter, which the dialog keys keep from the tree.
          if (GetFocus() == tree_window_) tree_->ChooseSelected();
          return 0;
        case IDCANCEL:
          Hide();
          return 0;
      }
      break;
    case WM_ACTIVATE:
      // The control that had the focus gets it back with the window.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
      } else {
        SetFocus(focus_);
      }
      return 0;
    case WM_SETFOCUS:
      SetFocus(focus_);
      return 0;
  }
  return OwnedWindow::OnMessage(message, wparam, lparam);
}

}  // namespace winscout::win32
