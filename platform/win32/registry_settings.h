#pragma once

#include <string>

#include "platform/settings_store.h"

namespace winscout::win32 {

// Settings as string values of one key under HKEY_CURRENT_USER, made when
// first written.
class RegistrySettings final : public SettingsStore {
 public:
  explicit RegistrySettings(std::wstring key_path) : key_path_(std::move(key_path)) {}
  std::optional<std::string> Read(std::string_view name) const override;
  void Write(std::string_view name, std::string_view value) override;

 private:
  std::wstring key_path_;
};

}  // namespace winscout::win32
