#include "inspector/message_names.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "codegen/packed_text.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {

using codegen::UnpackText;

// The lists of names in message_names.txt, packed into the program at build
// time.
enum class NameList {
  kWindowMessages,
  kListViewMessages,
  kTreeViewMessages,
  kVirtualKeys,
  kButtonCodes,
  kEditCodes,
  kComboBoxCodes,
  kListBoxCodes,
  kCommonNotifyCodes,
  kListViewNotifyCodes,
  kTreeViewNotifyCodes,
  kSysCommands,
};
struct NameText {
  NameList list;
  std::uint32_t begin;
  std::uint32_t end;
};
// Values and the list of their names, in the same order.
struct NameTable {
  std::span<const std::uint16_t> values;
  NameList list;
};

namespace {

#include "inspector/message_names.inc"

constexpr std::uint16_t kWindowMessagesValues[] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0005, 0x0006, 0x0007, 0x0008, 0x000A, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015,
    0x0016, 0x0018, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, 0x0020, 0x0021,
    0x0022, 0x0023, 0x0024, 0x0026, 0x0027, 0x0028, 0x002A, 0x002B, 0x002C, 0x002D,
    0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0037, 0x0039, 0x003D, 0x0041,
    0x0046, 0x0047, 0x0048, 0x004A, 0x004B, 0x004E, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, 0x0080, 0x0081, 0x0082,
    0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AB, 0x00AC, 0x00AD, 0x00B0,
    0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA,
    0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00C1, 0x00C2, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2,
    0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00F0, 0x00F1, 0x00F2,
    0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00FE, 0x00FF, 0x0100, 0x0101,
    0x0102, 0x0103, 0x0104, 0x0105, 0x0106, 0x0107, 0x0109, 0x010D, 0x010E, 0x010F,
    0x0110, 0x0111, 0x0112, 0x0113, 0x0114, 0x0115, 0x0116, 0x0117, 0x0118, 0x0119,
    0x011A, 0x011F, 0x0120, 0x0121, 0x0122, 0x0123, 0x0124, 0x0125, 0x0126, 0x0127,
    0x0128, 0x0129, 0x0132, 0x0133, 0x0134, 0x0135, 0x0136, 0x0137, 0x0138, 0x0140,
    0x0141, 0x0142, 0x0143, 0x0144, 0x0145, 0x0146, 0x0147, 0x0148, 0x0149, 0x014A,
    0x014B, 0x014C, 0x014D, 0x014E, 0x014F, 0x0150, 0x0151, 0x0152, 0x0153, 0x0154,
    0x0155, 0x0156, 0x0157, 0x0158, 0x0159, 0x015A, 0x015B, 0x015C, 0x015D, 0x015E,
    0x015F, 0x0160, 0x0161, 0x0164, 0x0180, 0x0181, 0x0182, 0x0183, 0x0184, 0x0185,
    0x0186, 0x0187, 0x0188, 0x0189, 0x018A, 0x018B, 0x018C, 0x018D, 0x018E, 0x018F,
    0x0190, 0x0191, 0x0192, 0x0193, 0x0194, 0x0195, 0x0196, 0x0197, 0x0198, 0x0199,
    0x019A, 0x019B, 0x019C, 0x019D, 0x019E, 0x019F, 0x01A0, 0x01A1, 0x01A2, 0x01A5,
    0x01A6, 0x01A7, 0x01A8, 0x01A9, 0x01B2, 0x0200, 0x0201, 0x0202, 0x0203, 0x0204,
    0x0205, 0x0206, 0x0207, 0x0208, 0x0209, 0x020A, 0x020B, 0x020C, 0x020D, 0x020E,
    0x0210, 0x0211, 0x0212, 0x0213, 0x0214, 0x0215, 0x0216, 0x0218, 0x0219, 0x0220,
    0x0221, 0x0222, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x0228, 0x0229, 0x0230,
    0x0231, 0x0232, 0x0233, 0x0234, 0x0281, 0x0282, 0x0283, 0x0284, 0x0285, 0x0286,
    0x0288, 0x0290, 0x0291, 0x02A0, 0x02A1, 0x02A2, 0x02A3, 0x02B1, 0x02E0, 0x0300,
    0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308, 0x0309, 0x030A,
    0x030B, 0x030C, 0x030D, 0x030E, 0x030F, 0x0310, 0x0311, 0x0312, 0x0317, 0x0318,
    0x0319, 0x031A, 0x031D, 0x031E, 0x0320};
constexpr NameTable kWindowMessages{kWindowMessagesValues, NameList::kWindowMessages};

// Offsets from LVM_FIRST (0x1000).
constexpr std::uint16_t kListViewMessagesValues[] = {
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0C, 0x0D, 0x0E, 0x0F,
    0x10, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E,
    0x1F, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E,
    0x2F, 0x30, 0x32, 0x33, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x4B, 0x4C,
    0x4D, 0x53, 0x5F, 0x60, 0x61, 0x73, 0x74, 0x76, 0x8E, 0x8F};
constexpr NameTable kListViewMessages{kListViewMessagesValues,
                                      NameList::kListViewMessages};

// Offsets from TVM_FIRST (0x1100).
constexpr std::uint16_t kTreeViewMessagesValues[] = {
    0x00, 0x01, 0x02, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
    0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x16, 0x1B,
    0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x27, 0x32, 0x3E, 0x3F, 0x41};
constexpr NameTable kTreeViewMessages{kTreeViewMessagesValues,
                                      NameList::kTreeViewMessages};

constexpr std::uint16_t kVirtualKeysValues[] = {
    0x01, 0x02, 0x03, 0x04, 0x08, 0x09, 0x0C, 0x0D, 0x10, 0x11, 0x12, 0x13,
    0x14, 0x1B, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29,
    0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x5B, 0x5C, 0x5D, 0x5F, 0x6A, 0x6B,
    0x6C, 0x6D, 0x6E, 0x6F, 0x90, 0x91, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5,
    0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
constexpr NameTable kVirtualKeys{kVirtualKeysValues, NameList::kVirtualKeys};

constexpr std::uint16_t kButtonCodesValues[] = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr NameTable kButtonCodes{kButtonCodesValues, NameList::kButtonCodes};
constexpr std::uint16_t kEditCodesValues[] = {0x100, 0x200, 0x300, 0x400,
                                              0x500, 0x501, 0x601, 0x602};
constexpr NameTable kEditCodes{kEditCodesValues, NameList::kEditCodes};
constexpr std::uint16_t kComboBoxCodesValues[] = {0xFFFF, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr NameTable kComboBoxCodes{kComboBoxCodesValues, NameList::kComboBoxCodes};
constexpr std::uint16_t kListBoxCodesValues[] = {0xFFFE, 1, 2, 3, 4, 5};
constexpr NameTable kListBoxCodes{kListBoxCodesValues, NameList::kListBoxCodes};

// WM_NOTIFY codes are negative; the tables hold their magnitudes.
constexpr std::uint16_t kCommonNotifyCodesValues[] = {
    1, 2, 3, 4, 5, 6, 7, 8, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
constexpr NameTable kCommonNotifyCodes{kCommonNotifyCodesValues,
                                       NameList::kCommonNotifyCodes};
constexpr std::uint16_t kListViewNotifyCodesValues[] = {
    100, 101, 102, 103, 104, 105, 106, 108, 109, 111, 113, 114,
    115, 121, 150, 151, 155, 156, 157, 158, 175, 176, 177, 178};
constexpr NameTable kListViewNotifyCodes{kListViewNotifyCodesValues,
                                         NameList::kListViewNotifyCodes};
constexpr std::uint16_t kTreeViewNotifyCodesValues[] = {
    401, 402, 403, 404, 405, 406, 407, 408, 409, 410, 411, 412, 413,
    414, 415, 450, 451, 452, 453, 454, 455, 456, 457, 458, 459, 460};
constexpr NameTable kTreeViewNotifyCodes{kTreeViewNotifyCodesValues,
                                         NameList::kTreeViewNotifyCodes};

constexpr std::uint16_t kSysCommandsValues[] = {
    0xF000, 0xF010, 0xF020, 0xF030, 0xF040, 0xF050, 0xF060, 0xF070, 0xF080,
    0xF090, 0xF100, 0xF120, 0xF130, 0xF140, 0xF150, 0xF160, 0xF170, 0xF180};
constexpr NameTable kSysCommands{kSysCommandsValues, NameList::kSysCommands};

constexpr std::uint32_t kUser = 0x0400;
constexpr std::uint32_t kApp = 0x8000;
constexpr std::uint32_t kRegisteredFirst = 0xC000;
constexpr std::uint32_t kListViewFirst = 0x1000;
constexpr std::uint32_t kTreeViewFirst = 0x1100;

bool SameClass(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
  });
}

// The table of a standard control's own messages, by its class; nullptr for
// other classes.
const NameTable* ControlTable(std::string_view class_name, std::uint32_t& first) {
  if (SameClass(class_name, "SysListView32")) {
    first = kListViewFirst;
    return &kListViewMessages;
  }
  if (SameClass(class_name, "SysTreeView32")) {
    first = kTreeViewFirst;
    return &kTreeViewMessages;
  }
  return nullptr;
}

}  // namespace

std::string HexText(std::uint64_t value, int digits) {
  std::string text;
  for (; value != 0 || digits > 0; value >>= 4, --digits) {
    text.insert(text.begin(), "0123456789ABCDEF"[value & 0xF]);
  }
  return "0x" + text;
}

bool IsRegisteredMessage(std::uint32_t message) {
  return message >= kRegisteredFirst && message <= 0xFFFF;
}

MessageNames::MessageNames() : names_(UnpackText(kPackedNameTexts)) {}

// Each line of a list is a name, or a prefix ("WM_") of the names after it.
bool MessageNames::AddName(TextPieces& text, const NameTable* table,
                           std::uint32_t value) const {
  if (!table) return false;
  const auto found = std::ranges::find(table->values, value);
  if (found == table->values.end()) return false;
  const NameText* list = std::ranges::find(kNameTexts, table->list, &NameText::list);
  std::string_view lines =
      std::string_view(names_).substr(list->begin, list->end - list->begin);
  std::string_view prefix;
  for (auto i = found - table->values.begin(); !lines.empty();) {
    const std::string_view line = lines.substr(0, lines.find('\n'));
    lines.remove_prefix(std::min(line.size() + 1, lines.size()));
    if (line.ends_with('_')) {
      prefix = line;
    } else if (i-- == 0) {
      text << prefix << line;
      return true;
    }
  }
  return false;
}

std::string MessageNames::MessageName(std::uint32_t message, std::string_view class_name,
                                      std::string_view registered_name) const {
  TextPieces name;
  std::uint32_t first = 0;
  const NameTable* control = ControlTable(class_name, first);
  const bool in_table = AddName(name, &kWindowMessages, message) ||
                        (message >= first && AddName(name, control, message - first));
  if (in_table) return name.Take();
  if (IsRegisteredMessage(message) && !registered_name.empty()) {
    name << registered_name;
  } else if (message >= kUser && message < kApp) {
    name << "WM_USER+" << message - kUser;
  } else if (message >= kApp && message < kRegisteredFirst) {
    name << "WM_APP+" << message - kApp;
  } else {
    name << HexText(message, 4);
  }
  return name.Take();
}

MessageGroup GroupOf(std::uint32_t message) {
  switch (message) {
    case 0x0200:  // WM_MOUSEMOVE
    case 0x00A0:  // WM_NCMOUSEMOVE
    case 0x02A0:  // WM_NCMOUSEHOVER
    case 0x02A1:  // WM_MOUSEHOVER
      return MessageGroup::kMouseMove;
    case 0x0084:  // WM_NCHITTEST
      return MessageGroup::kHitTest;
    case 0x0020:  // WM_SETCURSOR
      return MessageGroup::kCursor;
    case 0x0113:  // WM_TIMER
    case 0x0118:  // WM_SYSTIMER
      return MessageGroup::kTimer;
    case 0x000F:  // WM_PAINT
    case 0x0085:  // WM_NCPAINT
    case 0x0014:  // WM_ERASEBKGND
    case 0x0088:  // WM_SYNCPAINT
      return MessageGroup::kPaint;
  }
  if (message >= 0x0132 && message <= 0x0138)
    return MessageGroup::kPaint;  // WM_CTLCOLOR*
  return MessageGroup::kOther;
}

std::string MessageNames::VirtualKeyName(std::uint32_t key) const {
  TextPieces name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    name << static_cast<char>(key);
  } else if (key >= 0x60 && key <= 0x69) {
    name << "VK_NUMPAD" << key - 0x60;
  } else if (key >= 0x70 && key <= 0x87) {
    name << "VK_F" << key - 0x70 + 1;
  } else if (!AddName(name, &kVirtualKeys, key)) {
    name << HexText(key, 2);
  }
  return name.Take();
}

std::string MessageNames::CommandCodeName(std::uint32_t code,
                                          std::string_view control_class) const {
  const NameTable* table = nullptr;
  if (SameClass(control_class, "Button")) {
    table = &kButtonCodes;
  } else if (SameClass(control_class, "Edit")) {
    table = &kEditCodes;
  } else if (SameClass(control_class, "ComboBox")) {
    table = &kComboBoxCodes;
  } else if (SameClass(control_class, "ListBox") ||
             SameClass(control_class, "ComboLBox")) {
    table = &kListBoxCodes;
  }
  TextPieces name;
  if (!AddName(name, table, code)) name << "code " << code;
  return name.Take();
}

std::string MessageNames::NotifyCodeName(std::int32_t code,
                                         std::string_view sender_class) const {
  const std::uint32_t magnitude =
      code < 0 ? static_cast<std::uint32_t>(-(code + 1)) + 1 : 0;
  const NameTable* own = nullptr;
  if (SameClass(sender_class, "SysListView32")) own = &kListViewNotifyCodes;
  if (SameClass(sender_class, "SysTreeView32")) own = &kTreeViewNotifyCodes;
  TextPieces name;
  if (magnitude == 0 ||
      !(AddName(name, &kCommonNotifyCodes, magnitude) || AddName(name, own, magnitude))) {
    name << "code " << code;
  }
  return name.Take();
}

std::string MessageNames::SysCommandName(std::uint32_t command) const {
  TextPieces name;
  if (!AddName(name, &kSysCommands, command & 0xFFF0)) name << HexText(command, 4);
  return name.Take();
}

}  // namespace winscout::inspector
