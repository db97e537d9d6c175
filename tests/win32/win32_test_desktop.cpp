// Real windows of the test's own process, for the contract suite under Wine
// (or Windows).

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/handle_conversion.h"
#include "platform/win32/registry_settings.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_window_system.h"
#include "tests/contract/test_desktop.h"

namespace winscout::testing {
namespace {

using win32::ToHandle;
using win32::ToHwnd;

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

HINSTANCE OwnInstance() { return GetModuleHandleW(nullptr); }

// Where a window of the test's own classes finds the log of its commands.
constexpr wchar_t kCommandLog[] = L"WsTestCommands";

LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_COMMAND) {
    if (auto* log =
            static_cast<std::vector<TestCommand>*>(GetPropW(window, kCommandLog))) {
      log->push_back({LOWORD(w), HIWORD(w), ToHandle(reinterpret_cast<HWND>(l))});
    }
  }
  // A selection's notification, as the model keeps it: a row newly selected,
  // a tree's selection changed.
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(l);
    const auto* row = reinterpret_cast<const NMLISTVIEW*>(l);
    const bool selected = header->code == LVN_ITEMCHANGED &&
                          (row->uNewState & ~row->uOldState & LVIS_SELECTED) != 0;
    const bool tree = header->code == TVN_SELCHANGEDW || header->code == TVN_SELCHANGEDA;
    auto* log = static_cast<std::vector<TestCommand>*>(GetPropW(window, kCommandLog));
    if (log && (selected || tree)) {
      log->push_back({static_cast<std::int32_t>(header->idFrom),
                      selected ? static_cast<int>(LVN_ITEMCHANGED)
                               : static_cast<int>(TVN_SELCHANGEDW),
                      ToHandle(header->hwndFrom)});
    }
  }
  if (message == WM_NCDESTROY) RemovePropW(window, kCommandLog);
  return DefWindowProcW(window, message, w, l);
}

enum class Kind { kTopLevel, kChild, kOwnedPopup, kOwnedOverlapped };

struct MadeWindow {
  HWND hwnd = nullptr;
  Kind kind = Kind::kTopLevel;
  HWND relative = nullptr;  // the parent of a child, the owner of an owned window
  TestWindowSpec props;
};

class Win32TestDesktop final : public TestDesktop {
 public:
  Win32TestDesktop() = default;
  Win32TestDesktop(const Win32TestDesktop&) = delete;
  Win32TestDesktop& operator=(const Win32TestDesktop&) = delete;
  ~Win32TestDesktop() override {
    // Windows must go before their classes can be unregistered; destroying a
    // window takes its children and owned windows with it.
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      if (IsWindow(it->hwnd)) DestroyWindow(it->hwnd);
    }
    made_.clear();
    for (const std::wstring& name : classes_)
      UnregisterClassW(name.c_str(), OwnInstance());
  }

  WindowSystem& System() override { return system_; }

  void FillItems(WindowHandle control, ItemList list, const ItemRows& rows) override {
    const HWND hwnd = ExistingWindow(control);
    switch (list) {
      case ItemList::kComboBox:
      case ItemList::kListBox:
        for (const auto& row : rows) {
          SendMessageW(hwnd, list == ItemList::kComboBox ? CB_ADDSTRING : LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(win32::Utf8ToWide(row.front()).c_str()));
        }
        break;
      case ItemList::kListView:
        FillListView(hwnd, rows);
        break;
      case ItemList::kTreeView:
        FillTreeView(hwnd, rows);
        break;
    }
  }

  std::vector<TestCommand> CommandsTo(WindowHandle window) override {
    return commands_[ExistingWindow(window)];
  }

  void Pump() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  WindowHandle AddTopLevel(const TestWindowSpec& props) override {
    return Make(Kind::kTopLevel, nullptr, props);
  }

  WindowHandle AddChild(WindowHandle parent, const TestWindowSpec& props) override {
    return Make(Kind::kChild, ExistingWindow(parent), props);
  }

  WindowHandle AddOwned(WindowHandle owner, const TestWindowSpec& props,
                        bool popup) override {
    return Make(popup ? Kind::kOwnedPopup : Kind::kOwnedOverlapped, ExistingWindow(owner),
                props);
  }

  void Destroy(WindowHandle window) override {
    if (!DestroyWindow(ExistingWindow(window))) Fail("DestroyWindow");
    std::erase_if(made_, [](const MadeWindow& w) { return !IsWindow(w.hwnd); });
  }

  void MoveCursor(ScreenPoint point) override {
    if (!SetCursorPos(point.x, point.y)) Fail("SetCursorPos");
  }

  void MakeTopmost(WindowHandle window) override {
    if (!SetWindowPos(ExistingWindow(window), HWND_TOPMOST, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE))
      Fail("SetWindowPos");
  }

  bool IsTopmost(WindowHandle window) override {
    return (GetWindowLongPtrW(ExistingWindow(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  }

  std::string OwnModulePath() override {
    for (DWORD capacity = MAX_PATH; capacity <= 32768; capacity *= 2) {
      std::vector<wchar_t> buffer(capacity);
      const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), capacity);
      if (length == 0) Fail("GetModuleFileNameW");
      if (length < capacity) return win32::WideToUtf8({buffer.data(), length});
    }
    throw std::runtime_error("module path longer than any path");
  }

  std::uint32_t OwnProcessId() override { return GetCurrentProcessId(); }
  std::uint32_t OwnThreadId() override { return GetCurrentThreadId(); }

  bool AllowsClassNamesOver255() override {
    if (!allows_over_255_known_) {
      const std::wstring name = L"WsProbe" + std::wstring(249, L'q');
      allows_over_255_ = Register(name);
      if (allows_over_255_) UnregisterClassW(name.c_str(), OwnInstance());
      allows_over_255_known_ = true;
    }
    return allows_over_255_;
  }

  std::string Describe() override {
    const ScreenPoint cursor = system_.CursorPos();
    std::string out =
        "cursor (" + std::to_string(cursor.x) + ", " + std::to_string(cursor.y) + ")\n";
    for (const MadeWindow& w : made_) out += Line(w) + '\n';
    return out;
  }

 private:
  // Here, unlike in the program, a class that Windows refuses is an answer,
  // not an error.
  static bool Register(const std::wstring& name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = LoggingProc;
    wc.hInstance = OwnInstance();
    wc.lpszClassName = name.c_str();
    return RegisterClassExW(&wc) != 0;
  }

  static HWND ExistingWindow(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    if (!IsWindow(hwnd)) {
      throw std::invalid_argument("no window " + std::to_string(window));
    }
    return hwnd;
  }

  static void FillListView(HWND hwnd, const ItemRows& rows) {
    for (std::size_t c = 0; !rows.empty() && c < rows.front().size(); ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH;
      column.cx = 50;
      SendMessageW(hwnd, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (std::size_t c = 0; c < rows[r].size(); ++c) {
        std::wstring text = win32::Utf8ToWide(rows[r][c]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        item.iSubItem = static_cast<int>(c);
        item.pszText = text.data();
        SendMessageW(hwnd, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r,
                     reinterpret_cast<LPARAM>(&item));
      }
    }
  }

  static void FillTreeView(HWND hwnd, const ItemRows& rows) {
    std::map<std::string, HTREEITEM> made;
    for (const auto& row : rows) {
      const std::string& path = row.front();
      const std::size_t slash = path.rfind('/');
      std::wstring text = win32::Utf8ToWide(path.substr(slash + 1));
      TVINSERTSTRUCTW insert{};
      insert.hParent =
          slash == std::string::npos ? TVI_ROOT : made.at(path.substr(0, slash));
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT;
      insert.item.pszText = text.data();
      made[path] = reinterpret_cast<HTREEITEM>(
          SendMessageW(hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
  }

  // System classes (Edit, Button, #32770, ...) and classes made earlier are
  // used as they are. False where Windows refuses the class.
  bool EnsureClass(const std::wstring& name) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(OwnInstance(), name.c_str(), &existing)) return true;
    if (!Register(name)) return false;
    classes_.push_back(name);
    return true;
  }

  WindowHandle Make(Kind kind, HWND relative, const TestWindowSpec& props) {
    const std::wstring class_name = win32::Utf8ToWide(props.class_name);
    if (!EnsureClass(class_name)) return 0;

    DWORD style = props.style | (props.enabled ? 0 : WS_DISABLED);
    switch (kind) {
      case Kind::kTopLevel:
      case Kind::kOwnedPopup:
        style |= WS_POPUP;
        break;
      case Kind::kChild:
        style |= WS_CHILD;
        break;
      case Kind::kOwnedOverlapped:
        style |= WS_OVERLAPPED;
        break;
    }
    // Child rectangles come in screen coordinates; CreateWindow wants them
    // in the parent's client coordinates.
    RECT rect{props.rect.left, props.rect.top, props.rect.right, props.rect.bottom};
    if (kind == Kind::kChild) {
      MapWindowPoints(HWND_DESKTOP, relative, reinterpret_cast<POINT*>(&rect), 2);
    }
    // For a child the menu argument carries the control ID.
    const HMENU menu = kind == Kind::kChild
                           ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(props.id))
                           : nullptr;
    const HWND hwnd =
        CreateWindowExW(0, class_name.c_str(), win32::Utf8ToWide(props.text).c_str(),
                        style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, relative, menu, OwnInstance(), nullptr);
    if (!hwnd) Fail("CreateWindowExW " + props.class_name);
    SetPropW(hwnd, kCommandLog, &commands_[hwnd]);
    made_.push_back({hwnd, kind, relative, props});
    // Shown without activation, so that the test never takes the focus from
    // anything and the Z-order stays the order of creation.
    if (props.visible) ShowWindow(hwnd, SW_SHOWNA);
    return ToHandle(hwnd);
  }

  static std::string Line(const MadeWindow& w) {
    static constexpr const char* kKinds[] = {"top-level", "child of", "popup owned by",
                                             "owned by"};
    const TestRect& r = w.props.rect;
    std::string line = std::to_string(ToHandle(w.hwnd)) + " \"" + w.props.class_name +
                       "\" \"" + w.props.text + "\" " + kKinds[static_cast<int>(w.kind)];
    if (w.relative) line += ' ' + std::to_string(ToHandle(w.relative));
    line += " id=" + std::to_string(w.props.id) + " rect=(" + std::to_string(r.left) +
            "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
            std::to_string(r.bottom) + ")";
    if (!IsWindowVisible(w.hwnd)) line += " hidden";
    if (!IsWindowEnabled(w.hwnd)) line += " disabled";
    if (GetWindowLongPtrW(w.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) line += " topmost";
    return line;
  }

  // The list and tree view classes come with comctl32.
  win32::UniqueModule common_controls_{LoadLibraryW(L"comctl32.dll")};
  // std::map: the logs stay where the windows' properties point.
  std::map<HWND, std::vector<TestCommand>> commands_;
  win32::Win32WindowSystem system_;
  std::vector<std::wstring> classes_;  // registered here
  std::vector<MadeWindow> made_;
  bool allows_over_255_known_ = false;
  bool allows_over_255_ = false;
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() {
  return std::make_unique<Win32TestDesktop>();
}

namespace {

constexpr wchar_t kTestSettingsKey[] = L"Software\\WinScoutContractTest";

// The registry store on a key of its own, deleted before and after.
class TestRegistrySettings final : public SettingsStore {
 public:
  TestRegistrySettings() { RegDeleteTreeW(HKEY_CURRENT_USER, kTestSettingsKey); }
  TestRegistrySettings(const TestRegistrySettings&) = delete;
  TestRegistrySettings& operator=(const TestRegistrySettings&) = delete;
  ~TestRegistrySettings() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestSettingsKey);
  }
  std::optional<std::string> Read(std::string_view name) const override {
    return store_.Read(name);
  }
  void Write(std::string_view name, std::string_view value) override {
    store_.Write(name, value);
  }

 private:
  win32::RegistrySettings store_{kTestSettingsKey};
};

}  // namespace

std::unique_ptr<SettingsStore> MakeTestSettings() {
  return std::make_unique<TestRegistrySettings>();
}

}  // namespace winscout::testing
