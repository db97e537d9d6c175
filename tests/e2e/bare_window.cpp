// The floor for start-up that the figures group times WinScout against: one
// window class, one window with one button shown, built static like
// winscout.exe and with its manifest (bare_window.rc).

#include <windows.h>

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{.cbSize = sizeof(wc),
                 .lpfnWndProc = BareProc,
                 .hInstance = instance,
                 .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                 .hbrBackground = GetSysColorBrush(COLOR_BTNFACE),
                 .lpszClassName = L"WinScoutE2EBare"};
  const HWND window =
      RegisterClassExW(&wc)
          ? CreateWindowExW(0, wc.lpszClassName, L"WinScout E2E bare window",
                            WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 300, 200,
                            nullptr, nullptr, instance, nullptr)
          : nullptr;
  if (!window || !CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE, 10, 10,
                                  90, 25, window, nullptr, instance, nullptr)) {
    return 1;
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
