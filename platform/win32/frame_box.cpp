#include "platform/win32/frame_box.h"

namespace winscout::win32 {

void FrameBox::Create(HINSTANCE instance, HWND parent, int id, const RECT& rect) {
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

FrameBox::~FrameBox() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT FrameBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NEXTDLGCTL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(hwnd_), message, wparam, lparam);
    case WM_CLOSE:
      // A multi-line edit posts WM_CLOSE to its parent on Esc, as if it sat
      // in a dialog box; the frame is no dialog and stays.
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      RECT rect;
      GetClientRect(hwnd_, &rect);
      DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace winscout::win32
