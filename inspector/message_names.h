#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_pieces.h"

namespace winscout::inspector {

// Messages that come in floods and say little; the log hides them until asked.
enum class MessageGroup { kOther, kMouseMove, kHitTest, kCursor, kTimer, kPaint };

enum class NameList : std::uint8_t;

// The names of messages and of their codes. The program carries them packed;
// they are unpacked once, when this is made.
class MessageNames {
 public:
  MessageNames();

  // The message by name: the system's WM_ messages; a standard control's own
  // (BM_, EM_, CB_, LB_ by number, LVM_ and TVM_ only for a window of their
  // class, as others use those numbers for their own); a registered message
  // by its registered name; WM_USER+n and WM_APP+n; else hex.
  std::string MessageName(std::uint32_t message, std::string_view class_name,
                          std::string_view registered_name = {}) const;
  // The names of codes, added to the text that describes a message's
  // parameters:
  // "VK_RETURN", "A", "VK_F5"; hex for keys without a name.
  void AddVirtualKeyName(TextPieces& out, std::uint32_t key) const;
  // A WM_COMMAND notification of a standard control (BN_CLICKED, EN_CHANGE,
  // CBN_SELCHANGE, LBN_DBLCLK), named by the control's class; else its
  // number.
  void AddCommandCodeName(TextPieces& out, std::uint32_t code,
                          std::string_view control_class) const;
  // A WM_NOTIFY code: the common NM_ ones, LVN_ and TVN_ from list and tree
  // views; else its number.
  void AddNotifyCodeName(TextPieces& out, std::int32_t code,
                         std::string_view sender_class) const;
  // SC_CLOSE and the other WM_SYSCOMMAND commands; else hex.
  void AddSysCommandName(TextPieces& out, std::uint32_t command) const;

 private:
  // Adds the name of the value to the text, if the list has it.
  bool AddName(TextPieces& text, NameList list, std::uint32_t value) const;

  std::string names_;
};

MessageGroup GroupOf(std::uint32_t message);
// The message numbers registered at run time lie in this range.
bool IsRegisteredMessage(std::uint32_t message);

// ASCII letters compared without regard to case, as class names are.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// "0x" and the value's hex digits, upper case, at least `digits` (up to 16) of
// them.
std::string HexText(std::uint64_t value, int digits);

}  // namespace winscout::inspector
