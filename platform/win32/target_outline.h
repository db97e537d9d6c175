#pragma once

#include <windows.h>

#include "platform/toolkit.h"
#include "platform/win32/unique_handle.h"

namespace winscout::win32 {

// Outlines a window with a band of black and yellow stripes, which shows on
// any background. The band is a topmost layered window shaped to a frame; it
// is transparent to the mouse, so hit testing looks through it, and it never
// takes the focus. It follows its target when the target moves and goes when
// the target is destroyed.
class TargetOutline final : public TargetHighlight {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutOutline";

  explicit TargetOutline(HINSTANCE instance);
  TargetOutline(const TargetOutline&) = delete;
  TargetOutline& operator=(const TargetOutline&) = delete;
  ~TargetOutline() override;

  void Outline(WindowHandle window) override;
  void OnTargetGone(EventHandler handler) override { on_gone_ = std::move(handler); }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;

 private:
  void Hide();
  void Place(HWND target, const RECT& rect);
  void OnWatchTimer();

  UniqueBrush stripes_;
  HWND target_ = nullptr;
  RECT placed_for_{};  // the target's rectangle when the band was placed
  EventHandler on_gone_;
};

}  // namespace winscout::win32
