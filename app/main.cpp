#include <windows.h>

#include <optional>

#include "app/main_form.h"
#include "app/main_window.h"
#include "app/messages_window.h"
#include "app/pick_hot_key.h"
#include "app/windows_window.h"
#include "platform/win32/registry_settings.h"
#include "platform/win32/win32_details_list.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_hot_key.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_message_tap.h"
#include "platform/win32/win32_messages_view.h"
#include "platform/win32/win32_window_system.h"
#include "platform/win32/win32_windows_view.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace winscout;
  // A window that cannot be made ends the program with its error there
  // (platform/win32/fatal_error.h).
  win32::Win32Form form(instance, app::kMainForm);
  win32::Win32WindowSystem windows;
  win32::Win32MessageBox messages(form.hwnd());
  win32::RegistrySettings settings(L"Software\\WinScout");
  // Made when it first opens: the program starts without it and comctl32.
  std::optional<win32::Win32WindowsView> windows_view;
  win32::Win32Clipboard clipboard(form.hwnd());
  win32::Win32HotKey hot_key(instance, app::PickHotKey::kKeys);
  win32::Win32MessageTap message_tap;
  app::MainWindow main_window(form, windows, messages, settings);
  app::WindowsWindow windows_window(
      [&]() -> WindowsView& { return windows_view.emplace(instance, form.hwnd()); }, form,
      windows, main_window, clipboard);
  windows_window.ReadMenusWith(message_tap);
  // Made when it first opens, like the Windows window.
  std::optional<win32::Win32MessagesView> messages_view;
  app::MessagesWindow messages_window(
      [&](MessagesView::Listener& listener) -> MessagesView& {
        return messages_view.emplace(instance, form.hwnd(), listener);
      },
      form, windows, message_tap, main_window, windows_window, clipboard, messages);
  app::PickHotKey pick_hot_key(hot_key, form, main_window);
  main_window.Start();
  return form.RunMessageLoop();
}
