#include "platform/win32/owned_window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/bound_window.h"
#include "platform/win32/fatal_error.h"
#include "platform/win32/ui_font.h"

namespace winscout::win32 {

UniqueModule LoadCommonControls() {
  UniqueModule module(LoadLibraryW(L"comctl32.dll"));
  if (!module) ExitWithFailedCall("LoadLibraryW");
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  // Through void (*)(), which converts to any function pointer without a warning.
  const auto init = reinterpret_cast<Init>(
      reinterpret_cast<void (*)()>(GetProcAddress(module.get(), "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX classes{
      sizeof(classes), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  if (!init || !init(&classes)) ExitWithFailedCall("InitCommonControlsEx");
  return module;
}

void PlaceBesideOwner(HWND window) {
  RECT owner{};
  RECT own{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  const HWND owner_window = GetWindow(window, GW_OWNER);
  if (!GetWindowRect(owner_window, &owner) || !GetWindowRect(window, &own) ||
      !GetMonitorInfoW(MonitorFromWindow(owner_window, MONITOR_DEFAULTTONEAREST),
                       &monitor)) {
    return;
  }
  const RECT& work = monitor.rcWork;
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  int x = owner.right;
  int y = owner.top;
  if (x + width > work.right) {
    x = owner.left;
    y = owner.bottom;
  }
  x = std::max<int>(work.left, std::min<int>(x, work.right - width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

OwnedWindow::OwnedWindow(HINSTANCE instance, const wchar_t* class_name)
    : common_controls_(LoadCommonControls()),
      class_(instance, class_name, &BoundWindowProc<OwnedWindow>, 0,
             GetSysColorBrush(COLOR_BTNFACE)),
      instance_(instance) {}

void OwnedWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void OwnedWindow::Create(HWND owner, const wchar_t* title, int width, int height) {
  const UINT dpi = GetDpiForWindow(owner);
  CreateWindowExW(WS_EX_CONTROLPARENT, class_.name(), title,
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                  Scale(width, dpi), Scale(height, dpi), owner, nullptr, instance_, this);
  if (!hwnd_) ExitWithFailedCall("CreateWindowExW");
}

HWND OwnedWindow::MakeControl(DWORD ex_style, const wchar_t* window_class,
                              const wchar_t* text, DWORD style, int id) {
  const HWND control = CreateWindowExW(
      ex_style, window_class, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0,
      0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (!control) ExitWithFailedCall("CreateWindowExW");
  return control;
}

void OwnedWindow::ShowFocused(HWND focus) {
  if (!shown_before_) {
    shown_before_ = true;
    PlaceBesideOwner(hwnd_);
  }
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(focus);
}

void OwnedWindow::ApplyFont() {
  font_ = MessageFont(GetDpiForWindow(hwnd_));
  for (HWND control = GetWindow(hwnd_, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT)) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
}

LRESULT OwnedWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_CLOSE:
      Hide();
      return 0;
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyFont();
      LayOut();
      return 0;
    }
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace winscout::win32
