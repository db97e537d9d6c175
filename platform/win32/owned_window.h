#pragma once

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/window_class.h"

namespace winscout::win32 {

// What the program's second windows (Windows, Messages) share.

// Pixels at 96 dots per inch, at the DPI.
inline int Scale(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), 96);
}

// comctl32 (version 6, by the manifest) with the tree and list views and the
// status bar, loaded only where they are needed, so that the main window
// starts without their code. Ends the program if they cannot be loaded.
UniqueModule LoadCommonControls();

// Beside its owner, where the monitor has room, so that both can be seen.
void PlaceBesideOwner(HWND window);

// A resizable top-level window owned by the program's main window, with
// controls in the message font; made hidden, and closing it (Esc included)
// hides it again. One window procedure serves every such window.
class OwnedWindow {
 public:
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return OnMessage(message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;

 protected:
  OwnedWindow(HINSTANCE instance, const wchar_t* class_name);
  ~OwnedWindow() = default;

  // Makes the window, hidden, with the size given at 96 dots per inch. Called
  // by the derived window once it is whole, as the window's first messages
  // reach its handlers. Ends the program if it cannot be made.
  void Create(HWND owner, const wchar_t* title, int width, int height);
  // Called first by the derived window's destructor, while its handlers can
  // still take the window's last messages.
  void Destroy();
  // A child control; ends the program if it cannot be made.
  HWND MakeControl(DWORD ex_style, const wchar_t* window_class, const wchar_t* text,
                   DWORD style, int id);
  // Shows it (beside its owner the first time) in front, the control focused.
  void ShowFocused(HWND focus);
  bool IsShown() const { return IsWindowVisible(hwnd_) != FALSE; }

  // The message font at the window's DPI, to every control.
  virtual void ApplyFont();
  virtual void LayOut() {}
  virtual void Hide() { ShowWindow(hwnd_, SW_HIDE); }
  // The window's own messages; what it does not handle it passes here: the
  // size, the DPI and closing, and DefWindowProcW for the rest.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  UniqueModule common_controls_;
  WindowClass class_;
  HINSTANCE instance_;
  UniqueFont font_;
  bool shown_before_ = false;
};

}  // namespace winscout::win32
