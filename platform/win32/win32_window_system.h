#pragma once

#include "platform/window_system.h"

namespace winscout::win32 {

// The window manager of the running desktop, through user32 and kernel32.
class Win32WindowSystem final : public WindowSystem {
 public:
  ScreenPoint CursorPos() const override;
  WindowHandle WindowAt(ScreenPoint point) const override;
  std::string WindowText(WindowHandle window, int capacity) const override;
  std::string ClassName(WindowHandle window, int capacity) const override;
  WindowHandle Parent(WindowHandle window) const override;
  std::int32_t ControlId(WindowHandle window) const override;
  std::string ModulePath(WindowHandle window) const override;
  WindowHandle FindTopLevel(std::string_view class_name) const override;
  WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                         std::string_view class_name) const override;
  WindowHandle FindChildWithTitle(WindowHandle parent, WindowHandle after,
                                  std::string_view class_name,
                                  std::string_view title) const override;
  WindowHandle DialogItem(WindowHandle parent, std::int32_t id) const override;
  std::vector<WindowHandle> ChildrenOfClass(WindowHandle parent,
                                            std::string_view class_name,
                                            WindowHandle through = 0) const override;
  WindowHandle DesktopWindow() const override;
  bool AnsiCodePageHolds(std::string_view text) const override;
  std::vector<TopLevelWindow> TopLevelWindows() const override;
  std::vector<WindowHandle> ChildWindows(WindowHandle parent) const override;
  std::vector<WindowHandle> ChildWindowsAfter(WindowHandle parent, WindowHandle after,
                                              std::size_t most) const override;
  std::optional<WindowFacts> Facts(WindowHandle window) const override;
  std::uint32_t OwnProcessId() const override;
  std::string ProcessImagePath(std::uint32_t process_id) const override;
  std::optional<std::string> LiveText(WindowHandle window, int timeout_ms) const override;
  std::vector<std::optional<std::string>> LiveTexts(
      const std::vector<WindowHandle>& windows, int timeout_ms) const override;
  bool SetLiveText(WindowHandle window, std::string_view text, int timeout_ms) override;
  std::optional<bool> ButtonChecked(WindowHandle window, int timeout_ms) const override;
  std::optional<int> SelectedIndex(WindowHandle window, SelectionList list,
                                   int timeout_ms) const override;
  bool PostClick(WindowHandle window) override;
  bool PostClose(WindowHandle window) override;
  bool DeliverMessage(WindowHandle window, std::uint32_t message, std::uint64_t wparam,
                      std::int64_t lparam, bool post, int timeout_ms) override;
  bool SelectItem(WindowHandle window, ItemList list, std::string_view text,
                  int timeout_ms) override;
  bool ChooseItem(WindowHandle window, ItemList list, std::string_view text,
                  int timeout_ms) override;
  std::optional<ItemRows> Items(WindowHandle window, ItemList list,
                                int timeout_ms) const override;
  std::optional<ItemPiece> ItemsFrom(WindowHandle window, ItemList list,
                                     std::uint64_t from, std::size_t most,
                                     int timeout_ms) const override;
  bool SetWindowShown(WindowHandle window, bool shown) override;
  bool SetWindowEnabled(WindowHandle window, bool enabled) override;
  bool BringToFront(WindowHandle window) override;
};

}  // namespace winscout::win32
