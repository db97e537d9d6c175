#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/window_system.h"

namespace winscout::testing {

// Answers like the window system it wraps, counts every query by name, and
// lets a test change the answers: windows that change under the caller.
class ForwardingWindows final : public WindowSystem {
 public:
  explicit ForwardingWindows(WindowSystem& inner) : inner_(inner) {}

  std::function<WindowHandle(WindowHandle)> parent_override;
  // Runs once, right after the first class-name query.
  mutable std::function<void()> after_first_class_query;
  // Runs after every items query: a list that changes while it is read.
  mutable std::function<void()> after_items_query;
  mutable std::map<std::string, int> calls;

  int TotalCalls() const {
    int total = 0;
    for (const auto& [name, count] : calls) total += count;
    return total;
  }

  ScreenPoint CursorPos() const override {
    Count("CursorPos");
    return inner_.CursorPos();
  }
  WindowHandle WindowAt(ScreenPoint p) const override {
    Count("WindowAt");
    return inner_.WindowAt(p);
  }
  std::string WindowText(WindowHandle w, int capacity) const override {
    Count("WindowText");
    return inner_.WindowText(w, capacity);
  }
  std::string ClassName(WindowHandle w, int capacity) const override {
    Count("ClassName");
    std::string name = inner_.ClassName(w, capacity);
    if (after_first_class_query) std::exchange(after_first_class_query, nullptr)();
    return name;
  }
  WindowHandle Parent(WindowHandle w) const override {
    Count("Parent");
    return parent_override ? parent_override(w) : inner_.Parent(w);
  }
  std::int32_t ControlId(WindowHandle w) const override {
    Count("ControlId");
    return inner_.ControlId(w);
  }
  std::string ModulePath(WindowHandle w) const override {
    Count("ModulePath");
    return inner_.ModulePath(w);
  }
  WindowHandle FindTopLevel(std::string_view c) const override {
    Count("FindTopLevel");
    return inner_.FindTopLevel(c);
  }
  WindowHandle FindChild(WindowHandle p, WindowHandle a,
                         std::string_view c) const override {
    Count("FindChild");
    return inner_.FindChild(p, a, c);
  }
  WindowHandle FindChildWithTitle(WindowHandle p, WindowHandle a, std::string_view c,
                                  std::string_view t) const override {
    Count("FindChildWithTitle");
    return inner_.FindChildWithTitle(p, a, c, t);
  }
  WindowHandle DialogItem(WindowHandle p, std::int32_t id) const override {
    Count("DialogItem");
    return inner_.DialogItem(p, id);
  }
  std::vector<WindowHandle> ChildrenOfClass(WindowHandle p, std::string_view c,
                                            WindowHandle through = 0) const override {
    Count("ChildrenOfClass");
    return inner_.ChildrenOfClass(p, c, through);
  }
  WindowHandle DesktopWindow() const override {
    Count("DesktopWindow");
    return inner_.DesktopWindow();
  }
  bool AnsiCodePageHolds(std::string_view text) const override {
    Count("AnsiCodePageHolds");
    return inner_.AnsiCodePageHolds(text);
  }
  std::vector<TopLevelWindow> TopLevelWindows() const override {
    Count("TopLevelWindows");
    return inner_.TopLevelWindows();
  }
  std::vector<WindowHandle> ChildWindowsAfter(WindowHandle p, WindowHandle after,
                                              std::size_t most) const override {
    Count("ChildWindowsAfter");
    return inner_.ChildWindowsAfter(p, after, most);
  }
  std::vector<WindowHandle> ChildWindows(WindowHandle p) const override {
    Count("ChildWindows");
    return inner_.ChildWindows(p);
  }
  std::optional<WindowFacts> Facts(WindowHandle w) const override {
    Count("Facts");
    return inner_.Facts(w);
  }
  std::uint32_t OwnProcessId() const override { return inner_.OwnProcessId(); }
  std::string ProcessImagePath(std::uint32_t id) const override {
    Count("ProcessImagePath");
    return inner_.ProcessImagePath(id);
  }
  std::optional<std::string> LiveText(WindowHandle w, int timeout_ms) const override {
    Count("LiveText");
    return inner_.LiveText(w, timeout_ms);
  }
  bool SetLiveText(WindowHandle w, std::string_view text, int timeout_ms) override {
    Count("SetLiveText");
    return inner_.SetLiveText(w, text, timeout_ms);
  }
  std::optional<int> SelectedIndex(WindowHandle w, SelectionList list,
                                   int timeout_ms) const override {
    Count("SelectedIndex");
    return inner_.SelectedIndex(w, list, timeout_ms);
  }
  std::optional<bool> ButtonChecked(WindowHandle w, int timeout_ms) const override {
    Count("ButtonChecked");
    return inner_.ButtonChecked(w, timeout_ms);
  }
  bool PostClick(WindowHandle w) override {
    Count("PostClick");
    return inner_.PostClick(w);
  }
  bool PostClose(WindowHandle w) override {
    Count("PostClose");
    return inner_.PostClose(w);
  }
  bool DeliverMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam,
                      std::int64_t lparam, bool post, int timeout_ms) override {
    Count("DeliverMessage");
    return inner_.DeliverMessage(w, message, wparam, lparam, post, timeout_ms);
  }
  bool SelectItem(WindowHandle w, ItemList list, std::string_view text,
                  int timeout_ms) override {
    Count("SelectItem");
    return inner_.SelectItem(w, list, text, timeout_ms);
  }
  bool ChooseItem(WindowHandle w, ItemList list, std::string_view text,
                  int timeout_ms) override {
    Count("ChooseItem");
    return inner_.ChooseItem(w, list, text, timeout_ms);
  }
  std::optional<ItemRows> Items(WindowHandle w, ItemList list,
                                int timeout_ms) const override {
    Count("Items");
    auto items = inner_.Items(w, list, timeout_ms);
    if (after_items_query) after_items_query();
    return items;
  }
  std::optional<ItemPiece> ItemsFrom(WindowHandle w, ItemList list, std::uint64_t from,
                                     std::size_t most, int timeout_ms) const override {
    Count("ItemsFrom");
    auto piece = inner_.ItemsFrom(w, list, from, most, timeout_ms);
    if (after_items_query) after_items_query();
    return piece;
  }
  bool SetWindowShown(WindowHandle w, bool shown) override {
    Count("SetWindowShown");
    return inner_.SetWindowShown(w, shown);
  }
  bool SetWindowEnabled(WindowHandle w, bool enabled) override {
    Count("SetWindowEnabled");
    return inner_.SetWindowEnabled(w, enabled);
  }
  bool BringToFront(WindowHandle w) override {
    Count("BringToFront");
    return inner_.BringToFront(w);
  }

 private:
  void Count(const char* name) const { ++calls[name]; }

  WindowSystem& inner_;
};

}  // namespace winscout::testing
