#include "platform/win32/text_conversion.h"

#include <windows.h>

#include <limits>

#include "platform/win32/fatal_error.h"

namespace winscout::win32 {
namespace {

int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    ExitWithFailedCall("text too long to convert", ERROR_ARITHMETIC_OVERFLOW);
  }
  return static_cast<int>(size);
}

std::wstring ToWide(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), length, out.data(), needed);
  return out;
}

std::string FromWide(UINT code_page, std::wstring_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0,
                                         nullptr, nullptr);
  std::string out(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), length, out.data(), needed, nullptr,
                      nullptr);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return ToWide(CP_UTF8, text); }

std::string WideToUtf8(std::wstring_view text) { return FromWide(CP_UTF8, text); }

bool AnsiCodePageHolds(std::wstring_view text) {
  return ToWide(CP_ACP, FromWide(CP_ACP, text)) == text;
}

}  // namespace winscout::win32
