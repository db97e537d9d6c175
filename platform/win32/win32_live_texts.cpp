// Many windows' live texts, read by a few threads at once: each WM_GETTEXT
// sent to another thread waits for that thread's answer, and on Wine most of
// the wait is the two threads waking, which the other readers' sends fill.

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_window_system.h"

namespace winscout::win32 {
namespace {

constexpr int kReaders = 3;  // this thread and two more

struct Reading {
  const Win32WindowSystem& windows;
  const std::vector<WindowHandle>& handles;
  std::vector<std::optional<std::string>>& texts;
  int timeout_ms;
  LONG next = -1;
};

DWORD WINAPI ReadTexts(void* parameter) {
  Reading& reading = *static_cast<Reading*>(parameter);
  const auto count = static_cast<LONG>(reading.handles.size());
  for (LONG at; (at = InterlockedIncrement(&reading.next)) < count;) {
    reading.texts[static_cast<std::size_t>(at)] = reading.windows.LiveText(
        reading.handles[static_cast<std::size_t>(at)], reading.timeout_ms);
  }
  return 0;
}

void CloseThread(HANDLE thread) { CloseHandle(thread); }
using UniqueThread = UniqueHandle<HANDLE, &CloseThread>;

// While it waits, this thread takes the messages sent to its own windows, which
// a reader may be asking for their texts.
void AwaitWithSentMessages(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

std::vector<std::optional<std::string>> Win32WindowSystem::LiveTexts(
    const std::vector<WindowHandle>& windows, int timeout_ms) const {
  std::vector<std::optional<std::string>> texts(windows.size());
  Reading reading{*this, windows, texts, timeout_ms};
  // A reader that cannot be started leaves its share to the others.
  std::vector<UniqueThread> readers;
  for (int i = 1; i < kReaders && windows.size() > 1; ++i) {
    if (const HANDLE thread = CreateThread(nullptr, 0, &ReadTexts, &reading, 0, nullptr))
      readers.emplace_back(thread);
  }
  ReadTexts(&reading);
  for (const UniqueThread& reader : readers) AwaitWithSentMessages(reader.get());
  return texts;
}

}  // namespace winscout::win32
