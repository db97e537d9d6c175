#include "platform/key_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>

namespace winscout {
namespace {

// Puts and removals at random, over few keys so that probe runs are long and
// wrap around the table's end, checked against a std::map after every step.
TEST(KeyIndexTest, KeepsWhatAMapKeeps) {
  std::mt19937 random(7);
  KeyIndex index;
  std::map<std::uint64_t, std::uint64_t> expected;
  for (int step = 0; step < 20000; ++step) {
    const std::uint64_t key = random() % 300 * 0x10001u;
    if (random() % 3 == 0) {
      index.Remove(key);
      expected.erase(key);
    } else {
      EXPECT_EQ(index.Put(key, step), expected.try_emplace(key, step).first->second);
    }
    if (step % 5000 == 4999) {
      index.Clear();
      expected.clear();
    }
    ASSERT_EQ(index.Size(), expected.size());
    for (std::uint64_t probe = 0; probe < 300; ++probe) {
      const std::uint64_t* found = index.Find(probe * 0x10001u);
      const auto known = expected.find(probe * 0x10001u);
      ASSERT_EQ(found != nullptr, known != expected.end()) << "step " << step;
      if (found) {
        ASSERT_EQ(*found, known->second);
      }
    }
  }
}

}  // namespace
}  // namespace winscout
