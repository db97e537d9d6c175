#include "platform/win32/win32_message_tap.h"

#include <algorithm>

#include "platform/text_pieces.h"
#include "platform/win32/handle_conversion.h"
#include "platform/win32/text_conversion.h"

namespace winscout::win32 {
namespace {

// The Windows window waits this long for a program to answer the menu read,
// so that one which stopped answering holds it no longer than a keystroke.
constexpr UINT kMenuReadTimeoutMs = 150;
constexpr std::uint32_t kNoMenuYet = 0xFFFFFFFF;

// The text and the code of the last error: "... (error 5)."
std::string WithLastError(const char* text) {
  const DWORD code = GetLastError();
  return (TextPieces() << text << " (error " << code << ").").Take();
}

// The menu as the walk wrote it, trusted no further than the memory it
// was written to: counts, places and depths are held to what the walk can
// write.
std::vector<MenuItemInfo> MenuItems(const hook::MenuEntry* entries, const wchar_t* texts,
                                    std::uint32_t count, std::uint32_t left_out) {
  std::vector<MenuItemInfo> items(std::min(count, hook::kMenuCapacity));
  int depth_limit = 0;  // an item goes at most one level below the one before
  for (std::size_t i = 0; i < items.size(); ++i) {
    const hook::MenuEntry& entry = entries[i];
    const std::uint32_t start = std::min(entry.text_start, hook::kMenuTextCapacity);
    const std::uint32_t length = std::min(
        {entry.text_length, hook::kMenuTextCapacity - start, hook::kMenuItemTextLimit});
    const int depth = std::clamp(entry.depth, 0, depth_limit);
    depth_limit = std::min(depth + 1, hook::kMenuDepthLimit);
    items[i] = {.depth = depth,
                .id = entry.has_submenu ? 0 : entry.id,
                .text = WideToUtf8({texts + start, length}),
                .separator = (entry.type & MFT_SEPARATOR) != 0,
                .grayed = (entry.state & MFS_GRAYED) != 0,
                .checked = (entry.state & MFS_CHECKED) != 0,
                .submenu = entry.has_submenu != 0,
                .owner_drawn = (entry.type & MFT_OWNERDRAW) != 0,
                .text_cut = length < entry.full_length};
  }
  if (left_out != 0) items.push_back({.left_out = left_out});
  return items;
}

// Whether the process is a 32-bit one on 64-bit Windows.
bool Is32Bit(HANDLE process) {
  BOOL wow64 = FALSE;
  return IsWow64Process(process, &wow64) && wow64;
}

}  // namespace

HookedThread::HookedThread(HMODULE dll, DWORD thread_id, bool log_messages,
                           std::string& error)
    : thread_id_(thread_id) {
  wchar_t name[64];
  hook::MappingName(thread_id, name);
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(hook::SharedLog), name));
  if (!mapping_) {
    error = WithLastError("CreateFileMapping failed");
    return;
  }
  // A target keeps its log while its hook DLL stays loaded; a log made before
  // is taken over unless another WinScout still reads it.
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  view_.reset(static_cast<hook::SharedLog*>(MapViewOfFile(
      mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(hook::SharedLog))));
  if (!view_) {
    error = WithLastError("MapViewOfFile failed");
    return;
  }
  hook::SharedLog& log = Log();
  if (existed && log.active && log.owner_process != GetCurrentProcessId()) {
    const HANDLE owner = OpenProcess(SYNCHRONIZE, FALSE, log.owner_process);
    const bool alive = owner && WaitForSingleObject(owner, 0) == WAIT_TIMEOUT;
    if (owner) CloseHandle(owner);
    if (alive) {
      error = "Another WinScout logs this window's thread.";
      return;
    }
  }
  log.magic = hook::kMagic;
  log.owner_process = GetCurrentProcessId();
  const struct {
    int type;
    const char* name;
  } hooks[] = {{WH_CALLWNDPROC, hook::kCallWndProcHook},
               {WH_CALLWNDPROCRET, hook::kCallWndRetHook},
               {WH_GETMESSAGE, hook::kGetMessageHook}};
  static_assert(std::size(hooks) == std::tuple_size_v<decltype(hooks_)>);
  for (std::size_t i = 0; i < std::size(hooks); ++i) {
    const auto& wanted = hooks[i];
    if (!log_messages && wanted.type != WH_CALLWNDPROC) continue;
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, wanted.name)));
    hooks_[i].reset(procedure ? SetWindowsHookExW(wanted.type, procedure, dll, thread_id)
                              : nullptr);
    if (!hooks_[i]) {
      error = WithLastError("SetWindowsHookEx failed");
      return;
    }
  }
  __atomic_store_n(&log.active, log_messages ? 1u : 0u, __ATOMIC_RELEASE);
}

Win32MessageTap::Win32MessageTap()
    : read_menu_message_(RegisterWindowMessageW(hook::kReadMenuMessage)) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  frequency_ = frequency.QuadPart;
}

Win32MessageTap::~Win32MessageTap() { Stop(); }

std::optional<std::string> Win32MessageTap::LoadDll() {
  if (dll_) return std::nullopt;
  // From WinScout's folder only, never from the search path.
  dll_.reset(
      LoadLibraryExW(hook::kDllName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR));
  if (!dll_) {
    return WithLastError(
        "winscout-hook.dll, which logs messages, cannot be loaded from WinScout's "
        "folder");
  }
  return std::nullopt;
}

std::optional<std::string> Win32MessageTap::Start(WindowHandle window) {
  Stop();
  DWORD process_id = 0;
  const DWORD thread_id = GetWindowThreadProcessId(ToHwnd(window), &process_id);
  if (thread_id == 0) return "The window is gone.";
  if (process_id == GetCurrentProcessId())
    return "WinScout does not log its own windows.";
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) {
    return WithLastError(
        "WinScout cannot open the window's program (it may run as administrator): "
        "OpenProcess failed");
  }
  if (Is32Bit(process.get())) {
    return "The window belongs to a 32-bit program. Its messages need the 32-bit hook, "
           "which this build of WinScout does not have.";
  }
  if (std::optional<std::string> error = LoadDll()) return error;
  std::string error;
  logged_.emplace(dll_.get(), thread_id, true, error);
  if (!error.empty()) {
    Stop();
    return error;
  }
  ring_.Start(logged_->Log().ring);
  return std::nullopt;
}

void Win32MessageTap::Stop() {
  if (logged_) __atomic_store_n(&logged_->Log().active, 0u, __ATOMIC_RELEASE);
  logged_.reset();
  dll_.reset();
}

std::optional<std::uint64_t> Win32MessageTap::Take(std::vector<MessageRecord>& records) {
  if (!logged_) return 0;
  hook::SharedLog& log = logged_->Log();
  return ring_.Take(log.ring, log.records, hook::kCapacity, records);
}

std::int64_t Win32MessageTap::Now() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

std::string Win32MessageTap::RegisteredName(std::uint32_t message) const {
  wchar_t name[256];
  // Registered messages and clipboard formats share one atom table.
  const int length = GetClipboardFormatNameW(message, name, 256);
  return length > 0 ? WideToUtf8({name, static_cast<std::size_t>(length)})
                    : std::string();
}

// A child window's "menu" is its control ID.
bool Win32MessageTap::HasMenuBar(WindowHandle window) const {
  const HWND hwnd = ToHwnd(window);
  return !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) && GetMenu(hwnd) != nullptr;
}

std::optional<std::vector<MenuItemInfo>> Win32MessageTap::ReadMenu(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  DWORD process_id = 0;
  const DWORD thread_id = GetWindowThreadProcessId(hwnd, &process_id);
  const HMENU menu = GetMenu(hwnd);
  if (thread_id == 0 || !HasMenuBar(window)) return std::nullopt;
  // Directly, where the system lets another process read the menu.
  if (GetMenuItemCount(menu) >= 0) {
    std::vector<hook::MenuEntry> entries(hook::kMenuCapacity);
    std::vector<wchar_t> texts(hook::kMenuTextCapacity);
    hook::MenuCopy copy{.entries = entries.data(), .texts = texts.data()};
    hook::WalkMenu(menu, 0, copy);
    return MenuItems(copy.entries, copy.texts, copy.count, copy.left_out);
  }
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process || Is32Bit(process.get())) return std::nullopt;
  return ReadMenuThroughHook(hwnd, thread_id);
}

// From inside the target: the hook answers a registered message with the
// menu, in the shared log of its thread.
std::optional<std::vector<MenuItemInfo>> Win32MessageTap::ReadMenuThroughHook(
    HWND window, DWORD thread_id) {
  const bool had_dll = static_cast<bool>(dll_);
  if (LoadDll()) return std::nullopt;
  std::optional<HookedThread> reader;
  HookedThread* hooked = nullptr;
  if (logged_ && logged_->ThreadId() == thread_id) {
    hooked = &*logged_;
  } else {
    std::string error;
    reader.emplace(dll_.get(), thread_id, false, error);
    if (error.empty()) hooked = &*reader;
  }
  std::optional<std::vector<MenuItemInfo>> items;
  if (hooked) {
    hook::SharedLog& log = hooked->Log();
    __atomic_store_n(&log.menu_count, kNoMenuYet, __ATOMIC_RELEASE);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, read_menu_message_, 0, 0, SMTO_ABORTIFHUNG,
                        kMenuReadTimeoutMs, &result);
    const std::uint32_t count = __atomic_load_n(&log.menu_count, __ATOMIC_ACQUIRE);
    if (count != kNoMenuYet)
      items = MenuItems(log.menu, log.menu_texts, count, log.menu_left_out);
  }
  reader.reset();
  if (!had_dll && !logged_) dll_.reset();
  return items;
}

}  // namespace winscout::win32
