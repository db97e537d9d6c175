#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/window_system.h"

namespace winscout::win32 {

// Window handles fit in 32 bits even on Win64, and Windows sign-extends them
// when it widens them, so the narrowing keeps the sign and the widening
// restores it.
inline WindowHandle ToHandle(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(window));
}

inline HWND ToHwnd(WindowHandle handle) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle));
}

}  // namespace winscout::win32
