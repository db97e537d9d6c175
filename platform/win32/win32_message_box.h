#pragma once

#include <windows.h>

#include <string_view>

#include "platform/toolkit.h"

namespace winscout::win32 {

// A message box owned by the given window, so that it stays in front of it and
// disables it while open.
class Win32MessageBox final : public ModalMessageBox {
 public:
  explicit Win32MessageBox(HWND owner) : owner_(owner) {}
  void ShowExclamation(std::string_view title, std::string_view text) override;
  void ShowInformation(std::string_view title, std::string_view text) override;

 private:
  void Show(std::string_view title, std::string_view text, UINT icon);

  HWND owner_;
};

}  // namespace winscout::win32
