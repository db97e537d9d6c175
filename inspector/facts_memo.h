#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/window_system.h"

namespace winscout::inspector {

// What a pass over many windows has read: each window's facts and each
// process's image path, read once however often the pass asks. On a desktop
// of thousands of windows every read is a round trip to the window manager.
class FactsMemo {
 public:
  explicit FactsMemo(const WindowSystem& windows) : windows_(windows) {}
  FactsMemo(const FactsMemo&) = delete;
  FactsMemo& operator=(const FactsMemo&) = delete;

  const WindowSystem& windows() const { return windows_; }
  const std::optional<WindowFacts>& Facts(WindowHandle window);
  const std::string& ImagePath(std::uint32_t process_id);

 private:
  const WindowSystem& windows_;
  std::map<WindowHandle, std::optional<WindowFacts>> facts_;
  std::map<std::uint32_t, std::string> images_;
};

}  // namespace winscout::inspector
