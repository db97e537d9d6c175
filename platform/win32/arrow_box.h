#pragma once

#include <windows.h>

#include "platform/toolkit.h"

namespace winscout::win32 {

// A picture box: a child window with a sunken border that draws its picture
// unscaled at the top-left and holds the mouse from a press until every
// button is released, wherever the pointer goes. One press makes one drag:
// other buttons pressed while it lasts do nothing, and the release of the
// button that started it ends it.
class ArrowBox final : public PictureBox {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutPictureBox";

  ArrowBox() = default;
  // Its window, at `rect` in the parent, in pixels; a picture set before is
  // shown in it.
  void Create(HINSTANCE instance, HWND parent, int id, const RECT& rect);
  ArrowBox(const ArrowBox&) = delete;
  ArrowBox& operator=(const ArrowBox&) = delete;
  ~ArrowBox() override;

  HWND hwnd() const { return hwnd_; }

  const Picture* GetPicture() const override { return picture_; }
  void SetPicture(const Picture* picture) override;
  MousePointer GetMousePointer() const override { return pointer_; }
  void SetMousePointer(MousePointer pointer) override { pointer_ = pointer; }
  void OnMouseDown(EventHandler handler) override { on_down_ = std::move(handler); }
  void OnMouseUp(EventHandler handler) override { on_up_ = std::move(handler); }
  void OnMouseMove(EventHandler handler) override { on_move_ = std::move(handler); }
  void OnCancel(EventHandler handler) override { on_cancel_ = std::move(handler); }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;

 private:
  void OnPaint();
  void OnButtonDown(WPARAM button);
  void OnButtonUp(WPARAM button, WPARAM buttons_still_down);
  void Cancel();
  void EndDrag(bool buttons_still_down);

  const Picture* picture_ = nullptr;
  MousePointer pointer_ = MousePointer::kDefault;
  // The button (an MK_ flag) whose press started the drag; 0 at rest.
  WPARAM drag_button_ = 0;
  // After the drag, the mouse is held until the other buttons are up too, so
  // that no window gets the release of a press it never saw.
  bool holding_ = false;
  EventHandler on_down_;
  EventHandler on_up_;
  EventHandler on_move_;
  EventHandler on_cancel_;
};

}  // namespace winscout::win32
