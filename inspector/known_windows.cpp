#include "inspector/known_windows.h"

#include <algorithm>
#include <utility>

namespace winscout::inspector {

KnownWindows::Window& KnownWindows::Get(
    std::int64_t window, const Handler<std::string(std::int64_t)>& read_class) {
  const auto key = static_cast<std::uint64_t>(window);
  if (const std::uint64_t* known = windows_at_.Find(key))
    return *reinterpret_cast<Window*>(*known);
  if (windows_at_.Size() == kWindowLimit) {
    windows_.clear();
    windows_at_.Clear();
  }
  std::string_view class_name;
  if (window != 0) {
    std::string read = read_class(window);
    const auto kept = std::ranges::find(classes_, read);
    class_name = kept != classes_.end() ? *kept : classes_.emplace_front(std::move(read));
  }
  windows_.push_front({class_name, std::nullopt});
  windows_at_.Put(key, reinterpret_cast<std::uintptr_t>(&windows_.front()));
  return windows_.front();
}

void KnownWindows::ForgetScopes() {
  for (Window& known : windows_) known.in_scope.reset();
}

void KnownWindows::Clear() {
  windows_.clear();
  windows_at_.Clear();
  classes_.clear();
}

}  // namespace winscout::inspector
