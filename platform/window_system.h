#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  // The deepest visible, enabled window at the point, or 0.
  virtual WindowHandle WindowAt(ScreenPoint point) const = 0;

  virtual std::string WindowText(WindowHandle window, int capacity) const = 0;
  // The class name as it was registered, Unicode included (never the
  // question marks of the ANSI query).
  virtual std::string ClassName(WindowHandle window, int capacity) const = 0;
  // The parent of a child window, the owner of an owned pop-up, otherwise 0.
  virtual WindowHandle Parent(WindowHandle window) const = 0;
  // The full control ID (not its low 16 bits), narrowed to 32 bits.
  virtual std::int32_t ControlId(WindowHandle window) const = 0;
  // The module whose instance handle the window carries, in its own process.
  virtual std::string ModulePath(WindowHandle window) const = 0;

  // The desktop window, the ancestor of every top-level window.
  virtual WindowHandle DesktopWindow() const = 0;

  // Whether the text comes back unchanged through the ANSI code page, so that
  // code calling the ANSI functions can search for it.
  virtual bool AnsiCodePageHolds(std::string_view text) const = 0;

  // The first top-level window of the class, any title; class names compare
  // without regard to case.
  virtual WindowHandle FindTopLevel(std::string_view class_name) const = 0;
  // The next direct child of `parent` of the class after `after` (0: from the
  // first child); `parent` 0 searches the top-level windows. 0 if none, or if
  // `after` is not a child of `parent`.
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                                 std::string_view class_name) const = 0;
  // Every window that successive FindChild calls give, from one enumeration
  // of the children: the searches of a plan cost one pass, not one per step.
  virtual std::vector<WindowHandle> ChildrenOfClass(
      WindowHandle parent, std::string_view class_name) const = 0;

  virtual void MakeTopmost(WindowHandle window) = 0;
};

}  // namespace winscout
