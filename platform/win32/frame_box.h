#pragma once

#include <windows.h>

namespace winscout::win32 {

// A frame without a caption: an etched border around child controls. It
// passes its children's notifications and requests to move the focus on to
// its parent, so the form hears them as if the controls were its own.
class FrameBox {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutFrame";

  FrameBox() = default;
  // Its window, at `rect` in the parent, in pixels.
  void Create(HINSTANCE instance, HWND parent, int id, const RECT& rect);
  FrameBox(const FrameBox&) = delete;
  FrameBox& operator=(const FrameBox&) = delete;
  ~FrameBox();

  HWND hwnd() const { return hwnd_; }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

}  // namespace winscout::win32
