#pragma once

#include <string>
#include <string_view>

namespace winscout::win32 {

// The program's strings are UTF-8; the W functions take UTF-16.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// Whether the text comes back unchanged from the ANSI code page, where the A
// functions would meet it.
bool AnsiCodePageHolds(std::wstring_view text);

}  // namespace winscout::win32
