#include "platform/win32/win32_console.h"

#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {
namespace {

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
void CloseFile(HANDLE file) { CloseHandle(file); }
using UniqueFile = UniqueHandle<HANDLE, &CloseFile>;

}  // namespace

Win32Console::Win32Console()
    : out_(GetStdHandle(STD_OUTPUT_HANDLE)), err_(GetStdHandle(STD_ERROR_HANDLE)) {
  if (Usable(out_) && Usable(err_)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  // Kept open until the process ends, as standard handles are.
  const HANDLE console =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (!Usable(out_)) out_ = console;
  if (!Usable(err_)) err_ = console;
}

void Win32Console::Write(HANDLE handle, std::string_view text) {
  if (!Usable(handle) || text.empty()) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = Utf8ToWide(text);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                  nullptr);
    return;
  }
  while (!text.empty()) {
    if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    text.remove_prefix(written);
  }
}

std::optional<std::string> Win32Console::ReadFile(std::string_view path) const {
  const HANDLE opened = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (!Usable(opened)) return std::nullopt;
  const UniqueFile file(opened);
  std::string text;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read != 0) {
    text.append(buffer, read);
  }
  return text;
}

}  // namespace winscout::win32
