#pragma once

#include <windows.h>

namespace winscout::win32 {

// The window procedure of a class whose windows each belong to one C++
// object: the object comes in CreateWindowExW's last argument, is bound at
// WM_NCCREATE and unbound at WM_NCDESTROY. T has `HWND hwnd_` reachable from
// here and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`.
template <typename T>
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* self = static_cast<T*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  const LRESULT result = self->HandleMessage(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace winscout::win32
