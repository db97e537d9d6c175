#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace winscout::inspector {

// Messages that come in floods and say little; the log hides them until asked.
enum class MessageGroup { kOther, kMouseMove, kHitTest, kCursor, kTimer, kPaint };

// The message by name: the system's WM_ messages; a standard control's own
// (BM_, EM_, CB_, LB_ by number, LVM_ and TVM_ only for a window of their
// class, as others use those numbers for their own); a registered message by
// its registered name; WM_USER+n and WM_APP+n; else hex.
std::string MessageName(std::uint32_t message, std::string_view class_name,
                        std::string_view registered_name = {});
MessageGroup GroupOf(std::uint32_t message);
// The message numbers registered at run time lie in this range.
bool IsRegisteredMessage(std::uint32_t message);

// "VK_RETURN", "A", "VK_F5"; hex for keys without a name.
std::string VirtualKeyName(std::uint32_t key);
// A WM_COMMAND notification of a standard control (BN_CLICKED, EN_CHANGE,
// CBN_SELCHANGE, LBN_DBLCLK), named by the control's class; else its number.
std::string CommandCodeName(std::uint32_t code, std::string_view control_class);
// A WM_NOTIFY code: the common NM_ ones, LVN_ and TVN_ from list and tree
// views; else its number.
std::string NotifyCodeName(std::int32_t code, std::string_view sender_class);
// SC_CLOSE and the other WM_SYSCOMMAND commands; else hex.
std::string SysCommandName(std::uint32_t command);

// "0x" and the value's hex digits, upper case, at least `digits` of them.
std::string HexText(std::uint64_t value, int digits);

}  // namespace winscout::inspector
