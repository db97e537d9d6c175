#include "inspector/message_decode.h"

#include <cstdint>

#include "inspector/message_names.h"
#include "inspector/window_details.h"
#include "platform/unicode_text.h"

namespace winscout::inspector {
namespace {

std::uint32_t Low(std::uint64_t value) {
  return static_cast<std::uint32_t>(value & 0xFFFF);
}
std::uint32_t High(std::uint64_t value) {
  return static_cast<std::uint32_t>((value >> 16) & 0xFFFF);
}
int SignedLow(std::int64_t value) { return static_cast<std::int16_t>(value & 0xFFFF); }
int SignedHigh(std::int64_t value) {
  return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}

std::string Handle(std::int64_t window) {
  return Hex32(static_cast<std::uint32_t>(window));
}

std::string HexWide(std::uint64_t value) { return HexText(value, 1); }

std::string Point(std::int64_t lparam) {
  return "x " + std::to_string(SignedLow(lparam)) + ", y " +
         std::to_string(SignedHigh(lparam));
}

// The MK_ flags of a mouse message's wParam.
std::string Buttons(std::uint64_t wparam) {
  static constexpr std::pair<std::uint32_t, const char*> kFlags[] = {
      {0x0001, "MK_LBUTTON"},  {0x0002, "MK_RBUTTON"}, {0x0004, "MK_SHIFT"},
      {0x0008, "MK_CONTROL"},  {0x0010, "MK_MBUTTON"}, {0x0020, "MK_XBUTTON1"},
      {0x0040, "MK_XBUTTON2"},
  };
  std::string text;
  for (const auto& [flag, name] : kFlags) {
    if (Low(wparam) & flag) text += std::string(text.empty() ? "" : " | ") + name;
  }
  return text;
}

std::string Character(std::uint64_t code) {
  const auto value = static_cast<char32_t>(code & 0xFFFF'FFFF);
  const std::string number = "U+" + HexText(value, 4).substr(2);
  // Control characters and lone surrogates are shown by number alone.
  if (value < 0x20 || value == 0x7F || (value >= 0xD800 && value <= 0xDFFF) ||
      value > 0x10FFFF) {
    return number;
  }
  return "'" + Utf8FromCodePoint(value) + "' " + number;
}

std::string Key(const MessageRecord& record) {
  const int repeat = static_cast<int>(record.lparam & 0xFFFF);
  return VirtualKeyName(Low(record.wparam)) + ", repeat " + std::to_string(repeat) +
         ", scan " + std::to_string((record.lparam >> 16) & 0xFF) +
         ((record.lparam & 0x01000000) ? ", extended" : "");
}

std::string Size(const MessageRecord& record) {
  static constexpr const char* kTypes[] = {"SIZE_RESTORED", "SIZE_MINIMIZED",
                                           "SIZE_MAXIMIZED", "SIZE_MAXSHOW",
                                           "SIZE_MAXHIDE"};
  const std::string type =
      record.wparam < 5 ? kTypes[record.wparam] : "type " + std::to_string(record.wparam);
  return type + ", " + std::to_string(Low(static_cast<std::uint64_t>(record.lparam))) +
         " x " + std::to_string(High(static_cast<std::uint64_t>(record.lparam)));
}

std::string Command(const MessageRecord& record, const MessageContext& context) {
  const std::string id = "ID " + std::to_string(Low(record.wparam));
  if (record.lparam == 0) {
    // No control: a menu item (0) or an accelerator (1).
    return std::string(High(record.wparam) == 1 ? "accelerator" : "menu") + ", " + id;
  }
  return id + ", " + CommandCodeName(High(record.wparam), context.control_class) +
         ", control " + Handle(record.lparam);
}

std::string Notify(const MessageRecord& record, const MessageContext& context) {
  if (!(record.flags & MessageRecord::kHasNotify)) {
    return "ID " + std::to_string(record.wparam) + ", header not read";
  }
  return NotifyCodeName(record.notify_code, context.control_class) + ", from ID " +
         std::to_string(record.notify_id) + ", control " + Handle(record.notify_from);
}

std::string Text(const MessageRecord& record) {
  if (!(record.flags & MessageRecord::kHasText)) return "text not read";
  return "\"" + RecordText(record) + "\"";
}

std::string Raw(const MessageRecord& record) {
  return "wParam " + HexWide(record.wparam) + ", lParam " +
         HexWide(static_cast<std::uint64_t>(record.lparam));
}

std::string Parameters(const MessageRecord& record, const MessageContext& context) {
  switch (record.message) {
    case 0x0111:  // WM_COMMAND
      return Command(record, context);
    case 0x004E:  // WM_NOTIFY
      return Notify(record, context);
    case 0x0112:  // WM_SYSCOMMAND
      return SysCommandName(static_cast<std::uint32_t>(record.wparam)) +
             ((record.wparam & 0xFFF0) == 0xF100 ? "" : ", " + Point(record.lparam));
    case 0x0100:  // WM_KEYDOWN
    case 0x0101:  // WM_KEYUP
    case 0x0104:  // WM_SYSKEYDOWN
    case 0x0105:  // WM_SYSKEYUP
      return Key(record);
    case 0x0102:  // WM_CHAR
    case 0x0103:  // WM_DEADCHAR
    case 0x0106:  // WM_SYSCHAR
    case 0x0107:  // WM_SYSDEADCHAR
    case 0x0109:  // WM_UNICHAR
      return Character(record.wparam) + ", repeat " +
             std::to_string(record.lparam & 0xFFFF);
    case 0x020A:  // WM_MOUSEWHEEL
    case 0x020E:  // WM_MOUSEHWHEEL
      return "delta " + std::to_string(static_cast<std::int16_t>(High(record.wparam))) +
             ", screen " + Point(record.lparam);
    case 0x0005:  // WM_SIZE
      return Size(record);
    case 0x0003:  // WM_MOVE
      return Point(record.lparam);
    case 0x000C:  // WM_SETTEXT
      return Text(record);
    case 0x000D:  // WM_GETTEXT
      return "capacity " + std::to_string(record.wparam);
    case 0x0113:  // WM_TIMER
      return "timer " + std::to_string(record.wparam);
    case 0x0007:  // WM_SETFOCUS
    case 0x0008:  // WM_KILLFOCUS
      return "other " + Handle(static_cast<std::int64_t>(record.wparam));
    case 0x0006:  // WM_ACTIVATE
      return Low(record.wparam) == 0   ? "WA_INACTIVE"
             : Low(record.wparam) == 2 ? "WA_CLICKACTIVE"
                                       : "WA_ACTIVE";
    case 0x0018:  // WM_SHOWWINDOW
      return record.wparam ? "shown" : "hidden";
    case 0x00F1:  // BM_SETCHECK
      return record.wparam == 0   ? "BST_UNCHECKED"
             : record.wparam == 1 ? "BST_CHECKED"
                                  : "BST_INDETERMINATE";
    case 0x0010:  // WM_CLOSE
    case 0x00F5:  // BM_CLICK
      return "";
  }
  if ((record.message >= 0x0200 && record.message <= 0x020D) ||
      (record.message >= 0x02A1 && record.message <= 0x02A1)) {
    const std::string buttons = Buttons(record.wparam);
    return Point(record.lparam) + (buttons.empty() ? "" : ", " + buttons);
  }
  if (record.message >= 0x00A0 && record.message <= 0x00AD) {
    return "hit " + std::to_string(record.wparam) + ", screen " + Point(record.lparam);
  }
  return Raw(record);
}

}  // namespace

std::string RecordText(const MessageRecord& record) {
  std::u16string text;
  for (char16_t unit : record.text) {
    if (unit == 0) break;
    text += unit;
  }
  return Utf8FromUtf16(text);
}

std::string DecodeParameters(const MessageRecord& record, const MessageContext& context) {
  std::string text = Parameters(record, context);
  if (record.kind == MessageKind::kReturned) {
    text +=
        std::string(text.empty() ? "" : "; ") + "result " + std::to_string(record.result);
  }
  return text;
}

}  // namespace winscout::inspector
