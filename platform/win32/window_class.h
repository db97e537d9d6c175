#pragma once

#include <windows.h>

#include <string>

namespace winscout::win32 {

// A registered window class, unregistered with the object. Registration that
// fails ends the program with the error (ExitWithFailedCall).
class WindowClass {
 public:
  // Only a class of top-level windows needs an icon.
  WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style = 0,
              HBRUSH background = nullptr, HICON icon = nullptr);
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  ~WindowClass();

  const wchar_t* name() const { return name_.c_str(); }

 private:
  HINSTANCE instance_;
  std::wstring name_;
};

}  // namespace winscout::win32
