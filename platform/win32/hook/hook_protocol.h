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
// Sent by the hook to WinScout's recorder window at each step; the target
// waits for the answer at most kStepTimeoutMs.
inline constexpr wchar_t kStepMessage[] = L"WinScoutStep";
inline constexpr UINT kStepTimeoutMs = 1000;
inline constexpr char kGetMessageHook[] = "WinScoutGetMessageHook";
inline constexpr char kCallWndProcHook[] = "WinScoutCallWndProcHook";
inline constexpr char kCallWndRetHook[] = "WinScoutCallWndRetHook";
inline constexpr std::uint32_t kMagic = 0x57534D33;             // "WSM3"
inline constexpr std::uint32_t kCapacity = 16384;               // records; a power of two
inline constexpr std::uint32_t kMenuCapacity = 16384;           // items
inline constexpr std::uint32_t kMenuTextCapacity = 512 * 1024;  // characters, all items
inline constexpr std::uint32_t kMenuItemTextLimit = 1024;       // characters, one item
inline constexpr int kMenuDepthLimit = 8;

// An item's text is `text_length` characters at `text_start` of the menu's
// texts; `full_length` is how long it is in the menu.
struct MenuEntry {
  std::int32_t depth;
  std::uint32_t id;
  std::uint32_t type;   // MFT_ bits
  std::uint32_t state;  // MFS_ bits
  std::int32_t has_submenu;
  std::uint32_t text_start;
  std::uint32_t text_length;
  std::uint32_t full_length;
};

// A menu as read, where the walk writes it: up to kMenuCapacity items and
// kMenuTextCapacity characters of text; the items it found no room for, or
// that lie deeper than kMenuDepthLimit, are counted as left out.
struct MenuCopy {
  MenuEntry* entries;
  wchar_t* texts;
  std::uint32_t count = 0;
  std::uint32_t text_used = 0;
  std::uint32_t left_out = 0;
};

// One target thread's log: a ring of records with one writer (the hook, on
// that thread) and one reader (WinScout). The writer never waits: when the
// ring is full it counts the record as dropped.
struct SharedLog {
  std::uint32_t magic;
  std::uint32_t active;  // records are written while it is set
  std::uint32_t owner_process;
  std::uint32_t menu_count;
  std::uint32_t menu_left_out;
  // While set: a recording, not a log. Only steps and typing are written,
  // and each step is sent to this window of WinScout's.
  std::int64_t recorder_window;
  RingCounters ring;
  MenuEntry menu[kMenuCapacity];
  wchar_t menu_texts[kMenuTextCapacity];
  MessageRecord records[kCapacity];
};

// "Local\WinScoutMessages.1234"
inline void MappingName(DWORD thread_id, wchar_t (&name)[64]) {
  wsprintfW(name, L"%s%lu", kMappingPrefix, thread_id);
}

// The menu and its submenus, depth first, into `copy`. Works on a menu of
// this process (and, on Windows, of any).
inline void WalkMenu(HMENU menu, int depth, MenuCopy& copy) {
  const int items = GetMenuItemCount(menu);
  for (int i = 0; i < items; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    // Without a buffer, the text's length.
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    // Kept apart: a call that does not ask for it clears it (Wine).
    const HMENU submenu = info.hSubMenu;
    if (copy.count == kMenuCapacity) {
      ++copy.left_out;
    } else {
      MenuEntry& entry = copy.entries[copy.count++];
      const std::uint32_t room = kMenuTextCapacity - copy.text_used;
      const std::uint32_t length = info.cch;
      std::uint32_t kept = length < kMenuItemTextLimit ? length : kMenuItemTextLimit;
      kept = kept < room ? kept : (room > 0 ? room - 1 : 0);
      entry = {depth,          info.wID, info.fType, info.fState, submenu != nullptr,
               copy.text_used, 0,        length};
      if (kept > 0) {
        info.fMask = MIIM_STRING;
        info.dwTypeData = copy.texts + copy.text_used;
        info.cch = kept + 1;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
          entry.text_length = info.cch < kept ? info.cch : kept;
          copy.text_used += entry.text_length;
        }
      }
    }
    if (submenu && depth + 1 < kMenuDepthLimit) {
      WalkMenu(submenu, depth + 1, copy);
    } else if (submenu) {
      const int deeper = GetMenuItemCount(submenu);
      copy.left_out += deeper > 0 ? static_cast<std::uint32_t>(deeper) : 0;
    }
  }
}

}  // namespace winscout::hook
