#include "platform/win32/type_ahead.h"

#include <string>

namespace winscout::win32 {
namespace {

bool IsPlainCharacter(WPARAM character) { return character >= 0x20 && character != 0x7F; }

// Keys whose only work is to type: letters, digits, the space bar, the
// punctuation and number-pad keys, and Shift, with neither Ctrl nor Alt down.
bool IsTypingKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  return key == VK_SPACE || key == VK_SHIFT || (key >= '0' && key <= '9') ||
         (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_DIVIDE) ||
         (key >= VK_OEM_1 && key <= VK_OEM_3) || (key >= VK_OEM_4 && key <= VK_OEM_8) ||
         key == VK_OEM_102;
}

}  // namespace

bool TypeAhead(const MSG& typed) {
  const HWND edit = typed.hwnd;
  if (!IsPlainCharacter(typed.wParam) ||
      (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0) {
    return false;
  }
  std::wstring text(1, static_cast<wchar_t>(typed.wParam));
  MSG next;
  while (PeekMessageW(&next, edit, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) {
    const UINT kind = next.message;
    const bool takes_part = kind == WM_CHAR ? IsPlainCharacter(next.wParam)
                            : kind == WM_KEYDOWN || kind == WM_KEYUP
                                ? IsTypingKey(next.wParam)
                                : false;
    if (!takes_part) break;
    // The first message of its kind in the queue is the one just seen.
    PeekMessageW(&next, edit, kind, kind, PM_REMOVE);
    if (kind == WM_CHAR) {
      text += static_cast<wchar_t>(next.wParam);
    } else {
      // A key down's character is posted, and so comes before the next key.
      if (kind == WM_KEYDOWN) TranslateMessage(&next);
      DispatchMessageW(&next);
    }
  }
  if (text.size() == 1) return false;
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  return true;
}

}  // namespace winscout::win32
