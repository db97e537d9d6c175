#include "platform/win32/owned_window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/fatal_error.h"

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

}  // namespace winscout::win32
