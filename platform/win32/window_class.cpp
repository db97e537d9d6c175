#include "platform/win32/window_class.h"

#include "platform/win32/fatal_error.h"

namespace winscout::win32 {

WindowClass::WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         UINT style, HBRUSH background, HICON icon)
    : instance_(instance), name_(name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name_.c_str();
  wc.hIcon = icon;
  if (!RegisterClassExW(&wc)) {
    ExitWithFailedCall("RegisterClassExW");
  }
}

WindowClass::~WindowClass() { UnregisterClassW(name_.c_str(), instance_); }

}  // namespace winscout::win32
