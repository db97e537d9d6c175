#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace winscout {

// A window handle as the user sees it: a Win64 HWND narrowed to 32 bits with
// its sign kept (window handles are 32-bit values even on 64-bit Windows).
// 0 means no window.
using WindowHandle = std::int32_t;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The window-manager queries the program makes, in the platform's own terms.
// Text comes back as UTF-8. A capacity counts characters including the
// terminator, as the Win32 text queries do: at most capacity - 1 characters
// come back. A handle that names no window (0 included) gives 0 or an empty
// text; no query reports failure in any other way.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual ScreenPoint CursorPos() const = 0;
  // The deepest visible window at the point, disabled ones included, or 0.
  virtual WindowHandle WindowAt(ScreenPoint point) const = 0;

  virtual std::string WindowText(WindowHandle window, int capacity) const = 0;
  // As the ANSI class query sees it; the finder searches with the same form.
  virtual std::string ClassName(WindowHandle window, int capacity) const = 0;
  // The parent of a child window, the owner of an owned pop-up, otherwise 0.
  virtual WindowHandle Parent(WindowHandle window) const = 0;
  // The full control ID (not its low 16 bits), narrowed to 32 bits.
  virtual std::int32_t ControlId(WindowHandle window) const = 0;
  // The module whose instance handle the window carries, in its own process.
  virtual std::string ModulePath(WindowHandle window) const = 0;

  // The first top-level window of the class, any title; class names compare
  // without regard to case.
  virtual WindowHandle FindTopLevel(std::string_view class_name) const = 0;
  // The next direct child of `parent` of the class after `after` (0: from the
  // first child); `parent` 0 searches the top-level windows. 0 if none, or if
  // `after` is not a child of `parent`.
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                                 std::string_view class_name) const = 0;

  virtual void MakeTopmost(WindowHandle window) = 0;
};

}  // namespace winscout
