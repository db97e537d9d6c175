#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace winscout::cli {

// Appends the text as a JSON string, quotes included. Quotes, backslashes and
// control characters (NUL among them) are escaped; a byte that does not
// belong to a well-formed UTF-8 sequence (a lone surrogate's three bytes
// included) becomes U+FFFD, so the output is always valid UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

// Compact JSON, written in the order the calls come: fields keep their order.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next value in an object.
  void Key(std::string_view name);
  void String(std::string_view text);
  void Number(std::int64_t value);
  void Bool(bool value);
  const std::string& Text() const { return out_; }

 private:
  // The comma before a value that is not the first of its object or array.
  void Separate();
  void Open(char bracket);
  void Close(char bracket);

  std::string out_;
  // Nothing is in the innermost open object or array yet (nor written at
  // all). Once one closes, the one around it holds a value: it.
  bool first_ = true;
  bool after_key_ = false;
};

}  // namespace winscout::cli
