#pragma once

#include <string_view>

namespace winscout {

// A modal message box with an OK button and the exclamation icon; returns
// when the user has closed it.
class ModalMessageBox {
 public:
  virtual ~ModalMessageBox() = default;
  virtual void ShowExclamation(std::string_view title, std::string_view text) = 0;
};

}  // namespace winscout
