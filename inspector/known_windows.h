#pragma once

#include <cstddef>
#include <cstdint>
#include <forward_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "platform/handler.h"
#include "platform/key_index.h"

namespace winscout::inspector {

// What the message log knows of the windows its messages name: each one's
// class, read when it is first named, and whether it is in the log's scope.
// The windows can be without number (a WM_COMMAND's lParam names whatever the
// sender put there), their classes are few: each class name is kept once, and
// the log's lines view it until Clear; the windows are forgotten all at once
// when there are too many, and read again when named again.
class KnownWindows {
 public:
  static constexpr std::size_t kWindowLimit = 4096;
  struct Window {
    std::string_view class_name;
    std::optional<bool> in_scope;  // nothing until asked, and after a switch
  };

  // `read_class` gives the class name of a window named for the first time.
  Window& Get(std::int64_t window, const Handler<std::string(std::int64_t)>& read_class);
  void ForgetScopes();
  // Only once no line views a class name.
  void Clear();
  std::size_t WindowCount() const { return windows_at_.Size(); }
  std::size_t ClassCount() const {
    return static_cast<std::size_t>(std::ranges::distance(classes_));
  }

 private:
  // A list's entries stay where they are; a window's is found by the address
  // kept under its handle, a class name by a plain search: they are few.
  std::forward_list<Window> windows_;
  KeyIndex windows_at_;
  std::forward_list<std::string> classes_;
};

}  // namespace winscout::inspector
