#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/message_record.h"

namespace winscout {

// WinScout's side of the ring. Any program of the session can open the
// shared memory and set the counters, so the reader keeps its own: it reads
// each record at most once, and a counter that no writer keeping to the ring
// could have set is a fault, not followed.
class RingReader {
 public:
  // From now on: what was written before is not read.
  void Start(RingCounters& counters);
  // Appends the records written since the last take and gives the writer
  // their places back; how many the writer dropped meanwhile. Nothing, and
  // nothing appended, where the counters went back or ran ahead of the ring.
  std::optional<std::uint64_t> Take(RingCounters& counters, const MessageRecord* ring,
                                    std::uint32_t capacity,
                                    std::vector<MessageRecord>& records);

 private:
  std::uint64_t taken_ = 0;
  std::uint64_t dropped_ = 0;
};

}  // namespace winscout
