#include "platform/win32/top_level_windows.h"

#include <windows.h>
// tlhelp32.h needs the types of windows.h.
#include <tlhelp32.h>

#include "platform/key_index.h"
#include "platform/win32/handle_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {
namespace {

using Snapshot = UniqueHandle<HANDLE, &CloseHandle>;
using ProcessOfWindow = KeyIndex;

BOOL CALLBACK CollectHandle(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

struct ThreadWindows {
  ProcessOfWindow* process_of;
  DWORD process_id;
};

BOOL CALLBACK NoteProcess(HWND window, LPARAM thread) {
  const auto* windows = reinterpret_cast<const ThreadWindows*>(thread);
  windows->process_of->Put(reinterpret_cast<std::uintptr_t>(window), windows->process_id);
  return TRUE;
}

// The process of every top-level window, a thread's windows at a time: where
// each window's process is a round trip to the window manager (as under Wine),
// one list a thread costs far less than one question a window.
ProcessOfWindow ProcessesOfWindows() {
  ProcessOfWindow process_of;
  const HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  const Snapshot snapshot(taken == INVALID_HANDLE_VALUE ? nullptr : taken);
  if (!snapshot) return process_of;
  THREADENTRY32 thread{};
  thread.dwSize = sizeof(thread);
  for (BOOL more = Thread32First(snapshot.get(), &thread); more;
       more = Thread32Next(snapshot.get(), &thread)) {
    ThreadWindows windows{&process_of, thread.th32OwnerProcessID};
    EnumThreadWindows(thread.th32ThreadID, &NoteProcess,
                      reinterpret_cast<LPARAM>(&windows));
  }
  return process_of;
}

}  // namespace

// The desktop's list gives the order in one question, where EnumWindows and
// GetWindow ask one of each window. A window that no thread's list holds is
// gone, or no top-level window (the desktop's list may hold message-only
// windows), or the threads could not be read: it is asked about alone.
std::vector<TopLevelWindow> ListTopLevelWindows() {
  std::vector<HWND> order;
  EnumDesktopWindows(nullptr, &CollectHandle, reinterpret_cast<LPARAM>(&order));
  const ProcessOfWindow process_of = ProcessesOfWindows();
  const HWND desktop = GetDesktopWindow();
  std::vector<TopLevelWindow> windows;
  windows.reserve(order.size());
  for (HWND window : order) {
    DWORD process_id = 0;
    if (const std::uint64_t* known =
            process_of.Find(reinterpret_cast<std::uintptr_t>(window))) {
      process_id = static_cast<DWORD>(*known);
    } else if (GetAncestor(window, GA_PARENT) != desktop ||
               !GetWindowThreadProcessId(window, &process_id)) {
      continue;
    }
    windows.push_back({ToHandle(window), process_id});
  }
  return windows;
}

}  // namespace winscout::win32
