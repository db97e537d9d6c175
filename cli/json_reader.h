#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winscout::cli {

// A JSON value as the reader gives it. Numbers are whole: WinScout writes no
// others.
struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  std::int64_t number = 0;
  std::string text;  // UTF-8
  // An array's items; an object's values, each named by the key at its place.
  std::vector<JsonValue> items;
  std::vector<std::string> keys;

  // The value of the object's field, or nothing.
  const JsonValue* Field(std::string_view key) const;
};

// The one value the text holds, whitespace around it; nothing if the text is
// not JSON.
std::optional<JsonValue> ReadJson(std::string_view text);

}  // namespace winscout::cli
