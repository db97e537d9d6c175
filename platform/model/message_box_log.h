#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit.h"

namespace winscout::model {

// A message box that the user closes at once; it keeps what it showed.
class MessageBoxLog final : public ModalMessageBox {
 public:
  enum class Icon { kExclamation, kInformation };
  struct Shown {
    std::string title;
    std::string text;
    Icon icon = Icon::kExclamation;
    friend bool operator==(const Shown&, const Shown&) = default;
  };

  void ShowExclamation(std::string_view title, std::string_view text) override {
    shown_.push_back({std::string(title), std::string(text), Icon::kExclamation});
  }
  void ShowInformation(std::string_view title, std::string_view text) override {
    shown_.push_back({std::string(title), std::string(text), Icon::kInformation});
  }
  const std::vector<Shown>& shown() const { return shown_; }

 private:
  std::vector<Shown> shown_;
};

}  // namespace winscout::model
