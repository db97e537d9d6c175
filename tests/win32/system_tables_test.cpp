// The program's copies of the system's tables, against the system itself.

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// inspector/message_names.txt's names, by tests/win32/message_name_checks.py.
struct MessageNameCheck {
  const char* name;
  long long header;  // the value as the headers give it, as the list counts
  long long listed;
  bool in_headers;
};
constexpr MessageNameCheck kMessageNames[] = {
#include "message_name_checks.inc"
};

TEST(SystemTables, MessageNamesHaveTheHeadersValues) {
  std::vector<std::string> not_in_headers;
  for (const MessageNameCheck& name : kMessageNames) {
    if (!name.in_headers) not_in_headers.push_back(name.name);
    EXPECT_TRUE(!name.in_headers || name.header == name.listed)
        << name.name << ": " << std::hex << name.header << ", listed " << name.listed;
  }
  // Undocumented, so the headers lack it.
  EXPECT_EQ(not_in_headers, std::vector<std::string>{"WM_SYSTIMER"});
}

}  // namespace
}  // namespace winscout::testing
