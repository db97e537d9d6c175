#pragma once

#include <windows.h>

#include "platform/toolkit.h"

namespace winscout::win32 {

// A message box owned by the given window, so that it stays in front of it and
// disables it while open.
class Win32MessageBox final : public ModalMessageBox {
 public:
  explicit Win32MessageBox(HWND owner) : owner_(owner) {}
  void ShowExclamation(std::string_view title, std::string_view text) override;

 private:
  HWND owner_;
};

}  // namespace winscout::win32
