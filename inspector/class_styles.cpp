#include "inspector/class_styles.h"

#include <algorithm>
#include <span>

namespace winscout::inspector {
namespace {

// A value of the bits under `mask`: a control's type, an alignment, or a
// single flag (mask and value alike). The name is kept in the entry: a
// pointer to it would cost as much as its text.
struct StyleField {
  std::uint16_t mask;
  std::uint16_t value;
  char name[20];
};

constexpr StyleField kButtonStyles[] = {
    {0xF, 0x0, "BS_PUSHBUTTON"},      {0xF, 0x1, "BS_DEFPUSHBUTTON"},
    {0xF, 0x2, "BS_CHECKBOX"},        {0xF, 0x3, "BS_AUTOCHECKBOX"},
    {0xF, 0x4, "BS_RADIOBUTTON"},     {0xF, 0x5, "BS_3STATE"},
    {0xF, 0x6, "BS_AUTO3STATE"},      {0xF, 0x7, "BS_GROUPBOX"},
    {0xF, 0x8, "BS_USERBUTTON"},      {0xF, 0x9, "BS_AUTORADIOBUTTON"},
    {0xF, 0xA, "BS_PUSHBOX"},         {0xF, 0xB, "BS_OWNERDRAW"},
    {0xF, 0xC, "BS_SPLITBUTTON"},     {0xF, 0xD, "BS_DEFSPLITBUTTON"},
    {0xF, 0xE, "BS_COMMANDLINK"},     {0xF, 0xF, "BS_DEFCOMMANDLINK"},
    {0x20, 0x20, "BS_LEFTTEXT"},      {0x40, 0x40, "BS_ICON"},
    {0x80, 0x80, "BS_BITMAP"},        {0x300, 0x100, "BS_LEFT"},
    {0x300, 0x200, "BS_RIGHT"},       {0x300, 0x300, "BS_CENTER"},
    {0xC00, 0x400, "BS_TOP"},         {0xC00, 0x800, "BS_BOTTOM"},
    {0xC00, 0xC00, "BS_VCENTER"},     {0x1000, 0x1000, "BS_PUSHLIKE"},
    {0x2000, 0x2000, "BS_MULTILINE"}, {0x4000, 0x4000, "BS_NOTIFY"},
    {0x8000, 0x8000, "BS_FLAT"},
};

constexpr StyleField kEditStyles[] = {
    {0x3, 0x1, "ES_CENTER"},        {0x3, 0x2, "ES_RIGHT"},
    {0x4, 0x4, "ES_MULTILINE"},     {0x8, 0x8, "ES_UPPERCASE"},
    {0x10, 0x10, "ES_LOWERCASE"},   {0x20, 0x20, "ES_PASSWORD"},
    {0x40, 0x40, "ES_AUTOVSCROLL"}, {0x80, 0x80, "ES_AUTOHSCROLL"},
    {0x100, 0x100, "ES_NOHIDESEL"}, {0x400, 0x400, "ES_OEMCONVERT"},
    {0x800, 0x800, "ES_READONLY"},  {0x1000, 0x1000, "ES_WANTRETURN"},
    {0x2000, 0x2000, "ES_NUMBER"},
};

constexpr StyleField kStaticStyles[] = {
    {0x1F, 0x00, "SS_LEFT"},
    {0x1F, 0x01, "SS_CENTER"},
    {0x1F, 0x02, "SS_RIGHT"},
    {0x1F, 0x03, "SS_ICON"},
    {0x1F, 0x04, "SS_BLACKRECT"},
    {0x1F, 0x05, "SS_GRAYRECT"},
    {0x1F, 0x06, "SS_WHITERECT"},
    {0x1F, 0x07, "SS_BLACKFRAME"},
    {0x1F, 0x08, "SS_GRAYFRAME"},
    {0x1F, 0x09, "SS_WHITEFRAME"},
    {0x1F, 0x0A, "SS_USERITEM"},
    {0x1F, 0x0B, "SS_SIMPLE"},
    {0x1F, 0x0C, "SS_LEFTNOWORDWRAP"},
    {0x1F, 0x0D, "SS_OWNERDRAW"},
    {0x1F, 0x0E, "SS_BITMAP"},
    {0x1F, 0x0F, "SS_ENHMETAFILE"},
    {0x1F, 0x10, "SS_ETCHEDHORZ"},
    {0x1F, 0x11, "SS_ETCHEDVERT"},
    {0x1F, 0x12, "SS_ETCHEDFRAME"},
    {0x40, 0x40, "SS_REALSIZECONTROL"},
    {0x80, 0x80, "SS_NOPREFIX"},
    {0x100, 0x100, "SS_NOTIFY"},
    {0x200, 0x200, "SS_CENTERIMAGE"},
    {0x400, 0x400, "SS_RIGHTJUST"},
    {0x800, 0x800, "SS_REALSIZEIMAGE"},
    {0x1000, 0x1000, "SS_SUNKEN"},
    {0x2000, 0x2000, "SS_EDITCONTROL"},
    {0xC000, 0x4000, "SS_ENDELLIPSIS"},
    {0xC000, 0x8000, "SS_PATHELLIPSIS"},
    {0xC000, 0xC000, "SS_WORDELLIPSIS"},
};

constexpr StyleField kDialogStyles[] = {
    {0x1, 0x1, "DS_ABSALIGN"},
    {0x2, 0x2, "DS_SYSMODAL"},
    {0x4, 0x4, "DS_3DLOOK"},
    {0x8, 0x8, "DS_FIXEDSYS"},
    {0x10, 0x10, "DS_NOFAILCREATE"},
    {0x20, 0x20, "DS_LOCALEDIT"},
    {0x40, 0x40, "DS_SETFONT"},
    {0x80, 0x80, "DS_MODALFRAME"},
    {0x100, 0x100, "DS_NOIDLEMSG"},
    {0x200, 0x200, "DS_SETFOREGROUND"},
    {0x400, 0x400, "DS_CONTROL"},
    {0x800, 0x800, "DS_CENTER"},
    {0x1000, 0x1000, "DS_CENTERMOUSE"},
    {0x2000, 0x2000, "DS_CONTEXTHELP"},
};

struct ClassStyles {
  std::string_view class_name;
  std::span<const StyleField> fields;
};

constexpr ClassStyles kClasses[] = {
    {"Button", kButtonStyles},
    {"Edit", kEditStyles},
    {"Static", kStaticStyles},
    {"#32770", kDialogStyles},
};

// Class names compare without regard to case, as the window manager does.
bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    };
    return lower(x) == lower(y);
  });
}

}  // namespace

void NameClassStyles(std::string_view class_name, std::uint32_t& left,
                     std::string& names) {
  constexpr std::uint32_t kClassBits = 0xFFFF;
  const auto* known = std::ranges::find_if(
      kClasses, [&](const ClassStyles& c) { return SameName(c.class_name, class_name); });
  if (known == std::end(kClasses)) return;
  const std::uint32_t style = left & kClassBits;
  for (const StyleField& field : known->fields) {
    if ((style & field.mask) != field.value) continue;
    if (!names.empty()) names += " | ";
    names += field.name;
    left &= ~field.mask;
  }
}

}  // namespace winscout::inspector
