// The end-to-end driver's hands on the Windows side: a long-lived helper that
// answers questions about the live desktop, one request a line on standard
// input, one answer a line on standard output. It looks at other processes'
// windows the way any other program can (FindWindow, WM_GETTEXT, window rects)
// and replays finder code with the real FindWindowA/FindWindowExA.
//
// Texts travel as "x" followed by the hex of their UTF-8 bytes, so that CR LF,
// tabs, blanks and the empty text survive the line protocol; "-" stands for a
// null string. Handles are decimal, narrowed to 32 bits as WinScout shows them.
//
// Requests, and what follows "ok" in their answers:
//   top CLASS TITLE       FindWindow: HANDLE
//   child PARENT CLASS    the first child of the class: HANDLE
//   item PARENT ID        GetDlgItem: HANDLE
//   text WINDOW           WM_GETTEXT, sent: TEXT
//   settext WINDOW TEXT   WM_SETTEXT, sent
//   focus WINDOW          the keyboard focus of WINDOW's thread: HANDLE
//   rect WINDOW           the window rectangle on the screen: LEFT TOP RIGHT BOTTOM
//   client WINDOW         the client area on the screen: LEFT TOP WIDTH HEIGHT DPI
//   exstyle WINDOW        the extended style: STYLE
//   visible WINDOW        IsWindowVisible: 0 or 1
//   at X Y                WindowFromPoint: HANDLE
//   place WINDOW X Y W H  moves and sizes it (W and H 0: keeps the size), keeping
//                         its place in the Z-order
//   raise WINDOW X Y W H  the same, and brings it to the top, activated
//   order WINDOW AFTER    puts it right after AFTER in the Z-order (0: on top),
//                         without moving or activating it
//   close WINDOW          posts WM_CLOSE
//   send WINDOW MSG W L [COUNT]
//                         SendMessageTimeout of a message that takes no
//                         pointer, COUNT times (1): the last RESULT
//   signal NAME           sets a named event
//   forget KEY            deletes the key of HKEY_CURRENT_USER with all below it,
//                         if there is one
//   replay CODE           runs finder code: the HANDLE found; "fail MESSAGE" if
//                         the code does not run
//   act CODE              runs a Visual Basic script on the live windows, its
//                         Sleep waiting: "fail MESSAGE" if it does not run
//   tree WINDOW           every item of a tree view, in order, each as DEPTH
//                         STATE TEXT (the item's state bits): COUNT ITEMS...
//   list WINDOW           every row of a two-column list view, each as NAME
//                         VALUE: COUNT ROWS...
//   focus WINDOW          the window with the keyboard focus in the window's
//                         thread: HANDLE
//   clipboard             the clipboard's Unicode text: TEXT (empty for none)
//   walk                  reads every window of the desktop as WinScout's tree
//   clipboard             the text on the clipboard: TEXT
//                         does, in one go: COUNT MILLISECONDS
//   ping WINDOW           WM_NULL by SendMessageTimeout: the MILLISECONDS until
//                         it is answered, -1 if not within 200
// A request that cannot be carried out gets "error MESSAGE".

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/handle_conversion.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_window_system.h"
#include "tests/support/vb_replay.h"

namespace {

using winscout::win32::ToHandle;
using winscout::win32::ToHwnd;

// A window that does not answer within this time is reported, not waited on.
constexpr UINT kSendTimeoutMs = 5000;

struct HandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleDeleter>;

std::string ToText(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out(1, 'x');
  for (const char c : bytes) {
    const auto code = static_cast<unsigned char>(c);
    out += kHex[code >> 4];
    out += kHex[code & 0xf];
  }
  return out;
}

std::optional<std::string> FromText(std::string_view text) {
  if (!text.starts_with('x')) return std::nullopt;
  const std::string_view hex = text.substr(1);
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
  }
  return out;
}

// A message that takes no pointer, for a window.
struct Message {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

class Request {
 public:
  explicit Request(const std::string& line) : in_(line) {}

  std::optional<std::string> Word() {
    std::string word;
    if (!(in_ >> word)) return std::nullopt;
    return word;
  }

  std::optional<long long> Number() {
    long long value = 0;
    if (!(in_ >> value)) return std::nullopt;
    return value;
  }

  std::optional<HWND> Window() {
    const auto value = Number();
    if (!value) return std::nullopt;
    return ToHwnd(static_cast<winscout::WindowHandle>(*value));
  }

  // WINDOW MSG W L.
  std::optional<Message> MessageToSend() {
    const auto window = Window();
    const auto message = Number();
    const auto wparam = Number();
    const auto lparam = Number();
    if (!window || !message || !wparam || !lparam) return std::nullopt;
    return Message{*window, static_cast<UINT>(*message), static_cast<WPARAM>(*wparam),
                   static_cast<LPARAM>(*lparam)};
  }

  // A text; "-" gives an empty optional inside a present one.
  std::optional<std::optional<std::wstring>> Text() {
    const auto word = Word();
    if (!word) return std::nullopt;
    if (*word == "-") return std::optional<std::wstring>();
    const auto bytes = FromText(*word);
    if (!bytes) return std::nullopt;
    return std::optional<std::wstring>(winscout::win32::Utf8ToWide(*bytes));
  }

 private:
  std::istringstream in_;
};

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

std::string Ok(const std::string& rest = {}) {
  return rest.empty() ? "ok" : "ok " + rest;
}

std::string Error(const std::string& what) {
  const DWORD code = GetLastError();
  return "error " + what + " (error " + std::to_string(code) + ")";
}

std::string HandleText(HWND window) { return std::to_string(ToHandle(window)); }

std::string ReadText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &length)) {
    return Error("WM_GETTEXTLENGTH");
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(),
                           reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied)) {
    return Error("WM_GETTEXT");
  }
  text.resize(copied);
  return Ok(ToText(winscout::win32::WideToUtf8(text)));
}

// Memory in the process of another program's window, where its controls can
// write what they are asked for.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                               FALSE, process_id));
    if (process_) {
      at_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_.get(), at_, 0, MEM_RELEASE);
  }

  bool ok() const { return at_ != nullptr; }
  char* at(std::size_t offset) const { return static_cast<char*>(at_) + offset; }
  void Write(const void* data, std::size_t size) const {
    WriteProcessMemory(process_.get(), at_, data, size, nullptr);
  }
  void Read(void* data, std::size_t size, std::size_t offset) const {
    ReadProcessMemory(process_.get(), at(offset), data, size, nullptr);
  }

 private:
  Handle process_;
  void* at_ = nullptr;
};

constexpr int kRemoteTextCapacity = 2048;
constexpr std::size_t kRemoteSize = 256 + kRemoteTextCapacity * sizeof(wchar_t);

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &result);
  return static_cast<LRESULT>(result);
}

// A control's text that it writes where `item` (a TVITEMW or LVITEMW, put
// at the buffer's start) says: right after the item.
template <typename Item>
std::string AskText(HWND control, const RemoteBuffer& buffer, UINT message, WPARAM wparam,
                    Item item) {
  item.pszText = reinterpret_cast<wchar_t*>(buffer.at(sizeof(Item)));
  item.cchTextMax = kRemoteTextCapacity;
  buffer.Write(&item, sizeof(item));
  Send(control, message, wparam, reinterpret_cast<LPARAM>(buffer.at(0)));
  std::wstring text(kRemoteTextCapacity, L'\0');
  buffer.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(Item));
  text.resize(wcsnlen(text.c_str(), text.size()));
  return ToText(winscout::win32::WideToUtf8(text));
}

HTREEITEM Next(HWND tree, UINT which, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      Send(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(item)));
}

void ReadTreeItems(HWND tree, const RemoteBuffer& buffer, HTREEITEM first, int depth,
                   std::string& items, int& count) {
  for (HTREEITEM item = first; item; item = Next(tree, TVGN_NEXT, item)) {
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    const auto state =
        Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), 0xffff);
    items += " " + std::to_string(depth) + " " + std::to_string(state) + " " +
             AskText(tree, buffer, TVM_GETITEMW, 0, data);
    ++count;
    ReadTreeItems(tree, buffer, Next(tree, TVGN_CHILD, item), depth + 1, items, count);
  }
}

std::string ReadControl(HWND control, bool tree, int columns = 2) {
  const RemoteBuffer buffer(control, kRemoteSize);
  if (!buffer.ok()) return Error("VirtualAllocEx");
  std::string items;
  int count = 0;
  if (tree) {
    ReadTreeItems(control, buffer, Next(control, TVGN_ROOT, nullptr), 0, items, count);
  }
  for (int row = 0; !tree && row < Send(control, LVM_GETITEMCOUNT, 0, 0);
       ++row, ++count) {
    for (int column = 0; column < columns; ++column) {
      LVITEMW data{};
      data.iSubItem = column;
      items += " " + AskText(control, buffer, LVM_GETITEMTEXTW, row, data);
    }
  }
  return Ok(std::to_string(count) + items);
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                   start)
      .count();
}

std::string Walk() {
  const winscout::win32::Win32WindowSystem windows;
  const auto start = std::chrono::steady_clock::now();
  std::vector<winscout::WindowHandle> pending;
  for (const auto& top : windows.TopLevelWindows()) pending.push_back(top.window);
  std::size_t count = 0;
  for (; !pending.empty(); ++count) {
    const winscout::WindowHandle window = pending.back();
    pending.pop_back();
    windows.Facts(window);
    for (winscout::WindowHandle child : windows.ChildWindows(window))
      pending.push_back(child);
  }
  return Ok(std::to_string(count) + " " +
            std::to_string(std::lround(MillisecondsSince(start))));
}

std::string Answer(const std::string& line) {
  Request request(line);
  const auto command = request.Word();
  if (!command) return "error empty request";
  const std::string& name = *command;

  if (name == "top") {
    const auto class_name = request.Text();
    const auto title = request.Text();
    if (!class_name || !title) return "error usage: top CLASS TITLE";
    return Ok(HandleText(FindWindowW(OrNull(*class_name), OrNull(*title))));
  }
  if (name == "child") {
    const auto parent = request.Window();
    const auto class_name = request.Text();
    if (!parent || !class_name) return "error usage: child PARENT CLASS";
    return Ok(HandleText(FindWindowExW(*parent, nullptr, OrNull(*class_name), nullptr)));
  }
  if (name == "item") {
    const auto parent = request.Window();
    const auto id = request.Number();
    if (!parent || !id) return "error usage: item PARENT ID";
    return Ok(HandleText(GetDlgItem(*parent, static_cast<int>(*id))));
  }
  if (name == "text") {
    const auto window = request.Window();
    if (!window) return "error usage: text WINDOW";
    return ReadText(*window);
  }
  if (name == "clipboard") {
    std::string text;
    if (OpenClipboard(nullptr)) {
      const HANDLE data = GetClipboardData(CF_UNICODETEXT);
      const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
      if (wide) text = winscout::win32::WideToUtf8(wide);
      if (wide) GlobalUnlock(data);
      CloseClipboard();
    }
    return Ok(ToText(text));
  }
  if (name == "settext") {
    const auto window = request.Window();
    const auto text = request.Text();
    if (!window || !text || !*text) return "error usage: settext WINDOW TEXT";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(*window, WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>((*text)->c_str()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result)) {
      return Error("WM_SETTEXT");
    }
    return Ok();
  }
  if (name == "focus") {
    const auto window = request.Window();
    if (!window) return "error usage: focus WINDOW";
    GUITHREADINFO info{.cbSize = sizeof(info)};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(*window, nullptr), &info)) {
      return Error("GetGUIThreadInfo");
    }
    return Ok(HandleText(info.hwndFocus));
  }
  if (name == "rect") {
    const auto window = request.Window();
    RECT rect{};
    if (!window) return "error usage: rect WINDOW";
    if (!GetWindowRect(*window, &rect)) return Error("GetWindowRect");
    return Ok(std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
              std::to_string(rect.right) + " " + std::to_string(rect.bottom));
  }
  if (name == "client") {
    const auto window = request.Window();
    RECT rect{};
    POINT origin{};
    if (!window) return "error usage: client WINDOW";
    if (!GetClientRect(*window, &rect) || !ClientToScreen(*window, &origin)) {
      return Error("GetClientRect");
    }
    return Ok(std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
              std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " " +
              std::to_string(GetDpiForWindow(*window)));
  }
  if (name == "exstyle") {
    const auto window = request.Window();
    if (!window) return "error usage: exstyle WINDOW";
    return Ok(std::to_string(GetWindowLongPtrW(*window, GWL_EXSTYLE)));
  }
  if (name == "visible") {
    const auto window = request.Window();
    if (!window) return "error usage: visible WINDOW";
    return Ok(IsWindowVisible(*window) ? "1" : "0");
  }
  if (name == "at") {
    const auto x = request.Number();
    const auto y = request.Number();
    if (!x || !y) return "error usage: at X Y";
    return Ok(
        HandleText(WindowFromPoint(POINT{static_cast<LONG>(*x), static_cast<LONG>(*y)})));
  }
  if (name == "place" || name == "raise") {
    const auto window = request.Window();
    const auto x = request.Number();
    const auto y = request.Number();
    const auto w = request.Number();
    const auto h = request.Number();
    if (!window || !x || !y || !w || !h)
      return "error usage: " + name + " WINDOW X Y W H";
    const bool raise = name == "raise";
    const UINT flags = (*w == 0 && *h == 0 ? SWP_NOSIZE : 0) |
                       (raise ? 0 : SWP_NOZORDER | SWP_NOACTIVATE);
    if (!SetWindowPos(*window, HWND_TOP, static_cast<int>(*x), static_cast<int>(*y),
                      static_cast<int>(*w), static_cast<int>(*h), flags)) {
      return Error("SetWindowPos");
    }
    if (raise) SetForegroundWindow(*window);
    return Ok();
  }
  if (name == "order") {
    const auto window = request.Window();
    const auto after = request.Window();
    if (!window || !after) return "error usage: order WINDOW AFTER";
    // HWND_TOP is the null handle.
    if (!SetWindowPos(*window, *after, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE)) {
      return Error("SetWindowPos");
    }
    return Ok();
  }
  if (name == "close") {
    const auto window = request.Window();
    if (!window) return "error usage: close WINDOW";
    if (!PostMessageW(*window, WM_CLOSE, 0, 0)) return Error("PostMessage");
    return Ok();
  }
  if (name == "signal") {
    const auto event_name = request.Text();
    if (!event_name || !*event_name) return "error usage: signal NAME";
    const Handle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, (*event_name)->c_str()));
    if (!event) return Error("OpenEvent");
    if (!SetEvent(event.get())) return Error("SetEvent");
    return Ok();
  }
  if (name == "forget") {
    const auto key = request.Text();
    if (!key || !*key) return "error usage: forget KEY";
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, (*key)->c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      return "error RegDeleteTree (error " + std::to_string(status) + ")";
    }
    return Ok();
  }
  if (name == "replay") {
    const auto code = request.Word();
    const auto bytes = code ? FromText(*code) : std::nullopt;
    if (!bytes) return "error usage: replay CODE";
    const winscout::win32::Win32WindowSystem windows;
    const winscout::testing::ReplayResult result =
        winscout::testing::ReplayFinderCode(*bytes, windows);
    if (!result.Ran()) return "fail " + ToText(result.error);
    return Ok(std::to_string(result.found));
  }
  if (name == "act") {
    const auto code = request.Word();
    const auto bytes = code ? FromText(*code) : std::nullopt;
    if (!bytes) return "error usage: act CODE";
    winscout::win32::Win32WindowSystem windows;
    const winscout::testing::ReplayResult result = winscout::testing::ReplayActionCode(
        *bytes, windows, true, [](int ms) { Sleep(static_cast<DWORD>(ms)); });
    return result.Ran() ? Ok() : "fail " + ToText(result.error);
  }
  if (name == "tree" || name == "list") {
    const auto window = request.Window();
    if (!window) return "error usage: " + name + " WINDOW";
    return ReadControl(*window, name == "tree");
  }
  if (name == "post") {
    const auto sent = request.MessageToSend();
    if (!sent) return "error usage: post WINDOW MSG W L";
    if (!PostMessageW(sent->window, sent->message, sent->wparam, sent->lparam))
      return Error("PostMessageW");
    return Ok("1");
  }
  if (name == "send") {
    const auto sent = request.MessageToSend();
    if (!sent) return "error usage: send WINDOW MSG W L [COUNT]";
    LRESULT result = 0;
    for (long long done = 0, count = request.Number().value_or(1); done < count; ++done)
      result = Send(sent->window, sent->message, sent->wparam, sent->lparam);
    return Ok(std::to_string(result));
  }
  if (name == "rows") {
    // Every column of a list view's rows.
    const auto window = request.Window();
    if (!window) return "error usage: rows WINDOW";
    const auto header = reinterpret_cast<HWND>(Send(*window, LVM_GETHEADER, 0, 0));
    return ReadControl(*window, false,
                       static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0)));
  }
  if (name == "focus") {
    const auto window = request.Window();
    if (!window) return "error usage: focus WINDOW";
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(*window, nullptr), &info)) {
      return Error("GetGUIThreadInfo");
    }
    return Ok(HandleText(info.hwndFocus));
  }
  if (name == "clipboard") {
    if (!OpenClipboard(nullptr)) return Error("OpenClipboard");
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    const std::string held = text ? winscout::win32::WideToUtf8(text) : std::string();
    if (text) GlobalUnlock(data);
    CloseClipboard();
    return Ok(ToText(held));
  }
  if (name == "walk") return Walk();
  if (name == "ping") {
    const auto window = request.Window();
    if (!window) return "error usage: ping WINDOW";
    const auto start = std::chrono::steady_clock::now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(*window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result))
      return Ok("-1");
    return Ok(std::to_string(std::lround(MillisecondsSince(start))));
  }
  return "error unknown request: " + name;
}

}  // namespace

int main() {
  // Physical pixels, as the X display and the fixture's manifest have them.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // Lines end in LF alone, as the driver on the Linux side writes and reads them.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  std::string line;
  while (std::getline(std::cin, line)) {
    std::cout << Answer(line) << std::endl;
  }
  return 0;
}
