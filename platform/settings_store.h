#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace winscout {

// Where the program keeps the user's choices between runs: named texts, per
// user. A store that cannot be read or written behaves as an empty one.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(std::string_view name) const = 0;
  virtual void Write(std::string_view name, std::string_view value) = 0;
};

}  // namespace winscout
