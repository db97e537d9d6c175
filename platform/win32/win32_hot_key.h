#pragma once

#include <windows.h>

#include "platform/toolkit.h"
#include "platform/win32/window_class.h"

namespace winscout::win32 {

// A system-wide hot key, delivered to a message-only window of its own, so
// that it reaches the program whichever of its windows exists or has the
// focus. Released with the object.
class Win32HotKey final : public GlobalHotKey {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutHotKey";

  Win32HotKey(HINSTANCE instance, KeyCombination keys);
  Win32HotKey(const Win32HotKey&) = delete;
  Win32HotKey& operator=(const Win32HotKey&) = delete;
  ~Win32HotKey() override;

  bool Register() override;
  void OnPressed(EventHandler handler) override { on_pressed_ = std::move(handler); }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;

 private:
  WindowClass class_;
  KeyCombination keys_;
  bool registered_ = false;
  EventHandler on_pressed_;
};

}  // namespace winscout::win32
