#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "platform/message_ring.h"
#include "platform/message_tap.h"
#include "platform/win32/hook/hook_protocol.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window_class.h"

namespace winscout::win32 {

inline void UnmapView(hook::SharedLog* view) { UnmapViewOfFile(view); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void Unhook(HHOOK hook) { UnhookWindowsHookEx(hook); }
using UniqueView = UniqueHandle<hook::SharedLog*, &UnmapView>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseKernelHandle>;
using UniqueHook = UniqueHandle<HHOOK, &Unhook>;

// The hook DLL in a target thread: the shared log it writes to and the hooks
// that load it there. Everything is let go when it ends; the target keeps
// running whatever happens to WinScout, as the hook never waits for it.
class HookedThread {
 public:
  // Empty `error` on success.
  HookedThread(HMODULE dll, DWORD thread_id, bool log_messages, std::string& error);
  hook::SharedLog& Log() { return *view_.get(); }
  DWORD ThreadId() const { return thread_id_; }

 private:
  DWORD thread_id_;
  UniqueKernelHandle mapping_;
  UniqueView view_;
  std::array<UniqueHook, 3> hooks_;  // those it needs of the three the DLL has
};

// WinScout's message-only window that the hook sends each recorded step to.
class StepWindow {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutSteps";
  explicit StepWindow(EventHandler on_step);
  StepWindow(const StepWindow&) = delete;
  StepWindow& operator=(const StepWindow&) = delete;
  ~StepWindow();

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;

 private:
  WindowClass class_;
  UINT step_message_;
  EventHandler on_step_;
};

class Win32MessageTap final : public MessageTap {
 public:
  Win32MessageTap();
  ~Win32MessageTap() override;
  Win32MessageTap(const Win32MessageTap&) = delete;
  Win32MessageTap& operator=(const Win32MessageTap&) = delete;

  std::optional<std::string> Start(WindowHandle window) override;
  std::optional<std::string> StartRecording(WindowHandle window,
                                            EventHandler on_step) override;
  void Stop() override;
  std::optional<std::uint64_t> Take(std::vector<MessageRecord>& records) override;
  std::int64_t Now() const override;
  std::int64_t TicksPerSecond() const override { return frequency_; }
  std::string RegisteredName(std::uint32_t message) const override;
  bool HasMenuBar(WindowHandle window) const override;
  std::optional<std::vector<MenuItemInfo>> ReadMenu(WindowHandle window) override;

 private:
  // The DLL beside the exe, loaded while a log or a menu read needs it.
  std::optional<std::string> LoadDll();
  std::optional<std::vector<MenuItemInfo>> ReadMenuThroughHook(HWND window,
                                                               DWORD thread_id);
  // Hooks the window's thread; the error for the user where it cannot.
  std::optional<std::string> Hook(WindowHandle window);

  std::int64_t frequency_ = 1;
  UINT read_menu_message_;
  UniqueModule dll_;
  std::optional<HookedThread> logged_;
  std::optional<StepWindow> steps_;  // while recording
  RingReader ring_;
};

}  // namespace winscout::win32
