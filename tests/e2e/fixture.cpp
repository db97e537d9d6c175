// The windows that the end-to-end suite points WinScout at: a known tree of
// top-level windows and controls in a process of its own, at fixed screen
// positions. It prints a manifest, one JSON object a line, and then keeps its
// windows alive until the named event below is set or one of them is closed.
// On the second named event it recreates the survival pane, the way programs
// recreate their panes, and prints the new pane's window line.
//
// With --second-instance it makes only the survival tree, with another title,
// on top of the first in the Z-order and under it on the screen, as a second
// instance of a program would; it opens no events and ends when its window is
// closed.
//
// With --frameworks it makes only windows named the way application
// frameworks name theirs, with the parts that change from run to run drawn
// anew on each start, over the lower part of the desktop: an MFC document
// frame with its splitter panes, a WinForms form whose controls' IDs are their
// own handles, a WPF window, ATL controls in a host, and a document window.
// Each target has a sibling of its kind before it. On kRetitleEventName the
// document windows open "notes.txt" and it prints their window lines again;
// it ends when one of its windows is closed.
//
// Manifest lines:
//   {"kind":"process","module":"<path of this executable>","id":<process ID>}
//   {"kind":"window","name":..,"handle":N,"class":..,"text":..,"id":N,
//    "parent":N,"parent_text":..,"parent_class":..,"x":N,"y":N}
//       what the window was made with; x, y is a screen point where the window
//       itself, not one of its children, is hit; parent is the owner of an
//       owned pop-up and 0 for a window without either
//   {"kind":"finder","name":..,"target":<window name>,
//    "expect":{<language>:<whole code>,..},"contains":{<language>:[<lines>],..},
//    "first_search":{<language>:<line>,..}}
//       the code WinScout must write for the target, where the tree decides it,
//       by the language's name in the code box's menu: the whole code, lines
//       it must have, or its first search; each part may be left out
//   {"kind":"error","message":..}   the desktop did not come out as planned
//   {"kind":"ready"}
//
// Its "hung" window has a thread of its own, which stops answering messages
// for 10 s each time the named event kHangEventName is set.
//
// Started as `fixture --actions`, it makes only a topmost window of one control
// of each kind (and the hung window), and writes a line for every
// notification the controls send it:
//   {"kind":"notification","id":N,"code":N}
// A click on its push button opens a modal dialog titled "Modal". Its late
// button, closed, comes back kLateMs later, for code that waits for it.
//
// Started as `fixture many N`, it makes N hidden top-level windows instead (with
// `children` after N: one hidden window with N children), prints only the ready
// line and ends when kManyQuitEventName is set.

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kQuitEventName[] = L"WinScoutE2EFixtureQuit";
constexpr wchar_t kHangEventName[] = L"WinScoutE2EFixtureHang";
constexpr wchar_t kManyQuitEventName[] = L"WinScoutE2EManyQuit";
constexpr DWORD kHangMs = 10000;
// The actions window's own, so that a signal meant for it wakes no other.
constexpr wchar_t kActionsHangEventName[] = L"WinScoutE2EActionsHang";
constexpr wchar_t kRecreateEventName[] = L"WinScoutE2EFixtureRecreate";
constexpr wchar_t kRetitleEventName[] = L"WinScoutE2EFixtureRetitle";

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), needed, nullptr,
                      nullptr);
  return out;
}

std::string Json(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (code < 0x20) {
      out += "\\u00";
      out += kHex[code >> 4];
      out += kHex[code & 0xf];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Json(std::wstring_view text) { return Json(std::string_view(Utf8(text))); }

// Handles as WinScout shows them: the HWND narrowed to 32 bits, sign kept.
long long Number(HWND window) {
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window));
}

// One manifest line per call, flushed at once: the driver reads them from a
// pipe while this process goes on running.
void Emit(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void EmitError(const std::string& message) {
  Emit(R"({"kind":"error","message":)" + Json(message) + "}");
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// The actions window's controls; the push button opens a modal dialog.
constexpr wchar_t kLogProperty[] = L"WinScoutLog";
enum ActionControl {
  kModalButton = 1,
  kCheckBox,
  kRadio,
  kEdit,
  kMultiLine,
  kCombo,
  kList,
  kListView,
  kTreeView,
  kLateButton
};
constexpr UINT kLateMs = 1500;
constexpr int kLatePlace[] = {10, 200, 120, 28};  // x, y, width, height

void MakeLateButton(HWND parent) {
  CreateWindowExW(0, L"Button", L"Late", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  kLatePlace[0], kLatePlace[1], kLatePlace[2], kLatePlace[3], parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLateButton)),
                  GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && GetPropW(window, kLogProperty)) {
    Emit(R"({"kind":"notification","id":)" + std::to_string(LOWORD(wparam)) +
         R"(,"code":)" + std::to_string(HIWORD(wparam)) + "}");
    if (LOWORD(wparam) == kModalButton && HIWORD(wparam) == BN_CLICKED) {
      MessageBoxW(window, L"A modal dialog", L"Modal", MB_OK);
    }
    return 0;
  }
  if (message == WM_PARENTNOTIFY && wparam == MAKEWPARAM(WM_DESTROY, kLateButton)) {
    SetTimer(window, kLateButton, kLateMs, nullptr);
  } else if (message == WM_TIMER && wparam == kLateButton) {
    KillTimer(window, kLateButton);
    MakeLateButton(window);
  }
  // Closing any window by hand ends the fixture, as a person would expect.
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// Every class the fixture registers, each with a colour of its own so that a
// screenshot shows the tree.
struct FixtureClass {
  const wchar_t* name;
  COLORREF colour;
};
constexpr wchar_t kCyrillicClass[] =
    L"\u041E\u043A\u043D\u043E\u041A\u043B\u0430\u0441\u0441";
constexpr wchar_t kEmojiClass[] = L"Emoji\U0001F600Class";

constexpr FixtureClass kClasses[] = {
    {L"Main_Frame2", RGB(200, 220, 255)},
    {L"WinScoutTwin", RGB(255, 220, 200)},
    {L"WinScoutRows", RGB(220, 255, 220)},
    {L"WinScoutNest", RGB(255, 255, 200)},
    {L"WinScout\"Quote", RGB(255, 200, 255)},
    {L"Tab\tPane", RGB(180, 120, 180)},
    {L"WinScoutStatic", RGB(200, 255, 255)},
    {L"WinScoutDeep", RGB(120, 120, 120)},
    {L"WinScoutLevel", RGB(160, 160, 160)},
    {L"WinScoutIds", RGB(230, 230, 230)},
    {L"WinScoutLong", RGB(255, 240, 180)},
    {L"WinScoutCover", RGB(255, 80, 80)},
    {L"WinScoutSurvival", RGB(180, 200, 160)},
    {L"WinScoutHost", RGB(210, 230, 190)},
    {L"WinScoutPane", RGB(240, 250, 230)},
    // Registered with their Unicode names, beyond any ANSI code page.
    {kCyrillicClass, RGB(200, 180, 255)},
    {kEmojiClass, RGB(255, 180, 120)},
    {L"WinScoutStates", RGB(210, 240, 210)},
    {L"WinScoutZero", RGB(0, 0, 0)},
    {L"WinScoutHidden", RGB(0, 0, 0)},
    {L"WinScoutHung", RGB(240, 200, 200)},
    {L"WinScoutMany", RGB(0, 0, 0)},
    {L"WinScoutActions", RGB(235, 235, 250)},
    {L"WinScoutGroups", RGB(225, 225, 245)},
};

struct HandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleDeleter>;

// A made window and what the manifest says about it.
struct Made {
  HWND hwnd = nullptr;
  std::wstring class_name;
  std::wstring text;
  int id = 0;
  const Made* parent = nullptr;  // parent or owner
};

// What the hung window's thread is given, and gives back once it is ready.
struct HungStart {
  RECT rect;
  const wchar_t* event;
  HWND made = nullptr;
  Handle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

class Fixture {
 public:
  bool RegisterClasses() {
    for (const FixtureClass& fixture_class : kClasses) {
      if (!Register(fixture_class)) return false;
    }
    return true;
  }

  static bool Register(const FixtureClass& fixture_class) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FixtureProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The class owns its brush and frees it when it goes.
    wc.hbrBackground = CreateSolidBrush(fixture_class.colour);
    wc.lpszClassName = fixture_class.name;
    if (!RegisterClassExW(&wc)) {
      EmitError("RegisterClassEx failed for " + Utf8(fixture_class.name));
      return false;
    }
    return true;
  }

  // A WinForms control: its ID is its own handle, as WinForms gives every
  // control.
  void IdFromHandle(const Made& made) {
    SetWindowLongPtrW(made.hwnd, GWLP_ID, reinterpret_cast<LONG_PTR>(made.hwnd));
    Record(made).id = static_cast<int>(Number(made.hwnd));
  }

  void Retitle(const Made& made, const wchar_t* text) {
    SetWindowTextW(made.hwnd, text);
    Record(made).text = text;
  }

  // A top-level window without caption: on the bare X display its window
  // rectangle is exactly where it is drawn. `owner` makes it an owned pop-up.
  const Made& TopLevel(const wchar_t* class_name, const wchar_t* text, int x, int y,
                       int w, int h, const Made* owner = nullptr) {
    HWND hwnd = CreateWindowExW(
        0, class_name, text, WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w,
        h, owner ? owner->hwnd : nullptr, nullptr, Instance(), nullptr);
    return Keep(hwnd, class_name, text, 0, owner);
  }

  // A child at x, y of its parent's client area.
  const Made& Child(const Made& parent, const wchar_t* class_name, const wchar_t* text,
                    int id, int x, int y, int w, int h, DWORD style = 0) {
    HWND hwnd = CreateWindowExW(
        0, class_name, text, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | style, x, y, w, h,
        parent.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
        nullptr);
    return Keep(hwnd, class_name, text, id, &parent);
  }

  // A top-level window of a thread of its own that stops answering for a
  // while each time kHangEventName is set.
  const Made& HungWindow(int x, int y, int w, int h,
                         const wchar_t* event = kHangEventName) {
    HungStart start{{x, y, w, h}, event};
    const HANDLE thread = CreateThread(nullptr, 0, &HungThread, &start, 0, nullptr);
    if (thread) {
      WaitForSingleObject(start.ready.get(), INFINITE);
      CloseHandle(thread);
    }
    return Keep(start.made, L"WinScoutHung", L"Hung", 0, nullptr);
  }

  bool AllMade() const { return failed_.empty(); }
  const std::string& Failure() const { return failed_; }

  // The manifest line of a window, hit at x, y of its client area.
  void EmitWindow(const std::string& name, const Made& made, int x, int y) {
    POINT point{x, y};
    ClientToScreen(made.hwnd, &point);
    const Made* parent = made.parent;
    Emit(R"({"kind":"window","name":)" + Json(name) + R"(,"handle":)" +
         std::to_string(Number(made.hwnd)) + R"(,"class":)" + Json(made.class_name) +
         R"(,"text":)" + Json(made.text) + R"(,"id":)" + std::to_string(made.id) +
         R"(,"parent":)" + std::to_string(parent ? Number(parent->hwnd) : 0) +
         R"(,"parent_text":)" + Json(parent ? parent->text : L"") +
         R"(,"parent_class":)" + Json(parent ? parent->class_name : L"") + R"(,"x":)" +
         std::to_string(point.x) + R"(,"y":)" + std::to_string(point.y) + "}");
  }

  // The window hit at its centre, for leaves.
  void EmitLeaf(const std::string& name, const Made& made) {
    RECT client{};
    GetClientRect(made.hwnd, &client);
    EmitWindow(name, made, client.right / 2, client.bottom / 2);
  }

 private:
  const Made& Keep(HWND hwnd, const wchar_t* class_name, const wchar_t* text, int id,
                   const Made* parent) {
    if (!hwnd && failed_.empty()) {
      failed_ = "CreateWindowEx failed for class " + Utf8(class_name) + ", error " +
                std::to_string(GetLastError());
    }
    made_.push_back(std::make_unique<Made>(Made{hwnd, class_name, text, id, parent}));
    return *made_.back();
  }

  // The fixture's own record of a window it made, to change with the window.
  Made& Record(const Made& made) {
    return **std::find_if(made_.begin(), made_.end(),
                          [&](const auto& kept) { return kept.get() == &made; });
  }

  static DWORD WINAPI HungThread(void* argument) {
    auto* start = static_cast<HungStart*>(argument);
    const Handle hang(CreateEventW(nullptr, FALSE, FALSE, start->event));
    const RECT& r = start->rect;
    start->made = CreateWindowExW(
        0, L"WinScoutHung", L"Hung", WS_POPUP | WS_BORDER | WS_VISIBLE, r.left, r.top,
        r.right, r.bottom, nullptr, nullptr, Instance(), nullptr);
    SetEvent(start->ready.get());  // `start` is gone from here on
    HANDLE wait = hang.get();
    for (;;) {
      const DWORD woken =
          MsgWaitForMultipleObjects(1, &wait, FALSE, INFINITE, QS_ALLINPUT);
      if (woken == WAIT_OBJECT_0) Sleep(kHangMs);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
  }

  std::vector<std::unique_ptr<Made>> made_;
  std::string failed_;
};

// The finder's searches run in the desktop's own order, so the fixture asks
// that order instead of assuming it.
const Made* Find(const std::vector<const Made*>& candidates, HWND hwnd) {
  for (const Made* made : candidates) {
    if (made->hwnd == hwnd) return made;
  }
  return nullptr;
}

// What the code for one target must be, language by language.
struct FinderCase {
  using ByLanguage = std::vector<std::pair<std::string, std::string>>;
  std::string name;
  std::string target;
  ByLanguage expect;
  std::vector<std::pair<std::string, std::vector<std::string>>> contains;
  ByLanguage first_search;
};

std::string JsonList(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) {
    if (!list.empty()) list += ',';
    list += Json(item);
  }
  return "[" + list + "]";
}

template <typename Value, typename Write>
std::string JsonObject(const std::vector<std::pair<std::string, Value>>& entries,
                       Write write) {
  std::string object;
  for (const auto& [key, value] : entries) {
    if (!object.empty()) object += ',';
    object += Json(key) + ":" + write(value);
  }
  return "{" + object + "}";
}

void EmitFinder(const FinderCase& finder) {
  auto text = [](const std::string& value) { return Json(value); };
  Emit(R"({"kind":"finder","name":)" + Json(finder.name) + R"(,"target":)" +
       Json(finder.target) + R"(,"expect":)" + JsonObject(finder.expect, text) +
       R"(,"contains":)" + JsonObject(finder.contains, JsonList) + R"(,"first_search":)" +
       JsonObject(finder.first_search, text) + "}");
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

// The text of the long-text window: digits in turn, so that a cut shows where
// it fell.
std::wstring LongText(std::size_t length) {
  std::wstring text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(L'0' + i % 10);
  return text;
}

// The tree whose finder code must outlive changes to the desktop: a frame
// with a title of its own, a host whose title is its only sturdy key, and in
// it the pane, with a control ID of its own, first of its class before a
// sibling. Titles without digits, which the finder takes as keys. It lies
// right of WinScout's wide layout, above the rest of the desktop.
constexpr wchar_t kSurvivalClass[] = L"WinScoutSurvival";
constexpr wchar_t kPaneClass[] = L"WinScoutPane";
constexpr wchar_t kPaneTitle[] = L"Target pane";
constexpr int kPaneId = 20;
constexpr POINT kSurvivalPlace{690, 10};
constexpr POINT kSecondInstancePlace{690, 150};
constexpr POINT kDecoyPlace{980, 10};

struct SurvivalTree {
  const Made* host = nullptr;
  const Made* pane = nullptr;
};

const Made& MakePane(Fixture& f, const Made& host) {
  return f.Child(host, kPaneClass, kPaneTitle, kPaneId, 10, 10, 110, 70);
}

// Makes the tree and writes its window lines; false if its order is not as
// planned.
bool BuildSurvivalTree(Fixture& f, const wchar_t* title, POINT place,
                       SurvivalTree& tree) {
  const Made& frame = f.TopLevel(kSurvivalClass, title, place.x, place.y, 280, 130);
  const Made& host =
      f.Child(frame, L"WinScoutHost", L"Document host", 0, 10, 10, 256, 100);
  const Made& pane = MakePane(f, host);
  const Made& sibling =
      f.Child(host, kPaneClass, L"Other pane", kPaneId + 1, 130, 10, 110, 70);
  if (!f.AllMade()) {
    EmitError(f.Failure());
    return false;
  }
  SetWindowPos(sibling.hwnd, pane.hwnd, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (FindWindowW(kSurvivalClass, nullptr) != frame.hwnd ||
      FindWindowExW(host.hwnd, nullptr, kPaneClass, nullptr) != pane.hwnd) {
    EmitError("the survival frame or pane is not the first of its class");
    return false;
  }
  f.EmitWindow("survival frame", frame, 140, 120);
  f.EmitLeaf("survival pane", pane);
  f.EmitLeaf("survival sibling", sibling);
  tree = {&host, &pane};
  return true;
}

// A new pane in place of the old one: same class, title and ID, new handle.
void RecreatePane(Fixture& f, SurvivalTree& tree) {
  DestroyWindow(tree.pane->hwnd);
  tree.pane = &MakePane(f, *tree.host);
  if (f.AllMade()) {
    f.EmitLeaf("survival pane", *tree.pane);
  } else {
    EmitError(f.Failure());
  }
}

// The windows named as frameworks name theirs. The parts of their class
// names that change from run to run (addresses, handles, hashes, GUIDs) come
// from a generator seeded anew on each start.
class FrameworkNames {
 public:
  FrameworkNames() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    random_.seed(static_cast<std::uint64_t>(counter.QuadPart) ^
                 (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32));
  }

  // MFC: Afx:<module>:<style>:<cursor>:<brush>:<icon>, each handle in 16
  // hex digits.
  std::wstring Mfc(int style) {
    return L"Afx:" + Hex(16) + L":" + std::to_wstring(style) + L":" + Hex(16) + L":" +
           Hex(16) + L":0000000000000000";
  }
  // ATL: ATL:<address of the window's thunk data>.
  std::wstring Atl() { return L"ATL:" + Hex(16); }
  // WinForms: WindowsForms10.<kind>.app.0.<hash>_r<n>_ad<n>, one hash and
  // numbers for every class of the run.
  std::wstring WinForms(std::wstring_view kind) {
    if (winforms_suffix_.empty()) {
      winforms_suffix_ = Hex(7) + L"_r" + std::to_wstring(Below(9) + 1) + L"_ad" +
                         std::to_wstring(Below(3) + 1);
    }
    return L"WindowsForms10." + std::wstring(kind) + L".app.0." + winforms_suffix_;
  }
  // WPF: HwndWrapper[<exe>;;<GUID>], a new GUID for every window.
  std::wstring Wpf(std::wstring_view exe) {
    return L"HwndWrapper[" + std::wstring(exe) + L";;" + Hex(8) + L"-" + Hex(4) + L"-" +
           Hex(4) + L"-" + Hex(4) + L"-" + Hex(12) + L"]";
  }

 private:
  unsigned Below(unsigned count) {
    return std::uniform_int_distribution<unsigned>(0, count - 1)(random_);
  }
  std::wstring Hex(int digits) {
    std::wstring hex;
    for (int i = 0; i < digits; ++i) hex += L"0123456789abcdef"[Below(16)];
    return hex;
  }

  std::mt19937_64 random_;
  std::wstring winforms_suffix_;
};

// The two windows whose titles carry the document's name.
struct Documents {
  const Made* mfc_frame = nullptr;
  const Made* document = nullptr;
};
constexpr wchar_t kOpenedTitle[] = L"notes.txt - Fixture";

// The program's own file name, which WPF puts into its class names.
std::wstring ExeName() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  const std::wstring_view whole(path);
  return std::wstring(whole.substr(whole.find_last_of(L"\\/") + 1));
}

// Makes the framework windows and writes their window lines; false if they
// could not all be made. Each target comes right after a sibling of its
// kind, which a search by position passes over.
bool BuildFrameworks(Fixture& f, Documents& documents) {
  FrameworkNames names;
  const std::wstring mfc_frame = names.Mfc(8);
  const std::wstring mfc_tools = names.Mfc(8);
  const std::wstring mfc_view = names.Mfc(0);
  const std::wstring form = names.WinForms(L"Window.8");
  const std::wstring button = names.WinForms(L"BUTTON");
  const std::wstring wpf_window = names.Wpf(ExeName());
  const std::wstring wpf_notes = names.Wpf(ExeName());
  const std::wstring atl_chart = names.Atl();
  const std::wstring atl_legend = names.Atl();
  for (const FixtureClass& framework_class :
       {FixtureClass{mfc_frame.c_str(), RGB(200, 210, 240)},
        {mfc_tools.c_str(), RGB(200, 210, 240)},
        {mfc_view.c_str(), RGB(250, 250, 250)},
        {form.c_str(), RGB(240, 240, 240)},
        {button.c_str(), RGB(225, 225, 225)},
        {wpf_window.c_str(), RGB(230, 240, 250)},
        {wpf_notes.c_str(), RGB(230, 240, 250)},
        {atl_chart.c_str(), RGB(250, 230, 210)},
        {atl_legend.c_str(), RGB(250, 230, 210)},
        {L"WinScoutAtlHost", RGB(210, 200, 190)},
        {L"WinScoutDocument", RGB(255, 255, 240)}}) {
    if (!Fixture::Register(framework_class)) return false;
  }
  // MFC: a document frame with two splitter panes (IDs 0xE900 and 0xE901, as
  // MFC numbers them), made before a second frame that lies above it.
  const Made& frame =
      f.TopLevel(mfc_frame.c_str(), L"Untitled - Fixture", 20, 320, 300, 170);
  const Made& first_pane =
      f.Child(frame, mfc_view.c_str(), L"", 0xE900, 10, 10, 130, 100);
  const Made& pane = f.Child(frame, mfc_view.c_str(), L"", 0xE901, 150, 10, 130, 100);
  const Made& tools = f.TopLevel(mfc_tools.c_str(), L"Ledger tools", 20, 500, 300, 60);
  // WinForms: a form with two buttons, IDs their handles.
  const Made& settings = f.TopLevel(form.c_str(), L"Settings", 340, 320, 280, 170);
  const Made& ok = f.Child(settings, button.c_str(), L"OK", 0, 10, 10, 120, 60);
  const Made& cancel = f.Child(settings, button.c_str(), L"Cancel", 0, 140, 10, 120, 60);
  // WPF: two windows, each of a class of its own.
  const Made& dashboard =
      f.TopLevel(wpf_window.c_str(), L"Dashboard", 640, 320, 280, 120);
  const Made& notes =
      f.TopLevel(wpf_notes.c_str(), L"Dashboard notes", 640, 450, 280, 60);
  // ATL: two controls of classes of their own in a host window.
  const Made& host = f.TopLevel(L"WinScoutAtlHost", L"Control host", 940, 320, 300, 120);
  const Made& chart = f.Child(host, atl_chart.c_str(), L"Chart", 0, 10, 10, 130, 80);
  const Made& legend = f.Child(host, atl_legend.c_str(), L"Legend", 0, 150, 10, 130, 80);
  // A document window, made before another of its class.
  const Made& document =
      f.TopLevel(L"WinScoutDocument", L"Untitled - Fixture", 940, 460, 300, 80);
  const Made& viewer =
      f.TopLevel(L"WinScoutDocument", L"Untitled - Viewer", 340, 510, 280, 60);
  if (!f.AllMade()) {
    EmitError(f.Failure());
    return false;
  }
  f.IdFromHandle(ok);
  f.IdFromHandle(cancel);
  for (const auto& [target, sibling] : {std::pair{&frame, &tools},
                                        {&pane, &first_pane},
                                        {&cancel, &ok},
                                        {&dashboard, &notes},
                                        {&legend, &chart},
                                        {&document, &viewer}}) {
    SetWindowPos(target->hwnd, sibling->hwnd, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The first line's window is the one the driver closes to end the run.
  f.EmitWindow("mfc frame", frame, 150, 140);
  f.EmitLeaf("mfc pane", pane);
  f.EmitLeaf("winforms button", cancel);
  f.EmitLeaf("wpf window", dashboard);
  f.EmitLeaf("atl control", legend);
  f.EmitLeaf("document", document);
  documents = {&frame, &document};
  return true;
}

// The document windows open a file: their titles name it.
void OpenDocument(Fixture& f, const Documents& documents) {
  f.Retitle(*documents.mfc_frame, kOpenedTitle);
  f.Retitle(*documents.document, kOpenedTitle);
  f.EmitWindow("mfc frame", *documents.mfc_frame, 150, 140);
  f.EmitLeaf("document", *documents.document);
}

// A dialog's controls inside a group box, which comes before them in
// Z-order as a dialog template puts it: each must be found, not the box. It
// lies below the survival decoy.
bool BuildGroupedControls(Fixture& f) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&common);
  const Made& top =
      f.TopLevel(L"WinScoutGroups", L"Grouped controls", 985, 150, 285, 140);
  f.Child(top, L"Button", L"Options", 1, 5, 2, 272, 132, BS_GROUPBOX);
  const Made& edit = f.Child(top, L"Edit", L"grouped", 2, 15, 20, 120, 22, WS_BORDER);
  const Made& combo =
      f.Child(top, L"ComboBox", L"", 3, 15, 50, 120, 100, CBS_DROPDOWNLIST);
  const Made& check =
      f.Child(top, L"Button", L"Check", 4, 15, 85, 120, 22, BS_AUTOCHECKBOX);
  const Made& list =
      f.Child(top, L"SysListView32", L"", 5, 145, 20, 125, 105, WS_BORDER | LVS_REPORT);
  if (!f.AllMade()) {
    EmitError(f.Failure());
    return false;
  }
  for (const auto& [name, made] :
       {std::pair{"grouped edit", &edit}, std::pair{"grouped combo box", &combo},
        std::pair{"grouped check box", &check}, std::pair{"grouped list view", &list}}) {
    f.EmitLeaf(name, *made);
    EmitFinder({.name = std::string(name) + " inside a group box", .target = name});
  }
  return true;
}

// Builds the desktop and writes the manifest; false if the desktop is not as
// planned (the reason is in the manifest).
bool BuildDesktop(Fixture& f, SurvivalTree& survival) {
  // Screen layout: WinScout's own window goes to the top left (the driver
  // puts it at 10,10; wide it needs about 650 x 230 pixels), so everything
  // here lies below y = 300, but for the survival tree, right of it, and
  // nothing overlaps anything else.
  constexpr int kLayoutWidth = 1280;
  constexpr int kLayoutHeight = 1010;
  if (GetSystemMetrics(SM_CXSCREEN) < kLayoutWidth ||
      GetSystemMetrics(SM_CYSCREEN) < kLayoutHeight) {
    EmitError("the screen is smaller than the fixture's layout of " +
              std::to_string(kLayoutWidth) + " x " + std::to_string(kLayoutHeight));
    return false;
  }

  // Two top-level Main_Frame2 windows: the dialog's owner first, then the
  // frame with the pane; the newest window is on top, so FindWindow finds the
  // frame and the code for the pane's Edit box needs no second top-level
  // search.
  const Made& owner = f.TopLevel(L"Main_Frame2", L"Dialog owner", 320, 300, 280, 200);
  const Made& dialog = f.TopLevel(L"#32770", L"Owned dialog", 620, 300, 280, 200, &owner);
  const Made& ok = f.Child(dialog, L"Button", L"OK", IDOK, 20, 20, 100, 30);
  f.Child(dialog, L"Button", L"Cancel", IDCANCEL, 140, 20, 100, 30);

  const Made& frame = f.TopLevel(L"Main_Frame2", L"Main frame", 20, 300, 280, 200);
  const Made& pane = f.Child(frame, L"#32770", L"", 1, 10, 10, 256, 150);
  const Made& edit1 =
      f.Child(pane, L"Edit", L"first edit", 11, 10, 10, 230, 26, WS_BORDER);
  const Made& edit2 =
      f.Child(pane, L"Edit", L"second edit", 12, 10, 60, 230, 26, WS_BORDER);

  const Made& twin1 = f.TopLevel(L"WinScoutTwin", L"Twin one", 920, 300, 280, 90);
  const Made& twin1_edit = f.Child(twin1, L"Edit", L"in twin one", 1, 10, 10, 200, 26);
  const Made& twin2 = f.TopLevel(L"WinScoutTwin", L"Twin two", 920, 410, 280, 90);
  const Made& twin2_edit = f.Child(twin2, L"Edit", L"in twin two", 1, 10, 10, 200, 26);

  const Made& rows = f.TopLevel(L"WinScoutRows", L"Rows", 20, 520, 280, 220);
  std::vector<const Made*> row_buttons;
  for (int i = 0; i < 5; ++i) {
    const std::wstring caption = L"Row " + std::to_wstring(i + 1);
    row_buttons.push_back(
        &f.Child(rows, L"Button", caption.c_str(), 100 + i, 10, 10 + 38 * i, 200, 30));
  }

  const Made& nest = f.TopLevel(L"WinScoutNest", L"Nest", 320, 520, 280, 220);
  const Made& outer = f.Child(nest, L"#32770", L"outer", 1, 10, 10, 250, 170);
  const Made& inner = f.Child(outer, L"#32770", L"inner", 2, 10, 10, 220, 120);
  const Made& nested = f.Child(inner, L"Button", L"nested", 3, 10, 10, 150, 40);

  const Made& quote =
      f.TopLevel(L"WinScout\"Quote", L"Hostile class names", 620, 520, 280, 220);
  const Made& tab_pane = f.Child(quote, L"Tab\tPane", L"tab pane", 1, 20, 20, 200, 120);

  const Made& statics =
      f.TopLevel(L"WinScoutStatic", L"Static holder", 920, 520, 280, 220);
  const Made& label = f.Child(statics, L"Static", L"a static label", 1, 20, 20, 200, 60);

  const Made& deep = f.TopLevel(L"WinScoutDeep", L"Deep", 20, 760, 280, 240);
  const Made* level = &deep;
  constexpr int kLevelsBelowTop = 29;  // 30 levels with the top
  for (int i = 1; i <= kLevelsBelowTop; ++i) {
    RECT client{};
    GetClientRect(level->hwnd, &client);
    const std::wstring text = L"level " + std::to_wstring(i);
    level = &f.Child(*level, L"WinScoutLevel", text.c_str(), i, 3, 3, client.right - 6,
                     client.bottom - 6);
  }

  const std::wstring long_text = LongText(150);
  const Made& ids = f.TopLevel(L"WinScoutIds", L"IDs and texts", 320, 760, 580, 240);
  const Made& id40000 =
      f.Child(ids, L"Button", L"forty thousand", 40000, 10, 10, 200, 40);
  const Made& id70000 =
      f.Child(ids, L"Button", L"seventy thousand", 70000, 10, 60, 200, 40);
  const Made& long_window =
      f.Child(ids, L"WinScoutLong", long_text.c_str(), 3, 10, 110, 560, 60);

  const Made& cover = f.TopLevel(L"WinScoutCover", L"Cover", 920, 760, 120, 80);

  const Made& cyrillic =
      f.TopLevel(kCyrillicClass, L"Unicode classes", 1210, 300, 60, 90);
  const Made& emoji_pane = f.Child(cyrillic, kEmojiClass, L"emoji pane", 1, 5, 5, 50, 70);

  // Windows that no pointer reaches, and an edit whose contents are not the
  // text it was made with.
  // They fill the strip right of the static holder.
  const Made& states = f.TopLevel(L"WinScoutStates", L"States", 1206, 470, 70, 110);
  const Made& disabled =
      f.Child(states, L"Button", L"Disabled", 1, 5, 10, 58, 30, WS_DISABLED);
  const Made& zero = f.Child(states, L"WinScoutZero", L"zero size", 2, 5, 5, 0, 0);
  const Made& live_edit =
      f.Child(states, L"Edit", L"made with this text", 3, 5, 60, 58, 26, WS_BORDER);
  SetWindowTextW(live_edit.hwnd, L"live contents");
  const Made& hidden = f.TopLevel(L"WinScoutHidden", L"Hidden", 1206, 590, 70, 50);
  ShowWindow(hidden.hwnd, SW_HIDE);
  const Made& hung = f.HungWindow(1206, 650, 70, 90);
  // Another window of the survival frame's class, made first: below it.
  const Made& decoy = f.TopLevel(kSurvivalClass, L"Survival notes", kDecoyPlace.x,
                                 kDecoyPlace.y, 280, 130);

  if (!f.AllMade()) {
    EmitError(f.Failure());
    return false;
  }

  wchar_t module[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, module, static_cast<DWORD>(std::size(module)));
  Emit(R"({"kind":"process","module":)" + Json(std::wstring_view(module)) + R"(,"id":)" +
       std::to_string(GetCurrentProcessId()) + "}");

  bool planned = true;
  auto require = [&planned](bool holds, const std::string& what) {
    if (!holds) EmitError(what);
    planned = planned && holds;
  };
  require(FindWindowW(L"Main_Frame2", nullptr) == frame.hwnd,
          "the first Main_Frame2 found is not the main frame");
  require(FindWindowW(L"#32770", nullptr) == dialog.hwnd,
          "the first top-level #32770 found is not the owned dialog");
  HWND first_edit = FindWindowExW(pane.hwnd, nullptr, L"Edit", nullptr);
  const Made* second_edit =
      Find({&edit1, &edit2}, FindWindowExW(pane.hwnd, first_edit, L"Edit", nullptr));
  const Made* first_button =
      Find({&ok}, FindWindowExW(dialog.hwnd, nullptr, L"Button", nullptr));
  HWND row = nullptr;
  for (int i = 0; i < 3; ++i) row = FindWindowExW(rows.hwnd, row, L"Button", nullptr);
  const Made* third_row = Find(row_buttons, row);
  const Made* second_twin_edit =
      FindWindowW(L"WinScoutTwin", nullptr) == twin1.hwnd ? &twin2_edit : &twin1_edit;
  require(second_edit && first_button && third_row,
          "the searches do not find the windows made for them");
  if (!planned || !BuildSurvivalTree(f, L"Survival target", kSurvivalPlace, survival)) {
    return false;
  }

  f.EmitWindow("main frame", frame, 140, 185);
  f.EmitLeaf("main frame edit 2", *second_edit);
  f.EmitWindow("owned dialog", dialog, 140, 150);
  f.EmitLeaf("dialog button 1", *first_button);
  f.EmitLeaf("twin edit", *second_twin_edit);
  f.EmitLeaf("row 3", *third_row);
  f.EmitLeaf("nested button", nested);
  f.EmitLeaf("tab pane", tab_pane);
  f.EmitLeaf("static label", label);
  f.EmitLeaf("deepest level", *level);
  f.EmitWindow("ids", ids, 290, 200);
  f.EmitLeaf("id 40000", id40000);
  f.EmitLeaf("id 70000", id70000);
  f.EmitLeaf("long text", long_window);
  f.EmitLeaf("cover", cover);
  f.EmitLeaf("emoji pane", emoji_pane);
  f.EmitLeaf("disabled button", disabled);
  f.EmitWindow("zero size", zero, 0, 0);
  f.EmitLeaf("live edit", live_edit);
  f.EmitLeaf("hidden", hidden);
  f.EmitLeaf("hung", hung);
  f.EmitLeaf("survival decoy", decoy);

  constexpr char kVb[] = "Visual Basic";
  constexpr char kCpp[] = "C++";
  EmitFinder(
      {.name = "second Edit box of a dialog pane",
       .target = "main frame edit 2",
       .expect =
           {{kVb, JoinLines({"Dim MainFrame As Long", "Dim X As Long", "Dim Edit As Long",
                             R"(MainFrame = FindWindow("Main_Frame2", vbNullString))",
                             R"(X = FindWindowEx(MainFrame, 0, "#32770", vbNullString))",
                             R"(Edit = FindWindowEx(X, 0, "Edit", vbNullString))",
                             R"(Edit = FindWindowEx(X, Edit, "Edit", vbNullString))"})},
            {kCpp,
             JoinLines(
                 {R"(HWND hwndMainFrame = FindWindowW(L"Main_Frame2", nullptr);)",
                  R"(HWND hwndX = FindWindowExW(hwndMainFrame, nullptr, L"#32770", nullptr);)",
                  R"(HWND hwndEdit = FindWindowExW(hwndX, nullptr, L"Edit", nullptr);)",
                  R"(hwndEdit = FindWindowExW(hwndX, hwndEdit, L"Edit", nullptr);)"})}},
       .first_search = {
           {"VBA (Office)", R"(    MainFrame = FindWindow("Main_Frame2", vbNullString))"},
           {"C#", R"(    System.IntPtr mainFrame = FindWindowW("Main_Frame2", null);)"},
           {"Python", R"(main_frame = user32.FindWindowW("Main_Frame2", None))"}}});
  EmitFinder(
      {.name = "first button of an owned dialog",
       .target = "dialog button 1",
       .expect = {
           {kVb, JoinLines({"Dim X As Long", "Dim Button As Long",
                            R"(X = FindWindow("#32770", vbNullString))",
                            R"(Button = FindWindowEx(X, 0, "Button", vbNullString))"})},
           {kCpp,
            JoinLines(
                {R"(HWND hwndX = FindWindowW(L"#32770", nullptr);)",
                 R"(HWND hwndButton = FindWindowExW(hwndX, nullptr, L"Button", nullptr);)"})}}});
  EmitFinder(
      {.name = "third of five same-class siblings",
       .target = "row 3",
       .expect = {
           {kVb,
            JoinLines(
                {"Dim WinScoutRows As Long", "Dim Button As Long",
                 R"(WinScoutRows = FindWindow("WinScoutRows", vbNullString))",
                 R"(Button = FindWindowEx(WinScoutRows, 0, "Button", vbNullString))",
                 R"(Button = FindWindowEx(WinScoutRows, Button, "Button", vbNullString))",
                 R"(Button = FindWindowEx(WinScoutRows, Button, "Button", vbNullString))"})},
           {kCpp,
            JoinLines(
                {R"(HWND hwndWinScoutRows = FindWindowW(L"WinScoutRows", nullptr);)",
                 R"(HWND hwndButton = FindWindowExW(hwndWinScoutRows, nullptr, L"Button", nullptr);)",
                 R"(hwndButton = FindWindowExW(hwndWinScoutRows, hwndButton, L"Button", nullptr);)",
                 R"(hwndButton = FindWindowExW(hwndWinScoutRows, hwndButton, L"Button", nullptr);)"})}}});
  EmitFinder(
      {.name = "second top-level window of a class",
       .target = "twin edit",
       .contains = {
           {kVb,
            {R"(WinScoutTwin = FindWindowEx(0, WinScoutTwin, "WinScoutTwin", vbNullString))"}},
           {kCpp,
            {R"(hwndWinScoutTwin = FindWindowExW(nullptr, hwndWinScoutTwin, L"WinScoutTwin", nullptr);)"}}}});
  EmitFinder(
      {.name = "same class nested",
       .target = "nested button",
       .contains = {
           {kVb,
            {"Dim X As Long", "Dim X2 As Long",
             R"(X2 = FindWindowEx(X, 0, "#32770", vbNullString))"}},
           {kCpp,
            {R"(HWND hwndX2 = FindWindowExW(hwndX, nullptr, L"#32770", nullptr);)"}}}});
  EmitFinder(
      {.name = "quote and tab in class names",
       .target = "tab pane",
       .contains = {
           {kVb,
            {R"(WinScoutQuote = FindWindow("WinScout""Quote", vbNullString))",
             R"(TabPane = FindWindowEx(WinScoutQuote, 0, "Tab" & Chr(9) & "Pane", vbNullString))"}},
           {kCpp,
            {R"(HWND hwndWinScoutQuote = FindWindowW(L"WinScout\"Quote", nullptr);)",
             R"(HWND hwndTabPane = FindWindowExW(hwndWinScoutQuote, nullptr, L"Tab\tPane", nullptr);)"}}}});
  // A reserved name in Visual Basic only.
  EmitFinder(
      {.name = "static control, a reserved name",
       .target = "static label",
       .contains = {
           {kVb,
            {"Dim Static1 As Long",
             R"(Static1 = FindWindowEx(WinScoutStatic, 0, "Static", vbNullString))"}},
           {kCpp,
            {R"(HWND hwndStatic = FindWindowExW(hwndWinScoutStatic, nullptr, L"Static", nullptr);)"}}}});
  EmitFinder(
      {.name = "chain of 30 levels",
       .target = "deepest level",
       .contains = {
           {kVb, {"Dim WinScoutDeep As Long", "Dim WinScoutLevel29 As Long"}},
           {kCpp,
            {R"(HWND hwndWinScoutDeep = FindWindowW(L"WinScoutDeep", nullptr);)",
             R"(HWND hwndWinScoutLevel29 = FindWindowExW(hwndWinScoutLevel28, nullptr, L"WinScoutLevel", nullptr);)"}}}});
  EmitFinder(
      {.name = "Unicode class names",
       .target = "emoji pane",
       .contains = {
           {kVb,
            {"' Unicode class names: declare FindWindow and FindWindowEx with the W "
             "functions (FindWindowW, FindWindowExW).",
             R"(EmojiClass = FindWindowEx(X, 0, "Emoji" & ChrW(55357) & ChrW(56832) & "Class", vbNullString))"}},
           {kCpp,
            {R"(HWND hwndX = FindWindowW(L"\u041E\u043A\u043D\u043E\u041A\u043B\u0430\u0441\u0441", nullptr);)",
             R"(HWND hwndEmojiClass = FindWindowExW(hwndX, nullptr, L"Emoji\U0001F600Class", nullptr);)"}}}});
  // Found by the replay alone.
  EmitFinder({.name = "control ID 70000", .target = "id 70000"});
  EmitFinder({.name = "150-character window text", .target = "long text"});
  return BuildGroupedControls(f);
}

}  // namespace

// `fixture --actions`: one control of each kind, the parent logging what they
// tell it.
int MakeActions() {
  Fixture f;
  INITCOMMONCONTROLSEX common{sizeof(common),
                              ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
  if (!f.RegisterClasses() || !InitCommonControlsEx(&common)) return 1;
  const Made& top = f.TopLevel(L"WinScoutActions", L"Actions", 680, 10, 460, 280);
  SetWindowPos(top.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetPropW(top.hwnd, kLogProperty, top.hwnd);
  const Made& button =
      f.Child(top, L"Button", L"Open dialog", kModalButton, 10, 10, 120, 28);
  const Made& check =
      f.Child(top, L"Button", L"Check", kCheckBox, 10, 50, 120, 24, BS_AUTOCHECKBOX);
  const Made& radio =
      f.Child(top, L"Button", L"Radio", kRadio, 10, 80, 120, 24, BS_AUTORADIOBUTTON);
  const Made& edit = f.Child(top, L"Edit", L"edit text \u03a9 \"q\"", kEdit, 10, 110, 120,
                             24, WS_BORDER);
  const Made& lines = f.Child(top, L"Edit", L"line one\r\nline two", kMultiLine, 10, 140,
                              120, 50, WS_BORDER | ES_MULTILINE);
  const Made& combo =
      f.Child(top, L"ComboBox", L"", kCombo, 150, 10, 130, 120, CBS_DROPDOWNLIST);
  const Made& list =
      f.Child(top, L"ListBox", L"", kList, 150, 50, 130, 80, WS_BORDER | LBS_NOTIFY);
  for (const wchar_t* item : {L"Alpha", L"Item text one", L"Omega \u03a9"}) {
    SendMessageW(combo.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(list.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  const Made& view = f.Child(top, L"SysListView32", L"", kListView, 300, 10, 150, 120,
                             WS_BORDER | LVS_REPORT);
  const wchar_t* const rows[][2] = {
      {L"one", L"1"}, {L"two \u03a9", L"2"}, {L"three", L""}};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{LVCF_WIDTH, 0, 100};
    SendMessageW(view.hwnd, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 2; ++c) {
      LVITEMW item{LVIF_TEXT, r, c};
      item.pszText = const_cast<wchar_t*>(rows[r][c]);
      SendMessageW(view.hwnd, c ? LVM_SETITEMTEXTW : LVM_INSERTITEMW, r,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
  const Made& tree =
      f.Child(top, L"SysTreeView32", L"", kTreeView, 300, 140, 150, 120, WS_BORDER);
  HTREEITEM parent = TVI_ROOT;
  for (const wchar_t* text : {L"Root", L"Leaf \u03a9", L"Other"}) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = text[0] == L'O' ? TVI_ROOT : parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    parent = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree.hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  const Made& late = f.Child(top, L"Button", L"Late", kLateButton, kLatePlace[0],
                             kLatePlace[1], kLatePlace[2], kLatePlace[3]);
  const Made& hung = f.HungWindow(1150, 10, 110, 100, kActionsHangEventName);
  SetWindowPos(hung.hwnd, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!f.AllMade()) {
    EmitError(f.Failure());
    return 1;
  }
  f.EmitWindow("actions", top, 5, 5);
  for (const auto& [name, made] : {std::pair{"push button", &button},
                                   {"check box", &check},
                                   {"radio", &radio},
                                   {"edit", &edit},
                                   {"multi-line edit", &lines},
                                   {"combo box", &combo},
                                   {"list box", &list},
                                   {"list view", &view},
                                   {"tree view", &tree},
                                   {"late button", &late},
                                   {"hung", &hung}}) {
    f.EmitLeaf(name, *made);
  }
  Emit(R"({"kind":"ready"})");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// `fixture many N`: a desktop of many top-level windows, for the figures;
// `fixture many N children`: one top-level window with N children.
int MakeMany(int count, bool children) {
  const Handle quit(CreateEventW(nullptr, TRUE, FALSE, kManyQuitEventName));
  Fixture fixture;
  if (!quit || !fixture.RegisterClasses()) return 1;
  const HWND parent = children
                          ? CreateWindowExW(0, L"WinScoutMany", L"Many", WS_POPUP, 0, 0,
                                            10, 10, nullptr, nullptr, Instance(), nullptr)
                          : nullptr;
  for (int i = 0; i < count; ++i) {
    if (!CreateWindowExW(0, L"WinScoutMany", L"Many", children ? WS_CHILD : WS_POPUP, 0,
                         0, 10, 10, parent, nullptr, Instance(), nullptr)) {
      return 1;
    }
  }
  Emit(R"({"kind":"ready"})");
  WaitForSingleObject(quit.get(), INFINITE);
  return 0;
}

// `fixture --frameworks`: the framework windows, until one is closed.
int MakeFrameworks() {
  // Resets itself: one change of titles per signal.
  const Handle retitle(CreateEventW(nullptr, FALSE, FALSE, kRetitleEventName));
  Fixture fixture;
  Documents documents;
  if (!retitle || !BuildFrameworks(fixture, documents)) return 1;
  Emit(R"({"kind":"ready"})");
  const HANDLE event = retitle.get();
  for (;;) {
    if (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) ==
        WAIT_OBJECT_0) {
      OpenDocument(fixture, documents);
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      DispatchMessageW(&msg);
    }
  }
}

int main(int argc, char** argv) {
  const bool second_instance =
      argc == 2 && std::string_view(argv[1]) == "--second-instance";
  // Physical pixels in the manifest, whatever the display's DPI.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // Lines end in LF alone, as the driver on the Linux side reads them.
  _setmode(_fileno(stdout), _O_BINARY);
  if ((argc == 3 || argc == 4) && std::string_view(argv[1]) == "many")
    return MakeMany(std::atoi(argv[2]),
                    argc == 4 && std::string_view(argv[3]) == "children");
  if (argc == 2 && std::string_view(argv[1]) == "--actions") return MakeActions();
  if (argc == 2 && std::string_view(argv[1]) == "--frameworks") return MakeFrameworks();
  Handle quit;
  Handle recreate;
  if (!second_instance) {
    quit.reset(CreateEventW(nullptr, TRUE, FALSE, kQuitEventName));
    // Resets itself: one new pane per signal.
    recreate.reset(CreateEventW(nullptr, FALSE, FALSE, kRecreateEventName));
    if (!quit || !recreate) {
      EmitError("CreateEvent failed, error " + std::to_string(GetLastError()));
      return 1;
    }
  }
  Fixture fixture;
  SurvivalTree survival;
  if (!fixture.RegisterClasses()) return 1;
  if (second_instance ? !BuildSurvivalTree(fixture, L"Survival second",
                                           kSecondInstancePlace, survival)
                      : !BuildDesktop(fixture, survival)) {
    return 1;
  }
  Emit(R"({"kind":"ready"})");

  const HANDLE events[] = {quit.get(), recreate.get()};
  const DWORD event_count = second_instance ? 0 : 2;
  for (;;) {
    const DWORD woke =
        MsgWaitForMultipleObjects(event_count, events, FALSE, INFINITE, QS_ALLINPUT);
    // Input wakes it with WAIT_OBJECT_0 + event_count.
    if (event_count > 0 && woke == WAIT_OBJECT_0) return 0;
    if (event_count > 1 && woke == WAIT_OBJECT_0 + 1) RecreatePane(fixture, survival);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}
