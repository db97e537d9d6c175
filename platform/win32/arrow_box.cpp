#include "platform/win32/arrow_box.h"

#include <windowsx.h>

#include "platform/win32/win32_controls.h"

namespace winscout::win32 {
namespace {

// Esc is watched, not waited for as a key message: the keyboard may belong
// to whatever window lies under the pointer while the mouse is held.
constexpr UINT_PTR kEscapeWatch = 1;
constexpr UINT kEscapeWatchMs = 30;

// Down now, or pressed since the last look: a quick tap falls between looks.
bool EscapePressed() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0; }

constexpr WPARAM kAnyButton =
    MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

// The MK_ flag of the button that a button message is about.
WPARAM ButtonOf(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return MK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return MK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return MK_MBUTTON;
    default:
      return GET_XBUTTON_WPARAM(wparam) == XBUTTON1 ? MK_XBUTTON1 : MK_XBUTTON2;
  }
}

bool AnyButtonDown() {
  for (const int button :
       {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2}) {
    if (GetKeyState(button) < 0) return true;
  }
  return false;
}

void Raise(const EventHandler& handler) {
  if (handler) handler();
}

}  // namespace

void ArrowBox::Create(HINSTANCE instance, HWND parent, int id, const RECT& rect) {
  CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"",
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, rect.left,
                  rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

ArrowBox::~ArrowBox() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void ArrowBox::SetPicture(const Picture* picture) {
  picture_ = picture;
  // Painted at once: a press empties the box while the mouse is held, when
  // no WM_PAINT would come before the release.
  if (hwnd_)
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT ArrowBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
      OnButtonDown(ButtonOf(message, wparam));
      return message == WM_XBUTTONDOWN || message == WM_XBUTTONDBLCLK ? TRUE : 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
      OnButtonUp(ButtonOf(message, wparam), GET_KEYSTATE_WPARAM(wparam));
      return message == WM_XBUTTONUP ? TRUE : 0;
    case WM_MOUSEMOVE:
      if (drag_button_) Raise(on_move_);
      return 0;
    case WM_TIMER:
      if (wparam == kEscapeWatch && EscapePressed()) Cancel();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != hwnd_) {
        holding_ = false;
        Cancel();
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

void ArrowBox::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  // Every picture of this toolkit is a Win32Picture.
  if (const auto* picture = static_cast<const Win32Picture*>(picture_)) {
    DrawIconEx(dc, 0, 0, picture->icon(), 0, 0, 0, nullptr, DI_NORMAL);
  }
  EndPaint(hwnd_, &paint);
}

void ArrowBox::OnButtonDown(WPARAM button) {
  if (drag_button_ || holding_) return;
  drag_button_ = button;
  SetCapture(hwnd_);
  EscapePressed();  // forgets presses from before the drag
  SetTimer(hwnd_, kEscapeWatch, kEscapeWatchMs, nullptr);
  Raise(on_down_);
}

// The drag ends before the handler, which may open a message box.
void ArrowBox::OnButtonUp(WPARAM button, WPARAM buttons_still_down) {
  const bool others_down = (buttons_still_down & kAnyButton) != 0;
  if (button == drag_button_) {
    EndDrag(others_down);
    Raise(on_up_);
  } else if (holding_ && !others_down) {
    holding_ = false;
    ReleaseCapture();
  }
}

// Esc, or the system took the mouse away mid-drag (a window came up, the
// user switched tasks): the gesture ends without a release.
void ArrowBox::Cancel() {
  if (!drag_button_) return;
  EndDrag(AnyButtonDown());
  Raise(on_cancel_);
}

void ArrowBox::EndDrag(bool buttons_still_down) {
  drag_button_ = 0;
  KillTimer(hwnd_, kEscapeWatch);
  const bool captured = GetCapture() == hwnd_;
  holding_ = captured && buttons_still_down;
  if (captured && !holding_) ReleaseCapture();
}

}  // namespace winscout::win32
