#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace winscout {

// Whole-number values kept under whole-number keys (window handles, tree item
// keys, process IDs), found in constant time: a table open to linear probing.
// One type for every such table in the program, where each std::map or
// std::set of its own type brought its own copy of the tree's code; a desktop
// holds thousands of windows, so a list searched from end to end would not do.
class KeyIndex {
 public:
  // The value kept under `key`, or nullptr; valid until the next Put.
  std::uint64_t* Find(std::uint64_t key);
  const std::uint64_t* Find(std::uint64_t key) const {
    return const_cast<KeyIndex*>(this)->Find(key);
  }
  bool Contains(std::uint64_t key) const { return Find(key) != nullptr; }
  // The value kept under `key`, `value` put there first when there was none.
  std::uint64_t& Put(std::uint64_t key, std::uint64_t value = 0);
  void Remove(std::uint64_t key);
  void Clear();
  std::size_t Size() const { return used_; }

 private:
  struct Slot {
    std::uint64_t key = 0;
    std::uint64_t value = 0;
    bool used = false;
  };
  std::size_t SlotOf(std::uint64_t key) const;
  std::size_t Home(std::uint64_t key) const;

  std::vector<Slot> slots_;  // a power of two of them, at most half used
  std::size_t used_ = 0;
};

}  // namespace winscout
