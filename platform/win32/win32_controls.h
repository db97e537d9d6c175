#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/toolkit.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {

// An icon image; picture boxes draw it at its own size.
class Win32Picture final : public Picture {
 public:
  explicit Win32Picture(UniqueIcon icon) : icon_(std::move(icon)) {}
  HICON icon() const { return icon_.get(); }

 private:
  UniqueIcon icon_;
};

class Win32Image final : public ImageHolder {
 public:
  explicit Win32Image(UniqueIcon icon) : picture_(std::move(icon)) {}
  const Picture* GetPicture() const override { return &picture_; }

 private:
  Win32Picture picture_;
};

// A control that the form tells about the WM_COMMAND notifications it gets.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  virtual void OnCommand(WORD notification) = 0;
};

class Win32TextBox final : public TextBox, public CommandTarget {
 public:
  // Whether Ctrl+Z takes back a SetText, so that what the user typed into the
  // box is never lost to a replacement.
  enum Writes { kPlainWrites, kUndoableWrites };

  explicit Win32TextBox(Writes writes) : writes_(writes) {}
  Win32TextBox(const Win32TextBox&) = delete;
  Win32TextBox& operator=(const Win32TextBox&) = delete;
  ~Win32TextBox() override;

  // The edit control, once it is made.
  void Attach(HWND edit) { edit_ = edit; }

  std::string Text() const override;
  void SetText(std::string_view text) override;
  void OnChange(EventHandler handler) override { on_change_ = std::move(handler); }
  void SetMenuChoices(std::vector<MenuChoice> choices) override;
  void OnMenuChoice(Handler<void(std::size_t)> handler) override {
    on_choose_ = std::move(handler);
  }
  void OnCommand(WORD notification) override;

 private:
  static LRESULT CALLBACK MenuProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);
  void OnContextMenu(LPARAM position);

  HWND edit_ = nullptr;
  Writes writes_;
  EventHandler on_change_;
  std::vector<MenuChoice> choices_;
  Handler<void(std::size_t)> on_choose_;
  // The edit control's own window procedure, once the menu's is in front.
  WNDPROC edit_proc_ = nullptr;
  // Whether the edit control reports our own writes or not, they raise the
  // change event exactly once.
  bool writing_ = false;
};

class Win32Button final : public Button, public CommandTarget {
 public:
  void OnClick(EventHandler handler) override { on_click_ = std::move(handler); }
  void OnCommand(WORD notification) override;

 private:
  EventHandler on_click_;
};

// A timer of the form's window, ticking through WM_TIMER on the UI thread;
// Windows itself coalesces ticks, so at most one is pending.
class Win32Timer final : public Timer {
 public:
  Win32Timer(HWND owner, UINT_PTR id, int interval_ms)
      : owner_(owner), id_(id), interval_ms_(interval_ms) {}
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;
  ~Win32Timer() override { SetEnabled(false); }

  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  int IntervalMs() const override { return interval_ms_; }
  void OnTick(EventHandler handler) override { on_tick_ = std::move(handler); }
  void Tick();

 private:
  HWND owner_;
  UINT_PTR id_;
  int interval_ms_;
  bool enabled_ = false;
  EventHandler on_tick_;
};

}  // namespace winscout::win32
