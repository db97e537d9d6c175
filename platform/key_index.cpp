#include "platform/key_index.h"

namespace winscout {

namespace {

constexpr std::size_t kNone = ~std::size_t{0};
constexpr std::size_t kFirstSlots = 16;

}  // namespace

// Multiplying by 2^64 over the golden ratio spreads handles, which differ in
// a few low bits, over the whole table.
std::size_t KeyIndex::Home(std::uint64_t key) const {
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> 32) &
         (slots_.size() - 1);
}

std::size_t KeyIndex::SlotOf(std::uint64_t key) const {
  if (slots_.empty()) return kNone;
  for (std::size_t at = Home(key);; at = (at + 1) & (slots_.size() - 1)) {
    if (!slots_[at].used) return kNone;
    if (slots_[at].key == key) return at;
  }
}

std::uint64_t* KeyIndex::Find(std::uint64_t key) {
  const std::size_t at = SlotOf(key);
  return at == kNone ? nullptr : &slots_[at].value;
}

std::uint64_t& KeyIndex::Put(std::uint64_t key, std::uint64_t value) {
  if (std::uint64_t* kept = Find(key)) return *kept;
  if (2 * (used_ + 1) > slots_.size()) {
    std::vector<Slot> old(slots_.empty() ? kFirstSlots : 2 * slots_.size());
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old) {
      if (slot.used) Put(slot.key, slot.value);
    }
  }
  std::size_t at = Home(key);
  while (slots_[at].used) at = (at + 1) & (slots_.size() - 1);
  slots_[at] = {key, value, true};
  ++used_;
  return slots_[at].value;
}

// Later keys of the probe run move back into the hole where their probe
// passes it, so that no search stops short of them.
void KeyIndex::Remove(std::uint64_t key) {
  std::size_t hole = SlotOf(key);
  if (hole == kNone) return;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = (hole + 1) & mask; slots_[at].used; at = (at + 1) & mask) {
    if (((at - Home(slots_[at].key)) & mask) >= ((at - hole) & mask)) {
      slots_[hole] = slots_[at];
      hole = at;
    }
  }
  slots_[hole].used = false;
  --used_;
}

void KeyIndex::Clear() {
  slots_.clear();
  used_ = 0;
}

}  // namespace winscout
