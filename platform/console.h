#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace winscout {

// Where the command line's answers go and its files come from: the console
// the program was started from, or the files and pipes its standard handles
// were redirected to. Text is UTF-8.
class Console {
 public:
  virtual ~Console() = default;
  virtual void Out(std::string_view text) = 0;
  virtual void Err(std::string_view text) = 0;
  // The whole file, or nothing where it cannot be read.
  virtual std::optional<std::string> ReadFile(std::string_view path) const = 0;
};

}  // namespace winscout
