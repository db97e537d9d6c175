#include "cli/json_writer.h"

#include "platform/text_pieces.h"

namespace winscout::cli {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

bool Continues(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
  };
  const unsigned char lead = byte(0);
  // The range the second byte must lie in; it excludes overlong forms,
  // surrogates and values beyond U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!Continues(byte(i))) return 0;
  }
  return length;
}

void AppendControl(std::string& out, unsigned char c) {
  switch (c) {
    case '\b':
      out += "\\b";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      out += "\\u00";
      out += "0123456789abcdef"[c >> 4];
      out += "0123456789abcdef"[c & 0xF];
  }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7F) {
        AppendControl(out, c);
      } else {
        if (c == '"' || c == '\\') out += '\\';
        out += static_cast<char>(c);
      }
      ++i;
    } else if (const std::size_t length = SequenceLength(text, i)) {
      out.append(text, i, length);
      i += length;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  out += '"';
}

void JsonWriter::Separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_) out_ += ',';
  first_ = false;
}

void JsonWriter::Open(char bracket) {
  Separate();
  out_ += bracket;
  first_ = true;
}

void JsonWriter::Close(char bracket) {
  out_ += bracket;
  first_ = false;
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view name) {
  Separate();
  AppendJsonString(out_, name);
  out_ += ':';
  after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
  Separate();
  AppendJsonString(out_, text);
}

void JsonWriter::Number(std::int64_t value) {
  Separate();
  out_ += DecimalText(value);
}

void JsonWriter::Bool(bool value) {
  Separate();
  out_ += value ? "true" : "false";
}

}  // namespace winscout::cli
