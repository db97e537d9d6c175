#include "platform/win32/edit_menu.h"

#include <windowsx.h>

#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {
namespace {

enum MenuCommand : UINT {
  kUndo = 1,
  kCut,
  kCopy,
  kPaste,
  kDelete,
  kSelectAll,
  kFirstChoice = 100,
};

POINT MenuPosition(HWND edit, LPARAM position) {
  if (position != -1) return {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  // From the keyboard: at the box's top-left corner.
  POINT corner{0, 0};
  ClientToScreen(edit, &corner);
  return corner;
}

}  // namespace

std::optional<std::size_t> TrackEditMenu(HWND edit, LPARAM position,
                                         const std::vector<MenuChoice>& choices) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  const bool selection = start != end;
  const bool read_only = (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0;
  const bool can_paste = IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
  auto enabled = [](bool on) { return on ? MF_ENABLED : MF_GRAYED; };

  UniqueMenu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), enabled(SendMessageW(edit, EM_CANUNDO, 0, 0) != 0), kUndo,
              L"&Undo");
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), enabled(selection && !read_only), kCut, L"Cu&t");
  AppendMenuW(menu.get(), enabled(selection), kCopy, L"&Copy");
  AppendMenuW(menu.get(), enabled(can_paste && !read_only), kPaste, L"&Paste");
  AppendMenuW(menu.get(), enabled(selection && !read_only), kDelete, L"&Delete");
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), enabled(GetWindowTextLengthW(edit) > 0), kSelectAll,
              L"Select &All");
  // A submenu is owned by the menu it goes into once it is in.
  HMENU submenu = nullptr;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const MenuChoice& choice = choices[i];
    if (choice.submenu.empty()) {
      submenu = nullptr;
    } else if (!submenu || choices[i - 1].submenu != choice.submenu) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      submenu = CreatePopupMenu();
      AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                  Utf8ToWide(choice.submenu).c_str());
    }
    const HMENU into = submenu ? submenu : menu.get();
    if ((i == 0 && !submenu) || (choice.begins_group && GetMenuItemCount(into) > 0)) {
      AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
    }
    std::wstring text = Utf8ToWide(choice.text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    item.fType =
        MFT_STRING | (choice.mark == MenuChoice::Mark::kRadio ? MFT_RADIOCHECK : 0);
    item.fState = choice.marked ? MFS_CHECKED : MFS_UNCHECKED;
    item.wID = static_cast<UINT>(kFirstChoice + i);
    item.dwTypeData = text.data();
    InsertMenuItemW(into, GetMenuItemCount(into), TRUE, &item);
  }

  const POINT at = MenuPosition(edit, position);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                     at.y, 0, edit, nullptr));
  switch (command) {
    case kUndo:
      SendMessageW(edit, EM_UNDO, 0, 0);
      break;
    case kCut:
      SendMessageW(edit, WM_CUT, 0, 0);
      break;
    case kCopy:
      SendMessageW(edit, WM_COPY, 0, 0);
      break;
    case kPaste:
      SendMessageW(edit, WM_PASTE, 0, 0);
      break;
    case kDelete:
      SendMessageW(edit, WM_CLEAR, 0, 0);
      break;
    case kSelectAll:
      SendMessageW(edit, EM_SETSEL, 0, -1);
      break;
    default:
      if (command >= kFirstChoice && command < kFirstChoice + choices.size()) {
        return command - kFirstChoice;
      }
      break;
  }
  return std::nullopt;
}

}  // namespace winscout::win32
