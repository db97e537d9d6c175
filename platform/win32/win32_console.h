#pragma once

#include <windows.h>

#include "platform/console.h"

namespace winscout::win32 {

// The standard handles the program inherited (a file or a pipe it was
// redirected to), or else the console of the process that started it: a
// program of the window subsystem gets no console of its own.
class Win32Console final : public Console {
 public:
  Win32Console();
  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  void Out(std::string_view text) override { Write(out_, text); }
  void Err(std::string_view text) override { Write(err_, text); }
  std::optional<std::string> ReadFile(std::string_view path) const override;

 private:
  // UTF-16 to a console, which shows it whatever its code page; the UTF-8
  // bytes themselves to a file or pipe.
  static void Write(HANDLE handle, std::string_view text);

  HANDLE out_;
  HANDLE err_;
};

}  // namespace winscout::win32
