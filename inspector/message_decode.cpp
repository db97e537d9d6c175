#include "inspector/message_decode.h"

#include <cstdint>

#include "inspector/message_names.h"
#include "inspector/window_details.h"
#include "platform/text_pieces.h"
#include "platform/unicode_text.h"

namespace winscout::inspector {
namespace {

std::uint32_t Low(std::uint64_t value) {
  return static_cast<std::uint32_t>(value & 0xFFFF);
}
std::uint32_t High(std::uint64_t value) {
  return static_cast<std::uint32_t>((value >> 16) & 0xFFFF);
}
std::int16_t SignedHigh(std::uint64_t value) {
  return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}

void Handle(TextPieces& out, std::int64_t window) {
  out << Hex32(static_cast<std::uint32_t>(window));
}

void Point(TextPieces& out, std::int64_t lparam) {
  out << "x " << static_cast<std::int16_t>(lparam & 0xFFFF) << ", y "
      << SignedHigh(static_cast<std::uint64_t>(lparam));
}

// The MK_ flags of a mouse message's wParam.
void Buttons(TextPieces& out, std::uint64_t wparam) {
  static constexpr char kFlags[] =
      "MK_LBUTTON\0MK_RBUTTON\0MK_SHIFT\0MK_CONTROL\0MK_MBUTTON\0MK_XBUTTON1\0MK_"
      "XBUTTON2";
  const char* name = kFlags;
  std::string_view separator = ", ";
  for (std::uint32_t flag = 1; flag <= 0x40; flag <<= 1) {
    const std::string_view piece(name);
    if (Low(wparam) & flag) {
      out << separator << piece;
      separator = " | ";
    }
    name += piece.size() + 1;
  }
}

void Character(TextPieces& out, std::uint64_t code) {
  const auto value = static_cast<char32_t>(code & 0xFFFF'FFFF);
  // Control characters and lone surrogates are shown by number alone.
  if (!(value < 0x20 || value == 0x7F || (value >= 0xD800 && value <= 0xDFFF) ||
        value > 0x10FFFF)) {
    out << '\'' << Utf8FromCodePoint(value) << "' ";
  }
  out << "U+" << std::string_view(HexText(value, 4)).substr(2);
}

void Key(TextPieces& out, const MessageRecord& record, const MessageContext& context) {
  context.names.AddVirtualKeyName(out, Low(record.wparam));
  out << ", repeat " << (record.lparam & 0xFFFF) << ", scan "
      << ((record.lparam >> 16) & 0xFF)
      << ((record.lparam & 0x01000000) ? ", extended" : "");
}

void Size(TextPieces& out, const MessageRecord& record) {
  static constexpr const char* kTypes[] = {"SIZE_RESTORED", "SIZE_MINIMIZED",
                                           "SIZE_MAXIMIZED", "SIZE_MAXSHOW",
                                           "SIZE_MAXHIDE"};
  if (record.wparam < 5) {
    out << kTypes[record.wparam];
  } else {
    out << "type " << record.wparam;
  }
  const auto lparam = static_cast<std::uint64_t>(record.lparam);
  out << ", " << Low(lparam) << " x " << High(lparam);
}

void Command(TextPieces& out, const MessageRecord& record,
             const MessageContext& context) {
  if (record.lparam == 0) {
    // No control: a menu item (0) or an accelerator (1).
    out << (High(record.wparam) == 1 ? "accelerator" : "menu") << ", ID "
        << Low(record.wparam);
    return;
  }
  out << "ID " << Low(record.wparam) << ", ";
  context.names.AddCommandCodeName(out, High(record.wparam), context.control_class);
  out << ", control ";
  Handle(out, record.lparam);
}

void Notify(TextPieces& out, const MessageRecord& record, const MessageContext& context) {
  if (!(record.flags & MessageRecord::kHasNotify)) {
    out << "ID " << record.wparam << ", header not read";
    return;
  }
  context.names.AddNotifyCodeName(out, record.notify_code, context.control_class);
  out << ", from ID " << record.notify_id << ", control ";
  Handle(out, record.notify_from);
}

void Parameters(TextPieces& out, const MessageRecord& record,
                const MessageContext& context) {
  if (record.flags & MessageRecord::kSecret) {
    out << "to a password box: not shown";
    return;
  }
  const std::uint64_t wparam = record.wparam;
  switch (record.message) {
    case 0x0111:  // WM_COMMAND
      return Command(out, record, context);
    case 0x004E:  // WM_NOTIFY
      return Notify(out, record, context);
    case 0x0112:  // WM_SYSCOMMAND
      context.names.AddSysCommandName(out, static_cast<std::uint32_t>(wparam));
      if ((wparam & 0xFFF0) != 0xF100) Point(out << ", ", record.lparam);
      return;
    case 0x0100:  // WM_KEYDOWN
    case 0x0101:  // WM_KEYUP
    case 0x0104:  // WM_SYSKEYDOWN
    case 0x0105:  // WM_SYSKEYUP
      return Key(out, record, context);
    case 0x0102:  // WM_CHAR
    case 0x0103:  // WM_DEADCHAR
    case 0x0106:  // WM_SYSCHAR
    case 0x0107:  // WM_SYSDEADCHAR
    case 0x0109:  // WM_UNICHAR
      Character(out, wparam);
      out << ", repeat " << (record.lparam & 0xFFFF);
      return;
    case 0x020A:  // WM_MOUSEWHEEL
    case 0x020E:  // WM_MOUSEHWHEEL
      out << "delta " << SignedHigh(wparam) << ", screen ";
      return Point(out, record.lparam);
    case 0x0005:  // WM_SIZE
      return Size(out, record);
    case 0x0003:  // WM_MOVE
      return Point(out, record.lparam);
    case 0x000C:  // WM_SETTEXT
      if (!(record.flags & MessageRecord::kHasText)) {
        out << "text not read";
      } else {
        out << '"' << RecordText(record) << '"';
      }
      return;
    case 0x000D:  // WM_GETTEXT
      out << "capacity " << wparam;
      return;
    case 0x0113:  // WM_TIMER
      out << "timer " << wparam;
      return;
    case 0x0007:  // WM_SETFOCUS
    case 0x0008:  // WM_KILLFOCUS
      out << "other ";
      return Handle(out, static_cast<std::int64_t>(wparam));
    case 0x0006:  // WM_ACTIVATE
      out << (Low(wparam) == 0   ? "WA_INACTIVE"
              : Low(wparam) == 2 ? "WA_CLICKACTIVE"
                                 : "WA_ACTIVE");
      return;
    case 0x0018:  // WM_SHOWWINDOW
      out << (wparam ? "shown" : "hidden");
      return;
    case 0x00F1:  // BM_SETCHECK
      out << (wparam == 0   ? "BST_UNCHECKED"
              : wparam == 1 ? "BST_CHECKED"
                            : "BST_INDETERMINATE");
      return;
    case 0x0010:  // WM_CLOSE
    case 0x00F5:  // BM_CLICK
      return;
  }
  if ((record.message >= 0x0200 && record.message <= 0x020D) ||
      record.message == 0x02A1) {
    Point(out, record.lparam);
    return Buttons(out, wparam);
  }
  if (record.message >= 0x00A0 && record.message <= 0x00AD) {
    out << "hit " << wparam << ", screen ";
    return Point(out, record.lparam);
  }
  out << "wParam " << HexText(wparam, 1) << ", lParam "
      << HexText(static_cast<std::uint64_t>(record.lparam), 1);
}

}  // namespace

std::string RecordText(const MessageRecord& record) {
  std::u16string_view text(record.text, std::size(record.text));
  return Utf8FromUtf16(text.substr(0, text.find(u'\0')));
}

std::string DecodeParameters(const MessageRecord& record, const MessageContext& context) {
  TextPieces out;
  Parameters(out, record, context);
  if (record.kind == MessageKind::kReturned) {
    out << (out.empty() ? "" : "; ") << "result " << record.result;
  }
  return out.Take();
}

}  // namespace winscout::inspector
