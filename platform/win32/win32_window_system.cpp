#include "platform/win32/win32_window_system.h"

#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/key_index.h"
#include "platform/pointed_child.h"
#include "platform/win32/handle_conversion.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/top_level_windows.h"
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

PixelRect ToPixelRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

DpiAwareness AwarenessOf(HWND window) {
  switch (GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window))) {
    case DPI_AWARENESS_UNAWARE:
      return DpiAwareness::kUnaware;
    case DPI_AWARENESS_SYSTEM_AWARE:
      return DpiAwareness::kSystemAware;
    case DPI_AWARENESS_PER_MONITOR_AWARE:
      return DpiAwareness::kPerMonitorAware;
    default:
      return DpiAwareness::kUnknown;
  }
}

// The title as the window manager keeps it; a cut one fills the buffer, so
// the buffer grows until the title is whole.
std::string InternalTitle(HWND window) {
  for (int capacity = 256; capacity <= 65536; capacity *= 4) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity));
    const int length = InternalGetWindowText(window, buffer.data(), capacity);
    if (length < capacity - 1) {
      return WideToUtf8({buffer.data(), static_cast<std::size_t>(std::max(length, 0))});
    }
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
std::vector<HWND> SiblingsFrom(HWND parent, HWND first, HWND through = nullptr) {
  std::vector<HWND> siblings;
  if (parent == nullptr) {
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&siblings));
    siblings.erase(siblings.begin(), std::ranges::find(siblings, first));
    if (const auto end = std::ranges::find(siblings, through); end != siblings.end()) {
      siblings.erase(end + 1, siblings.end());
    }
    return siblings;
  }
  KeyIndex seen;
  for (HWND w = first; w && !seen.Contains(reinterpret_cast<std::uintptr_t>(w));
       w = GetWindow(w, GW_HWNDNEXT)) {
    seen.Put(reinterpret_cast<std::uintptr_t>(w));
    siblings.push_back(w);
    if (w == through) break;
  }
  return siblings;
}

// An empty class name searches every class, as none does.
std::optional<std::wstring> ClassArgument(std::string_view class_name) {
  if (class_name.empty()) return std::nullopt;
  return Utf8ToWide(class_name);
}

const wchar_t* Pointer(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

bool IsGroupBox(HWND window, LONG style) {
  wchar_t class_name[8];
  return (static_cast<std::uint32_t>(style) & kButtonKindMask) == kGroupBoxKind &&
         GetClassNameW(window, class_name, 8) == 6 &&
         lstrcmpiW(class_name, L"Button") == 0;
}

// The child of `parent` under the point that the user points at, or nothing.
// As ChildWindowFromPointEx does, only a point in the parent's client area
// reaches its children, and hidden and transparent children are looked
// through.
HWND ChildAt(HWND parent, POINT screen) {
  RECT client{};
  GetClientRect(parent, &client);
  MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  if (!PtInRect(&client, screen)) return nullptr;
  HWND best = nullptr;
  ChildUnderPoint best_child;
  for (HWND child : SiblingsFrom(parent, GetWindow(parent, GW_CHILD))) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    RECT rect{};
    if (!(style & WS_VISIBLE) ||
        (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) ||
        !GetWindowRect(child, &rect) || !PtInRect(&rect, screen)) {
      continue;
    }
    const ChildUnderPoint candidate{
        IsGroupBox(child, style),
        std::int64_t{rect.right - rect.left} * (rect.bottom - rect.top)};
    if (!best || PointedAtRather(candidate, best_child)) {
      best = child;
      best_child = candidate;
    }
  }
  return best;
}

}  // namespace

ScreenPoint Win32WindowSystem::CursorPos() const {
  POINT point{};
  if (!GetCursorPos(&point)) return {};
  return {point.x, point.y};
}

// WindowFromPoint passes over disabled children and stops at their parent,
// and ChildWindowFromPointEx takes the first child in Z-order, a dialog's
// group box before the controls inside it; so the point is looked up again
// from the top-level window it hit, down through the children the user points
// at (platform/pointed_child.h), disabled ones included.
WindowHandle Win32WindowSystem::WindowAt(ScreenPoint point) const {
  const POINT screen{point.x, point.y};
  const HWND hit = WindowFromPoint(screen);
  const HWND root = hit ? GetAncestor(hit, GA_ROOT) : nullptr;
  if (!root || root == GetDesktopWindow()) return ToHandle(hit);
  HWND window = root;
  while (const HWND child = ChildAt(window, screen)) window = child;
  return ToHandle(window);
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
                                Pointer(ClassArgument(class_name)), nullptr));
}

WindowHandle Win32WindowSystem::FindChildWithTitle(WindowHandle parent,
                                                   WindowHandle after,
                                                   std::string_view class_name,
                                                   std::string_view title) const {
  return ToHandle(FindWindowExW(parent == 0 ? nullptr : ToHwnd(parent), ToHwnd(after),
                                Pointer(ClassArgument(class_name)),
                                Utf8ToWide(title).c_str()));
}

WindowHandle Win32WindowSystem::DialogItem(WindowHandle parent, std::int32_t id) const {
  return parent == 0 ? 0 : ToHandle(GetDlgItem(ToHwnd(parent), id));
}

std::vector<WindowHandle> Win32WindowSystem::ChildrenOfClass(WindowHandle parent,
                                                             std::string_view class_name,
                                                             WindowHandle through) const {
  const HWND parent_hwnd = parent == 0 ? nullptr : ToHwnd(parent);
  // One search finds the first and, with it, the class's atom.
  const HWND first =
      FindWindowExW(parent_hwnd, nullptr, Utf8ToWide(class_name).c_str(), nullptr);
  if (!first) return {};
  const ULONG_PTR atom = ClassAtom(first);
  std::vector<WindowHandle> found;
  for (HWND sibling : SiblingsFrom(parent_hwnd, first, ToHwnd(through))) {
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

std::vector<TopLevelWindow> Win32WindowSystem::TopLevelWindows() const {
  return ListTopLevelWindows();
}

std::vector<WindowHandle> Win32WindowSystem::ChildWindows(WindowHandle parent) const {
  std::vector<WindowHandle> children;
  if (parent == 0) return children;
  const HWND hwnd = ToHwnd(parent);
  for (HWND child : SiblingsFrom(hwnd, GetWindow(hwnd, GW_CHILD))) {
    children.push_back(ToHandle(child));
  }
  return children;
}

std::vector<WindowHandle> Win32WindowSystem::ChildWindowsAfter(WindowHandle parent,
                                                               WindowHandle after,
                                                               std::size_t most) const {
  std::vector<WindowHandle> children;
  if (parent == 0) return children;
  const HWND hwnd = ToHwnd(parent);
  const HWND from = ToHwnd(after);
  HWND child = after != 0 && GetAncestor(from, GA_PARENT) == hwnd
                   ? GetWindow(from, GW_HWNDNEXT)
                   : GetWindow(hwnd, GW_CHILD);
  for (; child && most > 0; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(ToHandle(child));
    if (children.size() == most) break;
  }
  return children;
}

std::optional<WindowFacts> Win32WindowSystem::Facts(WindowHandle window) const {
  const HWND hwnd = ToHwnd(window);
  if (window == 0 || !IsWindow(hwnd)) return std::nullopt;
  WindowFacts facts;
  // Class names have at most 256 characters.
  wchar_t class_name[257];
  const int length = GetClassNameW(hwnd, class_name, 257);
  facts.class_name =
      WideToUtf8({class_name, static_cast<std::size_t>(std::max(length, 0))});
  facts.title = InternalTitle(hwnd);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  facts.window_rect = ToPixelRect(rect);
  rect = {};
  GetClientRect(hwnd, &rect);
  MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  facts.client_rect = ToPixelRect(rect);
  facts.style = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_STYLE));
  facts.ex_style = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  const HWND parent = GetAncestor(hwnd, GA_PARENT);
  facts.parent = parent == GetDesktopWindow() ? 0 : ToHandle(parent);
  facts.owner = ToHandle(GetWindow(hwnd, GW_OWNER));
  DWORD process_id = 0;
  facts.thread_id = GetWindowThreadProcessId(hwnd, &process_id);
  facts.process_id = process_id;
  facts.visible = IsWindowVisible(hwnd) != FALSE;
  facts.enabled = IsWindowEnabled(hwnd) != FALSE;
  facts.dpi_awareness = AwarenessOf(hwnd);
  facts.dpi = static_cast<int>(GetDpiForWindow(hwnd));
  return facts;
}

std::uint32_t Win32WindowSystem::OwnProcessId() const { return GetCurrentProcessId(); }

std::string Win32WindowSystem::ProcessImagePath(std::uint32_t process_id) const {
  const ProcessHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  return process ? ProcessImageName(process.get()) : std::string();
}

// Sent, not read from the window manager's copy: controls such as edit boxes
// keep their text themselves. A thread that does not answer in time, or that
// the system already counts as hung, is not waited for.
std::optional<std::string> Win32WindowSystem::LiveText(WindowHandle window,
                                                       int timeout_ms) const {
  const HWND hwnd = ToHwnd(window);
  // A window that is gone is known by the send that fails; the one handle
  // that a send would take for every window is none.
  if (window == 0 || hwnd == HWND_BROADCAST) return std::string();
  const UINT timeout = static_cast<UINT>(std::max(timeout_ms, 1));
  // Most texts are short: one round trip reads them whole, and only a text
  // that fills the first buffer is asked its length.
  {
    constexpr std::size_t kFirstUnits = 256;
    wchar_t first[kFirstUnits];
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, kFirstUnits,
                             reinterpret_cast<LPARAM>(first), SMTO_ABORTIFHUNG, timeout,
                             &copied)) {
      return IsWindow(hwnd) ? std::nullopt : std::optional<std::string>(std::string());
    }
    if (copied < kFirstUnits - 1) return WideToUtf8({first, copied});
  }
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeout,
                           &length)) {
    return IsWindow(hwnd) ? std::nullopt : std::optional<std::string>(std::string());
  }
  // The length is the window's word: it sizes nothing beyond the limit.
  const std::size_t units = std::min<std::size_t>(length, kMostTextUnits);
  std::vector<wchar_t> buffer(units + 1);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           timeout, &copied)) {
    return IsWindow(hwnd) ? std::nullopt : std::optional<std::string>(std::string());
  }
  const std::size_t got = std::min<std::size_t>(copied, units);
  // A cut may end inside a surrogate pair.
  if (length > units) return WholeCharacters(buffer.data(), static_cast<int>(got));
  return WideToUtf8({buffer.data(), got});
}

}  // namespace winscout::win32
