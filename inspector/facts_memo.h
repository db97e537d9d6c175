#pragma once

#include <cstdint>
#include <forward_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/key_index.h"
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
  // The windows' live texts, read together ahead of the pass (LiveTexts);
  // LiveText gives a window's text read ahead once, and asks otherwise.
  void ReadTextsAhead(const std::vector<WindowHandle>& windows, int timeout_ms);
  std::optional<std::string> LiveText(WindowHandle window, int timeout_ms);

 private:
  const WindowSystem& windows_;
  // What was read, where it stays while more is read, found by the address
  // kept under the window's handle or the process's ID.
  std::forward_list<std::optional<WindowFacts>> facts_;
  std::forward_list<std::string> images_;
  std::vector<std::optional<std::string>> texts_;
  KeyIndex facts_at_;
  KeyIndex images_at_;
  KeyIndex texts_at_;
};

}  // namespace winscout::inspector
