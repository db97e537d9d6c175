#include "platform/win32/save_dialog.h"

#include <commdlg.h>

#include <string>

#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {
namespace {

bool WriteWholeFile(const wchar_t* path, std::string_view bytes) {
  const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                            &written, nullptr) &&
                  written == bytes.size();
  return CloseHandle(file) && ok;
}

}  // namespace

SaveResult SaveThroughDialog(HWND owner, std::string_view name, const wchar_t* filter,
                             const wchar_t* extension, std::string_view bytes) {
  const UniqueModule dialogs(LoadLibraryW(L"comdlg32.dll"));
  using GetSaveName = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto get_save_name =
      dialogs ? reinterpret_cast<GetSaveName>(reinterpret_cast<void (*)()>(
                    GetProcAddress(dialogs.get(), "GetSaveFileNameW")))
              : nullptr;
  if (!get_save_name) return SaveResult::kFailed;
  wchar_t path[MAX_PATH] = {};
  const std::wstring suggested = Utf8ToWide(name);
  lstrcpynW(path, suggested.c_str(), MAX_PATH);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!get_save_name(&dialog)) return SaveResult::kCancelled;
  return WriteWholeFile(path, bytes) ? SaveResult::kSaved : SaveResult::kFailed;
}

}  // namespace winscout::win32
