#include "platform/message_ring.h"

namespace winscout {

void RingReader::Start(RingCounters& counters) {
  taken_ = __atomic_load_n(&counters.written, __ATOMIC_ACQUIRE);
  dropped_ = __atomic_load_n(&counters.dropped, __ATOMIC_ACQUIRE);
  __atomic_store_n(&counters.taken, taken_, __ATOMIC_RELEASE);
}

std::optional<std::uint64_t> RingReader::Take(RingCounters& counters,
                                              const MessageRecord* ring,
                                              std::uint32_t capacity,
                                              std::vector<MessageRecord>& records) {
  const std::uint64_t written = __atomic_load_n(&counters.written, __ATOMIC_ACQUIRE);
  const std::uint64_t dropped = __atomic_load_n(&counters.dropped, __ATOMIC_ACQUIRE);
  // The writer never runs more than a ring ahead of what was taken.
  if (written < taken_ || written - taken_ > capacity || dropped < dropped_)
    return std::nullopt;
  for (; taken_ < written; ++taken_) records.push_back(ring[taken_ % capacity]);
  __atomic_store_n(&counters.taken, taken_, __ATOMIC_RELEASE);
  const std::uint64_t new_drops = dropped - dropped_;
  dropped_ = dropped;
  return new_drops;
}

}  // namespace winscout
