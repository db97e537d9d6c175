#include "platform/win32/win32_message_box.h"

#include "platform/win32/text_conversion.h"

namespace winscout::win32 {

void Win32MessageBox::ShowExclamation(std::string_view title, std::string_view text) {
  MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace winscout::win32
