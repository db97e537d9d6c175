// The program whose messages the end-to-end suite logs: one top-level window
// with a menu bar, a button, an edit and a line that counts what it was asked
// to do, in a process of its own (the hook DLL stays in it until it ends),
// and a hidden one with a menu of many items ("many").
// Prints a manifest like the fixture's, one JSON object a line:
//   {"kind":"window","name":..,"handle":N,"id":N,"x":N,"y":N}
//   {"kind":"ready"}
//   {"kind":"storm","messages":N,"seconds":S}  after each storm
// and then keeps its window until kQuitEventName is set or it is closed.
// kStormEventName starts a storm: kStormMessages messages (or as many as the
// one argument says) posted one after another, each by the handler of the one before;
// kHangEventName makes the window's thread stop answering for kHangMs.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kQuitEventName[] = L"WinScoutE2EMessagesQuit";
constexpr wchar_t kStormEventName[] = L"WinScoutE2EMessagesStorm";
constexpr wchar_t kHangEventName[] = L"WinScoutE2EMessagesHang";
constexpr int kStormMessages = 100000;
constexpr DWORD kHangMs = 3000;
constexpr UINT kStormMessage = WM_APP + 1;
constexpr int kButtonId = 101;
constexpr int kEditId = 102;
constexpr int kCountsId = 103;
constexpr int kRunCommand = 40001;  // Command > Run
constexpr int kAboutCommand = 40003;
constexpr RECT kPlace = {820, 600, 1240, 840};
constexpr int kManyItems = 1100;  // and as many characters in the first one's text
constexpr int kManyFirstId = 41000;

int clicks = 0;
int runs = 0;
int storm_messages = kStormMessages;
LARGE_INTEGER storm_start;

void Emit(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void EmitWindow(const char* name, HWND window, int id) {
  RECT rect{};
  GetWindowRect(window, &rect);
  Emit(std::string(R"({"kind":"window","name":")") + name + R"(","handle":)" +
       std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(window))) + R"(,"id":)" +
       std::to_string(id) + R"(,"x":)" + std::to_string((rect.left + rect.right) / 2) +
       R"(,"y":)" + std::to_string((rect.top + rect.bottom) / 2) + "}");
}

void ShowCounts(HWND window) {
  const std::wstring text =
      L"runs " + std::to_wstring(runs) + L" clicks " + std::to_wstring(clicks);
  SetDlgItemTextW(window, kCountsId, text.c_str());
}

HMENU MakeMenu() {
  const HMENU bar = CreateMenu();
  const HMENU command = CreatePopupMenu();
  AppendMenuW(command, MF_STRING, kRunCommand, L"&Run");
  AppendMenuW(command, MF_STRING | MF_CHECKED, 40002, L"&Checked");
  AppendMenuW(command, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(command, MF_STRING | MF_GRAYED, 40004, L"&Grayed");
  const HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, kAboutCommand, L"&About");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(command), L"&Command");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  return bar;
}

// More items than a menu read once held; a long text; owner-drawn, no text.
HMENU MakeManyMenu() {
  const HMENU bar = CreateMenu();
  const HMENU many = CreatePopupMenu();
  AppendMenuW(many, MF_STRING, kManyFirstId, std::wstring(kManyItems, L'x').c_str());
  for (int i = 1; i < kManyItems; ++i)
    AppendMenuW(many, MF_STRING, kManyFirstId + i,
                (L"Item " + std::to_wstring(i)).c_str());
  AppendMenuW(many, MF_OWNERDRAW, kManyFirstId + kManyItems, nullptr);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(many), L"&Many");
  return bar;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kRunCommand) ++runs;
      if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED) ++clicks;
      ShowCounts(window);
      return 0;
    case kStormMessage:
      if (wparam > 1) {
        PostMessageW(window, kStormMessage, wparam - 1, 0);
      } else {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        const double seconds =
            static_cast<double>(now.QuadPart - storm_start.QuadPart) / frequency.QuadPart;
        Emit(R"({"kind":"storm","messages":)" + std::to_string(storm_messages) +
             R"(,"seconds":)" + std::to_string(seconds) + "}");
      }
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) storm_messages = std::max(1, std::atoi(argv[1]));
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  _setmode(_fileno(stdout), _O_BINARY);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = L"WinScoutE2EMessages";
  if (!RegisterClassW(&window_class)) return 1;
  const HWND window =
      CreateWindowExW(WS_EX_TOPMOST, window_class.lpszClassName, L"Messages fixture",
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, kPlace.left,
                      kPlace.top, kPlace.right - kPlace.left, kPlace.bottom - kPlace.top,
                      nullptr, MakeMenu(), instance, nullptr);
  const auto child = [&](const wchar_t* type, const wchar_t* text, DWORD style, int id,
                         int x) {
    return CreateWindowExW(type[0] == L'E' ? WS_EX_CLIENTEDGE : 0, type, text,
                           WS_CHILD | WS_VISIBLE | style, x, 20, 120, 28, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
  };
  const HWND button = child(L"BUTTON", L"Click me", BS_PUSHBUTTON, kButtonId, 10);
  const HWND edit = child(L"EDIT", L"", ES_AUTOHSCROLL, kEditId, 140);
  const HWND counts = child(L"STATIC", L"", 0, kCountsId, 270);
  const HWND many = CreateWindowExW(0, window_class.lpszClassName, L"Many items",
                                    WS_OVERLAPPED | WS_CAPTION, kPlace.left, kPlace.top,
                                    200, 100, nullptr, MakeManyMenu(), instance, nullptr);
  if (!window || !button || !edit || !counts || !many) return 1;
  ShowCounts(window);
  const HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, kQuitEventName);
  const HANDLE storm = CreateEventW(nullptr, FALSE, FALSE, kStormEventName);
  const HANDLE hang = CreateEventW(nullptr, FALSE, FALSE, kHangEventName);
  if (!quit || !storm || !hang) return 1;
  EmitWindow("frame", window, 0);
  EmitWindow("button", button, kButtonId);
  EmitWindow("edit", edit, kEditId);
  EmitWindow("counts", counts, kCountsId);
  EmitWindow("many", many, 0);
  Emit(R"({"kind":"ready"})");
  const HANDLE events[] = {quit, storm, hang};
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(3, events, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return 0;
    if (woke == WAIT_OBJECT_0 + 1) {
      QueryPerformanceCounter(&storm_start);
      PostMessageW(window, kStormMessage, storm_messages, 0);
    }
    if (woke == WAIT_OBJECT_0 + 2) Sleep(kHangMs);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}
