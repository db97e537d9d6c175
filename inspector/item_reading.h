#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "inspector/try_it.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// The reading of a list's items a piece at a time, so that a long list, or a
// slow program, never holds the reader for long: one item a line, its
// columns apart by tabs.
class ItemReading {
 public:
  ItemReading(const WindowSystem& windows, WindowHandle window, ItemList list,
              int timeout_ms)
      : windows_(windows), window_(window), list_(list), timeout_ms_(timeout_ms) {}

  // Reads up to `most` items more; whether any are left to read.
  bool ReadPiece(std::size_t most);
  // "Reading items... N of M".
  std::string Progress() const;
  // What was read, once no items are left, or why the reading failed.
  ActionOutcome Outcome();
  // What is said when the user stops the reading.
  ActionOutcome Stopped() const;

 private:
  const WindowSystem& windows_;
  WindowHandle window_;
  ItemList list_;
  int timeout_ms_;
  std::string text_;
  std::size_t read_ = 0;
  std::size_t total_ = 0;
  std::size_t units_ = 0;
  std::uint64_t next_ = 0;
  bool failed_ = false;
};

}  // namespace winscout::inspector
