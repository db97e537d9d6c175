#include "platform/win32/win32_controls.h"

#include <vector>

#include "platform/win32/edit_menu.h"
#include "platform/win32/text_conversion.h"

namespace winscout::win32 {
namespace {

void Raise(const EventHandler& handler) {
  if (handler) handler();
}

}  // namespace

std::string Win32TextBox::Text() const {
  const int length = GetWindowTextLengthW(edit_);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(edit_, buffer.data(), length + 1);
  return WideToUtf8({buffer.data(), static_cast<std::size_t>(copied)});
}

void Win32TextBox::SetText(std::string_view text) {
  writing_ = true;
  if (writes_ == kUndoableWrites) {
    // WM_SETTEXT would empty the undo buffer. A replacement of the whole text
    // as if typed over it fills it with what was there instead; emptied
    // first, so that the undo gives back exactly that.
    SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SendMessageW(edit_, EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
    // New text is read from its top, as after WM_SETTEXT.
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  } else {
    SetWindowTextW(edit_, Utf8ToWide(text).c_str());
  }
  writing_ = false;
  Raise(on_change_);
}

Win32TextBox::~Win32TextBox() {
  if (edit_proc_ && IsWindow(edit_)) {
    SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_proc_));
  }
}

void Win32TextBox::SetMenuChoices(std::vector<MenuChoice> choices) {
  choices_ = std::move(choices);
  // The edit control's own menu cannot take more items: the box shows one of
  // its own instead, from a window procedure put in front of the edit's (the
  // edit keeps its state in its extra bytes, so GWLP_USERDATA is free).
  if (!edit_proc_) {
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    edit_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuProc)));
  }
}

LRESULT CALLBACK Win32TextBox::MenuProc(HWND edit, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
  auto* self = reinterpret_cast<Win32TextBox*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  const WNDPROC edit_proc = self->edit_proc_;
  switch (message) {
    case WM_CONTEXTMENU:
      self->OnContextMenu(lparam);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_proc));
      self->edit_proc_ = nullptr;
      break;
  }
  return CallWindowProcW(edit_proc, edit, message, wparam, lparam);
}

void Win32TextBox::OnContextMenu(LPARAM position) {
  if (const auto chosen = TrackEditMenu(edit_, position, choices_)) {
    if (on_choose_) on_choose_(*chosen);
  }
}

void Win32TextBox::OnCommand(WORD notification) {
  if (notification == EN_CHANGE && !writing_) Raise(on_change_);
}

void Win32Button::OnCommand(WORD notification) {
  if (notification == BN_CLICKED) Raise(on_click_);
}

void Win32Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    SetTimer(owner_, id_, static_cast<UINT>(interval_ms_), nullptr);
  } else {
    KillTimer(owner_, id_);
  }
}

void Win32Timer::Tick() {
  if (enabled_) Raise(on_tick_);
}

}  // namespace winscout::win32
