#include "inspector/known_windows.h"

namespace winscout::inspector {

KnownWindows::Window& KnownWindows::Get(
    std::int64_t window, const Handler<std::string(std::int64_t)>& read_class) {
  if (const auto known = windows_.find(window); known != windows_.end())
    return known->second;
  if (windows_.size() == kWindowLimit) windows_.clear();
  std::string_view class_name;
  if (window != 0) class_name = *classes_.insert(read_class(window)).first;
  return windows_.try_emplace(window, Window{class_name, std::nullopt}).first->second;
}

void KnownWindows::ForgetScopes() {
  for (auto& [window, known] : windows_) known.in_scope.reset();
}

void KnownWindows::Clear() {
  windows_.clear();
  classes_.clear();
}

}  // namespace winscout::inspector
