// What the program relies on from where it keeps the user's choices: the
// registry under Wine, the model natively.

#include <gtest/gtest.h>

#include "tests/contract/test_desktop.h"

namespace winscout::testing {
namespace {

TEST(SettingsContract, ValuesComeBackAsWrittenAndMissingOnesAsNothing) {
  const std::unique_ptr<SettingsStore> store = MakeTestSettings();
  EXPECT_EQ(store->Read("Language"), std::nullopt);
  store->Write("Language", "VBA (Office)");
  store->Write("Search", "");
  store->Write("Title", "Окно “quoted”");
  EXPECT_EQ(store->Read("Language"), "VBA (Office)");
  EXPECT_EQ(store->Read("Search"), "");
  EXPECT_EQ(store->Read("Title"), "Окно “quoted”");
  store->Write("Language", "C#");
  EXPECT_EQ(store->Read("Language"), "C#");
  EXPECT_EQ(MakeTestSettings()->Read("Language"), std::nullopt)
      << "each store starts empty";
}

}  // namespace
}  // namespace winscout::testing
