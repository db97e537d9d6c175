#include "platform/win32/win32_hot_key.h"

#include "platform/win32/bound_window.h"

namespace winscout::win32 {
namespace {

constexpr int kHotKeyId = 1;

}  // namespace

Win32HotKey::Win32HotKey(HINSTANCE instance, KeyCombination keys)
    : class_(instance, kClassName, &BoundWindowProc<Win32HotKey>), keys_(keys) {
  CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                  this);
}

Win32HotKey::~Win32HotKey() {
  if (!hwnd_) return;
  if (registered_) UnregisterHotKey(hwnd_, kHotKeyId);
  DestroyWindow(hwnd_);
}

bool Win32HotKey::Register() {
  if (registered_ || !hwnd_) return registered_;
  const UINT modifiers =
      (keys_.control ? MOD_CONTROL : 0) | (keys_.shift ? MOD_SHIFT : 0) | MOD_NOREPEAT;
  const UINT key = VK_F1 + static_cast<UINT>(keys_.function_key - 1);
  registered_ = RegisterHotKey(hwnd_, kHotKeyId, modifiers, key) != FALSE;
  return registered_;
}

LRESULT Win32HotKey::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_HOTKEY && wparam == kHotKeyId) {
    if (on_pressed_) on_pressed_();
    return 0;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace winscout::win32
