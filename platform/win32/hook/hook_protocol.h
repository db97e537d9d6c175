#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/message_record.h"

// What winscout.exe and winscout-hook.dll share: the memory that the hook in a
// target thread writes its records to, found by the thread's ID, and the
// registered message that asks the hook for the target's menu.
namespace winscout::hook {

inline constexpr wchar_t kDllName[] = L"winscout-hook.dll";
inline constexpr wchar_t kMappingPrefix[] = L"Local\\WinScoutMessages.";
inline constexpr wchar_t kReadMenuMessage[] = L"WinScoutReadMenu";
inline constexpr char kGetMessageHook[] = "WinScoutGetMessageHook";
inline constexpr char kCallWndProcHook[] = "WinScoutCallWndProcHook";
inline constexpr char kCallWndRetHook[] = "WinScoutCallWndRetHook";
inline constexpr std::uint32_t kMagic = 0x57534D31;  // "WSM1"
inline constexpr std::uint32_t kCapacity = 16384;    // records; a power of two
inline constexpr std::uint32_t kMenuCapacity = 1024;
inline constexpr int kMenuTextCapacity = 64;
inline constexpr int kMenuDepthLimit = 8;

struct MenuEntry {
  std::int32_t depth;
  std::uint32_t id;
  std::uint32_t type;   // MFT_ bits
  std::uint32_t state;  // MFS_ bits
  std::int32_t has_submenu;
  wchar_t text[kMenuTextCapacity];
};

// One target thread's log: a ring of records with one writer (the hook, on
// that thread) and one reader (WinScout). The writer never waits: when the
// ring is full it counts the record as dropped.
struct SharedLog {
  std::uint32_t magic;
  std::uint32_t active;  // records are written while it is set
  std::uint32_t owner_process;
  std::uint32_t menu_count;
  std::uint64_t written;  // by the hook, released after the record
  std::uint64_t taken;    // by WinScout, released after reading
  std::uint64_t dropped;
  MenuEntry menu[kMenuCapacity];
  MessageRecord records[kCapacity];
};

// "Local\WinScoutMessages.1234"
inline void MappingName(DWORD thread_id, wchar_t (&name)[64]) {
  wsprintfW(name, L"%s%lu", kMappingPrefix, thread_id);
}

// The menu and its submenus, depth first, into `entries`; how many entries
// were written. Works on a menu of this process (and, on Windows, of any).
inline std::uint32_t WalkMenu(HMENU menu, int depth, MenuEntry* entries,
                              std::uint32_t count) {
  const int items = GetMenuItemCount(menu);
  for (int i = 0; i < items && count < kMenuCapacity; ++i) {
    MenuEntry& entry = entries[count];
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = entry.text;
    info.cch = kMenuTextCapacity;
    entry.text[0] = L'\0';
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    entry.depth = depth;
    entry.id = info.wID;
    entry.type = info.fType;
    entry.state = info.fState;
    entry.has_submenu = info.hSubMenu != nullptr;
    ++count;
    if (info.hSubMenu && depth + 1 < kMenuDepthLimit) {
      count = WalkMenu(info.hSubMenu, depth + 1, entries, count);
    }
  }
  return count;
}

}  // namespace winscout::hook
