// The program's copies of the system's tables, against the system itself.

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/case_blind.h"

namespace winscout::testing {
namespace {

TEST(SystemTables, UpcaseTableIsTheSystems) {
  using Upcase = WCHAR(WINAPI*)(WCHAR);
  const auto upcase = reinterpret_cast<Upcase>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
  ASSERT_NE(upcase, nullptr);
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    ASSERT_EQ(UpcaseUnit(static_cast<char16_t>(unit)), upcase(static_cast<WCHAR>(unit)))
        << std::hex << unit;
  }
}

}  // namespace
}  // namespace winscout::testing
