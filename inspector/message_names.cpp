#include "inspector/message_names.h"

#include <algorithm>
#include <iterator>

#include "platform/packed_text.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {

// The lists of names in message_names.txt, packed into the program at build
// time.
enum class NameList : std::uint8_t {
  kNone,
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

namespace {

struct NameText {
  NameList list;
  std::uint32_t begin;
  std::uint32_t end;
};
#include "inspector/message_names.inc"

constexpr std::uint32_t kUser = 0x0400;
constexpr std::uint32_t kApp = 0x8000;
constexpr std::uint32_t kRegisteredFirst = 0xC000;
constexpr std::uint32_t kListViewFirst = 0x1000;
constexpr std::uint32_t kTreeViewFirst = 0x1100;
constexpr std::uint32_t kSysCommandFirst = 0xF000;

// The lists of a standard control's class: its own messages (numbered from
// `first`), its WM_COMMAND codes and its WM_NOTIFY codes.
struct ControlLists {
  const char* class_name = "";
  std::uint16_t first = 0;
  NameList messages = NameList::kNone;
  NameList command_codes = NameList::kNone;
  NameList notify_codes = NameList::kNone;
};
constexpr ControlLists kControls[] = {
    {"Button", 0, NameList::kNone, NameList::kButtonCodes},
    {"Edit", 0, NameList::kNone, NameList::kEditCodes},
    {"ComboBox", 0, NameList::kNone, NameList::kComboBoxCodes},
    {"ListBox", 0, NameList::kNone, NameList::kListBoxCodes},
    {"ComboLBox", 0, NameList::kNone, NameList::kListBoxCodes},
    {"SysListView32", kListViewFirst, NameList::kListViewMessages, NameList::kNone,
     NameList::kListViewNotifyCodes},
    {"SysTreeView32", kTreeViewFirst, NameList::kTreeViewMessages, NameList::kNone,
     NameList::kTreeViewNotifyCodes},
};

// None for other classes.
const ControlLists& ListsOf(std::string_view class_name) {
  static constexpr ControlLists kNoLists;
  for (const ControlLists& control : kControls) {
    if (SameIgnoringCase(class_name, control.class_name)) return control;
  }
  return kNoLists;
}

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
  });
}

std::string HexText(std::uint64_t value, int digits) {
  char text[2 + 16];
  char* start = std::end(text);
  for (; (value != 0 || digits > 0) && start != text + 2; value >>= 4, --digits) {
    *--start = "0123456789ABCDEF"[value & 0xF];
  }
  *--start = 'x';
  *--start = '0';
  return std::string(start, std::end(text));
}

bool IsRegisteredMessage(std::uint32_t message) {
  return message >= kRegisteredFirst && message <= 0xFFFF;
}

MessageNames::MessageNames() : names_(UnpackText(kPackedNameTexts)) {}

bool MessageNames::AddName(TextPieces& text, NameList list, std::uint32_t value) const {
  const NameText* entry = std::ranges::find(kNameTexts, list, &NameText::list);
  if (entry == std::end(kNameTexts)) return false;
  std::string_view lines =
      std::string_view(names_).substr(entry->begin, entry->end - entry->begin);
  std::string_view prefix;
  while (!lines.empty()) {
    const std::string_view line = lines.substr(0, lines.find('\n'));
    lines.remove_prefix(std::min(line.size() + 1, lines.size()));
    if (line.ends_with('_')) {
      prefix = line;
      continue;
    }
    const std::size_t equals = line.find('=');
    std::uint32_t line_value = 0;
    for (char digit : line.substr(equals + 1)) {
      line_value = line_value * 16 + static_cast<std::uint32_t>(
                                         digit <= '9' ? digit - '0' : digit - 'A' + 10);
    }
    if (line_value == value) {
      text << prefix << line.substr(0, equals);
      return true;
    }
  }
  return false;
}

std::string MessageNames::MessageName(std::uint32_t message, std::string_view class_name,
                                      std::string_view registered_name) const {
  TextPieces name;
  const ControlLists& control = ListsOf(class_name);
  // The system's own messages lie below WM_USER: the list is read only for
  // them, so that a flood of an application's messages costs no walk of it.
  const bool in_table =
      (message < kUser && AddName(name, NameList::kWindowMessages, message)) ||
      (message >= control.first &&
       AddName(name, control.messages, message - control.first));
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

void MessageNames::AddVirtualKeyName(TextPieces& name, std::uint32_t key) const {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    name << static_cast<char>(key);
  } else if (key >= 0x60 && key <= 0x69) {
    name << "VK_NUMPAD" << key - 0x60;
  } else if (key >= 0x70 && key <= 0x87) {
    name << "VK_F" << key - 0x70 + 1;
  } else if (!AddName(name, NameList::kVirtualKeys, key)) {
    name << HexText(key, 2);
  }
}

void MessageNames::AddCommandCodeName(TextPieces& out, std::uint32_t code,
                                      std::string_view control_class) const {
  if (!AddName(out, ListsOf(control_class).command_codes, code)) out << "code " << code;
}

void MessageNames::AddNotifyCodeName(TextPieces& out, std::int32_t code,
                                     std::string_view sender_class) const {
  const std::uint32_t magnitude =
      code < 0 ? static_cast<std::uint32_t>(-(code + 1)) + 1 : 0;
  if (magnitude == 0 || !(AddName(out, NameList::kCommonNotifyCodes, magnitude) ||
                          AddName(out, ListsOf(sender_class).notify_codes, magnitude))) {
    out << "code " << code;
  }
}

void MessageNames::AddSysCommandName(TextPieces& out, std::uint32_t command) const {
  // The list counts the commands from SC_SIZE in steps of 0x10; the low four
  // bits are the system's own.
  const std::uint32_t bits = command & 0xFFF0;
  if (bits < kSysCommandFirst ||
      !AddName(out, NameList::kSysCommands, (bits - kSysCommandFirst) >> 4)) {
    out << HexText(command, 4);
  }
}

}  // namespace winscout::inspector
