#include "platform/win32/win32_message_box.h"

#include "platform/win32/text_conversion.h"

namespace winscout::win32 {

void Win32MessageBox::ShowExclamation(std::string_view title, std::string_view text) {
  Show(title, text, MB_ICONEXCLAMATION);
}

void Win32MessageBox::ShowInformation(std::string_view title, std::string_view text) {
  Show(title, text, MB_ICONINFORMATION);
}

void Win32MessageBox::Show(std::string_view title, std::string_view text, UINT icon) {
  MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), MB_OK | icon);
}

}  // namespace winscout::win32
