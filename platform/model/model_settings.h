#pragma once

#include <map>
#include <string>

#include "platform/settings_store.h"

namespace winscout::model {

// Settings held in memory, as the registry would hold them.
class ModelSettings final : public SettingsStore {
 public:
  std::optional<std::string> Read(std::string_view name) const override {
    const auto it = values_.find(std::string(name));
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  void Write(std::string_view name, std::string_view value) override {
    values_[std::string(name)] = value;
  }
  const std::map<std::string, std::string>& values() const { return values_; }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace winscout::model
