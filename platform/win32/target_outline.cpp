#include "platform/win32/target_outline.h"

#include "platform/win32/handle_conversion.h"

namespace winscout::win32 {
namespace {

// The band's width at 96 dots per inch; it grows with the target's DPI.
constexpr int kBandWidth = 3;
// How often the band looks whether its target moved or went.
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchIntervalMs = 100;

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
  const HWND target = ToHwnd(window);
  RECT rect;
  if (window == 0 || !GetWindowRect(target, &rect)) {
    Hide();
    return;
  }
  Place(target, rect);
  SetTimer(hwnd_, kWatchTimer, kWatchIntervalMs, nullptr);
}

void TargetOutline::Hide() {
  KillTimer(hwnd_, kWatchTimer);
  target_ = nullptr;
  ShowWindow(hwnd_, SW_HIDE);
}

// The band is drawn on the part of the target that is on its monitor, and
// never by a window as large as the monitor: Wine hands a popup that covers
// the screen to the window manager for good, and without one every later
// hide of the band waits two seconds for an answer.
void TargetOutline::Place(HWND target, const RECT& rect) {
  target_ = target;
  placed_for_ = rect;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT band_rect = rect;
  if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor) &&
      IntersectRect(&band_rect, &rect, &monitor.rcMonitor) &&
      EqualRect(&band_rect, &monitor.rcMonitor)) {
    band_rect.bottom -= 1;
  }
  const UINT dpi = GetDpiForWindow(target);
  const int band =
      MulDiv(kBandWidth, dpi ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI,
             USER_DEFAULT_SCREEN_DPI);
  const int width = band_rect.right - band_rect.left;
  const int height = band_rect.bottom - band_rect.top;
  // The band lies inside the target, so it shows wherever the target does.
  HRGN frame = CreateRectRgn(0, 0, width, height);
  HRGN hole = CreateRectRgn(band, band, width - band, height - band);
  CombineRgn(frame, frame, hole, RGN_DIFF);
  DeleteObject(hole);
  SetWindowRgn(hwnd_, frame, FALSE);  // the window owns the region now
  SetWindowPos(hwnd_, HWND_TOPMOST, band_rect.left, band_rect.top, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TargetOutline::OnWatchTimer() {
  if (!target_) return;
  RECT rect;
  if (!IsWindow(target_) || !GetWindowRect(target_, &rect)) {
    Hide();
    if (on_gone_) on_gone_();
  } else if (!EqualRect(&rect, &placed_for_)) {
    Place(target_, rect);
  }
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
    case WM_TIMER:
      if (wparam == kWatchTimer) OnWatchTimer();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace winscout::win32
