#include "platform/win32/target_outline.h"

#include "platform/win32/handle_conversion.h"

namespace winscout::win32 {
namespace {

// The band's width at 96 dots per inch; it grows with the target's DPI.
constexpr int kBandWidth = 3;

void FreeBitmap(HBITMAP bitmap) { DeleteObject(bitmap); }
using UniqueBitmap = UniqueHandle<HBITMAP, &FreeBitmap>;

// Diagonal stripes, four pixels black and four yellow.
UniqueBrush StripeBrush() {
  constexpr int kSize = 8;
  COLORREF pixels[kSize * kSize];
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      // 0x00RRGGBB: a 32-bit DIB keeps blue in the lowest byte.
      pixels[y * kSize + x] = ((x + y) % kSize < kSize / 2) ? 0x00000000 : 0x00FFD700;
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  UniqueBitmap bitmap(
      CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels, &info, DIB_RGB_COLORS));
  ReleaseDC(nullptr, screen);
  return UniqueBrush(CreatePatternBrush(bitmap.get()));
}

}  // namespace

TargetOutline::TargetOutline(HINSTANCE instance) : stripes_(StripeBrush()) {
  CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_TOOLWINDOW |
                      WS_EX_NOACTIVATE,
                  kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                  this);
  if (hwnd_) SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
}

TargetOutline::~TargetOutline() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void TargetOutline::Outline(WindowHandle window) {
  if (!hwnd_) return;
  RECT target;
  if (window == 0 || !GetWindowRect(ToHwnd(window), &target)) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  const UINT dpi = GetDpiForWindow(ToHwnd(window));
  const int band =
      MulDiv(kBandWidth, dpi ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI,
             USER_DEFAULT_SCREEN_DPI);
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  // The band lies inside the target, so it shows wherever the target does.
  HRGN frame = CreateRectRgn(0, 0, width, height);
  HRGN hole = CreateRectRgn(band, band, width - band, height - band);
  CombineRgn(frame, frame, hole, RGN_DIFF);
  DeleteObject(hole);
  SetWindowRgn(hwnd_, frame, FALSE);  // the window owns the region now
  SetWindowPos(hwnd_, HWND_TOPMOST, target.left, target.top, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT TargetOutline::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, stripes_.get());
      return 1;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace winscout::win32
