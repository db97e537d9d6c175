#include "platform/win32/win32_controls.h"

#include <commctrl.h>

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
  SetWindowTextW(edit_, Utf8ToWide(text).c_str());
  writing_ = false;
  Raise(on_change_);
}

Win32TextBox::~Win32TextBox() {
  if (subclassed_ && IsWindow(edit_)) RemoveWindowSubclass(edit_, &SubclassProc, 0);
}

void Win32TextBox::SetMenuChoices(std::vector<MenuChoice> choices) {
  choices_ = std::move(choices);
  // The edit control's own menu cannot take more items: the box shows one of
  // its own instead.
  if (!subclassed_) {
    subclassed_ =
        SetWindowSubclass(edit_, &SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK Win32TextBox::SubclassProc(HWND edit, UINT message, WPARAM wparam,
                                            LPARAM lparam, UINT_PTR, DWORD_PTR self) {
  switch (message) {
    case WM_CONTEXTMENU:
      reinterpret_cast<Win32TextBox*>(self)->OnContextMenu(lparam);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &SubclassProc, 0);
      reinterpret_cast<Win32TextBox*>(self)->subclassed_ = false;
      break;
  }
  return DefSubclassProc(edit, message, wparam, lparam);
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
