#pragma once

#include <windows.h>

#include <exception>

namespace winscout::win32 {

// A Windows call that failed, with the error code it left. It holds no string
// of its own: what() is the call's name.
class Win32Error final : public std::exception {
 public:
  explicit Win32Error(const char* call, DWORD code = GetLastError())
      : call_(call), code_(code) {}
  const char* what() const noexcept override { return call_; }
  DWORD code() const { return code_; }

 private:
  const char* call_;
  DWORD code_;
};

}  // namespace winscout::win32
