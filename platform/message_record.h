#pragma once

#include <cstdint>

namespace winscout {

// How a logged message reached its window.
enum class MessageKind : std::uint32_t {
  kPosted = 0,    // taken from the queue (GetMessage, or PeekMessage with PM_REMOVE)
  kSent = 1,      // about to be handled by the window procedure
  kReturned = 2,  // handled; `result` holds what the procedure returned
};

// One message as the hook copies it in the target, raw: it decides nothing.
// Fixed size and plain data, so that it crosses between processes as bytes.
struct MessageRecord {
  static constexpr int kTextCapacity = 48;
  // `text` holds the window's text (WM_SETTEXT), cut to fit, NUL-ended.
  static constexpr std::uint32_t kHasText = 1;
  // `notify_*` hold the WM_NOTIFY header, read in the target.
  static constexpr std::uint32_t kHasNotify = 2;
  // Sent by another thread or process (InSendMessageEx).
  static constexpr std::uint32_t kFromOtherThread = 4;
  // Something the user did, worth a step of a recording: the hook waited for
  // WinScout to read it while the windows still existed. `text` holds the
  // item chosen in a combo box, list box, list view or tree view.
  static constexpr std::uint32_t kStep = 8;
  // To a password box: the hook left its characters and keys out.
  static constexpr std::uint32_t kSecret = 16;
  // A step's button click: the button is checked after it, as read in the
  // target before its parent heard of the click.
  static constexpr std::uint32_t kChecked = 32;

  std::int64_t ticks = 0;  // the performance counter when the hook saw it
  std::int64_t window = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
  std::int64_t result = 0;
  std::int64_t notify_from = 0;
  std::uint64_t notify_id = 0;
  std::uint32_t message = 0;
  MessageKind kind = MessageKind::kPosted;
  std::int32_t notify_code = 0;
  std::uint32_t flags = 0;
  char16_t text[kTextCapacity] = {};
};

// The counters of a ring of records shared with the program that writes it.
// The writer (the hook) adds to `written` after each record and to `dropped`
// when the ring is full; the reader (WinScout) sets `taken` after reading.
struct RingCounters {
  std::uint64_t written;
  std::uint64_t taken;
  std::uint64_t dropped;
};

}  // namespace winscout
