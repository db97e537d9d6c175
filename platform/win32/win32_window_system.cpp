#include "platform/win32/win32_window_system.h"

#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <unordered_set>
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

// A text query's answer as UTF-8. A cut can end inside a surrogate pair; the
// lone half is dropped, so that the text ends at a whole character.
std::string WholeCharacters(const wchar_t* text, int length) {
  if (length <= 0) return {};
  auto units = static_cast<std::size_t>(length);
  if (IS_HIGH_SURROGATE(text[units - 1])) --units;
  return WideToUtf8({text, units});
}

// The atom of a window's class: FindWindowEx compares classes by their atoms,
// and reading one is a single query where reading the name takes two.
ULONG_PTR ClassAtom(HWND window) { return GetClassLongPtrW(window, GCW_ATOM); }

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// `first` and the siblings after it, in Z-order, as FindWindowEx walks them.
// Windows can move while we walk; a handle seen twice ends the walk rather
// than looping.
std::vector<HWND> SiblingsFrom(HWND parent, HWND first) {
  std::vector<HWND> siblings;
  if (parent == nullptr) {
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&siblings));
    siblings.erase(siblings.begin(), std::ranges::find(siblings, first));
    return siblings;
  }
  std::unordered_set<HWND> seen;
  for (HWND w = first; w && seen.insert(w).second; w = GetWindow(w, GW_HWNDNEXT)) {
    siblings.push_back(w);
  }
  return siblings;
}

}  // namespace

ScreenPoint Win32WindowSystem::CursorPos() const {
  POINT point{};
  if (!GetCursorPos(&point)) return {};
  return {point.x, point.y};
}

WindowHandle Win32WindowSystem::WindowAt(ScreenPoint point) const {
  return ToHandle(WindowFromPoint(POINT{point.x, point.y}));
}

std::string Win32WindowSystem::WindowText(WindowHandle window, int capacity) const {
  if (capacity <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity));
  return WholeCharacters(buffer.data(),
                         GetWindowTextW(ToHwnd(window), buffer.data(), capacity));
}

std::string Win32WindowSystem::ClassName(WindowHandle window, int capacity) const {
  if (capacity <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity));
  return WholeCharacters(buffer.data(),
                         GetClassNameW(ToHwnd(window), buffer.data(), capacity));
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
  return ToHandle(FindWindowW(Utf8ToWide(class_name).c_str(), nullptr));
}

WindowHandle Win32WindowSystem::FindChild(WindowHandle parent, WindowHandle after,
                                          std::string_view class_name) const {
  return ToHandle(FindWindowExW(parent == 0 ? nullptr : ToHwnd(parent), ToHwnd(after),
                                Utf8ToWide(class_name).c_str(), nullptr));
}

std::vector<WindowHandle> Win32WindowSystem::ChildrenOfClass(
    WindowHandle parent, std::string_view class_name) const {
  const HWND parent_hwnd = parent == 0 ? nullptr : ToHwnd(parent);
  // One search finds the first and, with it, the class's atom.
  const HWND first =
      FindWindowExW(parent_hwnd, nullptr, Utf8ToWide(class_name).c_str(), nullptr);
  if (!first) return {};
  const ULONG_PTR atom = ClassAtom(first);
  std::vector<WindowHandle> found;
  for (HWND sibling : SiblingsFrom(parent_hwnd, first)) {
    if (ClassAtom(sibling) == atom) found.push_back(ToHandle(sibling));
  }
  return found;
}

WindowHandle Win32WindowSystem::DesktopWindow() const {
  return ToHandle(GetDesktopWindow());
}

bool Win32WindowSystem::AnsiCodePageHolds(std::string_view text) const {
  return win32::AnsiCodePageHolds(Utf8ToWide(text));
}

void Win32WindowSystem::MakeTopmost(WindowHandle window) {
  SetWindowPos(ToHwnd(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace winscout::win32
