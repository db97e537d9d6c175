#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/main_window.h"
#include "app/messages_window.h"
#include "app/pick_hot_key.h"
#include "app/windows_window.h"
#include "cli/commands.h"
#include "platform/win32/registry_settings.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_console.h"
#include "platform/win32/win32_details_list.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_hot_key.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_message_tap.h"
#include "platform/win32/win32_messages_view.h"
#include "platform/win32/win32_window_system.h"
#include "platform/win32/win32_windows_view.h"

namespace {

// The command line's face: no window, the answer on standard output.
int RunCommandLine() {
  using namespace winscout;
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.push_back(win32::WideToUtf8(__wargv[i]));
  win32::Win32WindowSystem windows;
  win32::Win32Console console;
  return cli::RunCommand(args, windows, console);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace winscout;
  // The C runtime has split the command line already: this costs the windows
  // nothing.
  if (__argc > 1) return RunCommandLine();
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
  app::MainWindow main_window(form, windows, messages, settings, clipboard);
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
