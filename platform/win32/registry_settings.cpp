#include "platform/win32/registry_settings.h"

#include <windows.h>

#include <vector>

#include "platform/win32/text_conversion.h"

namespace winscout::win32 {
namespace {

// Settings are a line or two; a longer value is not one of ours.
constexpr DWORD kMaxValueBytes = 4096;

}  // namespace

std::optional<std::string> RegistrySettings::Read(std::string_view name) const {
  const std::wstring value_name = Utf8ToWide(name);
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key_path_.c_str(), value_name.c_str(),
                   RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
      bytes > kMaxValueBytes) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
  if (RegGetValueW(HKEY_CURRENT_USER, key_path_.c_str(), value_name.c_str(),
                   RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return WideToUtf8(buffer.data());
}

// A setting that cannot be saved is lost with the run; the program goes on.
void RegistrySettings::Write(std::string_view name, std::string_view value) {
  const std::wstring wide = Utf8ToWide(value);
  RegSetKeyValueW(HKEY_CURRENT_USER, key_path_.c_str(), Utf8ToWide(name).c_str(), REG_SZ,
                  wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

}  // namespace winscout::win32
