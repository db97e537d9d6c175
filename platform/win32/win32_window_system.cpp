#include "platform/win32/win32_window_system.h"

#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <vector>

#include "platform/win32/handle_conversion.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {
namespace {

using ProcessHandle = UniqueHandle<HANDLE, &CloseHandle>;

// Paths may be longer than MAX_PATH (long path support), up to the 32767
// characters of the \\?\ form.
constexpr DWORD kFirstPathCapacity = MAX_PATH;
constexpr DWORD kLastPathCapacity = 32768;

std::string ModuleFileName(HANDLE process, HMODULE module) {
  for (DWORD capacity = kFirstPathCapacity; capacity <= kLastPathCapacity;
       capacity *= 2) {
    std::vector<wchar_t> buffer(capacity);
    const DWORD length = GetModuleFileNameExW(process, module, buffer.data(), capacity);
    if (length == 0) return {};
    // A cut name fills the buffer; only a shorter one is surely whole.
    if (length < capacity - 1) return WideToUtf8({buffer.data(), length});
  }
  return {};
}

std::string ProcessImageName(HANDLE process) {
  for (DWORD capacity = kFirstPathCapacity; capacity <= kLastPathCapacity;
       capacity *= 2) {
    std::vector<wchar_t> buffer(capacity);
    DWORD length = capacity;
    if (QueryFullProcessImageNameW(process, 0, buffer.data(), &length)) {
      return WideToUtf8({buffer.data(), length});
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  }
  return {};
}

}  // namespace

ScreenPoint Win32WindowSystem::CursorPos() const {
  POINT point{};
  if (!GetCursorPos(&point)) return {};
  return {point.x, point.y};
}

// WindowFromPoint passes over disabled children and stops at their parent; so
// the point is looked up again from the top-level window it hit, down through
// the children, disabled ones included.
WindowHandle Win32WindowSystem::WindowAt(ScreenPoint point) const {
  const POINT screen{point.x, point.y};
  const HWND hit = WindowFromPoint(screen);
  const HWND root = hit ? GetAncestor(hit, GA_ROOT) : nullptr;
  if (!root || root == GetDesktopWindow()) return ToHandle(hit);
  HWND window = root;
  for (;;) {
    POINT client = screen;
    ScreenToClient(window, &client);
    const HWND child =
        ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == window) return ToHandle(window);
    window = child;
  }
}

std::string Win32WindowSystem::WindowText(WindowHandle window, int capacity) const {
  if (capacity <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity));
  const int length = GetWindowTextW(ToHwnd(window), buffer.data(), capacity);
  if (length <= 0) return {};
  return WideToUtf8({buffer.data(), static_cast<std::size_t>(length)});
}

std::string Win32WindowSystem::ClassName(WindowHandle window, int capacity) const {
  if (capacity <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(capacity));
  const int length = GetClassNameA(ToHwnd(window), buffer.data(), capacity);
  if (length <= 0) return {};
  return AnsiToUtf8({buffer.data(), static_cast<std::size_t>(length)});
}

WindowHandle Win32WindowSystem::Parent(WindowHandle window) const {
  return ToHandle(GetParent(ToHwnd(window)));
}

std::int32_t Win32WindowSystem::ControlId(WindowHandle window) const {
  return static_cast<std::int32_t>(GetWindowLongPtrW(ToHwnd(window), GWLP_ID));
}

std::string Win32WindowSystem::ModulePath(WindowHandle window) const {
  const HWND hwnd = ToHwnd(window);
  DWORD process_id = 0;
  if (!GetWindowThreadProcessId(hwnd, &process_id)) return {};
  const auto module = reinterpret_cast<HMODULE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
  ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ,
                                    FALSE, process_id));
  if (process) {
    std::string path = ModuleFileName(process.get(), module);
    if (!path.empty()) return path;
  } else {
    // Reading another process's module list needs more rights than naming its
    // image, which even elevated processes allow.
    process.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  }
  return process ? ProcessImageName(process.get()) : std::string();
}

WindowHandle Win32WindowSystem::FindTopLevel(std::string_view class_name) const {
  const std::string ansi = Utf8ToAnsi(class_name);
  return ToHandle(FindWindowA(ansi.c_str(), nullptr));
}

WindowHandle Win32WindowSystem::FindChild(WindowHandle parent, WindowHandle after,
                                          std::string_view class_name) const {
  const std::string ansi = Utf8ToAnsi(class_name);
  return ToHandle(FindWindowExA(parent == 0 ? nullptr : ToHwnd(parent), ToHwnd(after),
                                ansi.c_str(), nullptr));
}

void Win32WindowSystem::MakeTopmost(WindowHandle window) {
  SetWindowPos(ToHwnd(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace winscout::win32
