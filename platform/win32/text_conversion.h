#pragma once

#include <string>
#include <string_view>

namespace winscout::win32 {

// The program's strings are UTF-8; the W functions take UTF-16 and the A
// functions the ANSI code page. Characters the target cannot hold become the
// code page's default character.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

}  // namespace winscout::win32
