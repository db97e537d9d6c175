#include "platform/win32/win32_form.h"

#include <algorithm>
#include <vector>

#include "platform/tab_order.h"
#include "platform/win32/bound_window.h"
#include "platform/win32/fatal_error.h"
#include "platform/win32/handle_conversion.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/type_ahead.h"
#include "platform/win32/ui_font.h"

namespace winscout::win32 {
namespace {

// A fixed single border: a caption with the close and minimise buttons, no
// sizing frame.
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
constexpr int kTwipsPerInch = 1440;
// The program's system-menu commands: below the system's own (0xF000 and up),
// in steps of 16, as Windows keeps the low four bits of WM_SYSCOMMAND.
constexpr UINT kFirstSystemMenuCommand = 0x0100;
constexpr UINT kSystemMenuCommandStep = 0x10;
constexpr UINT kLastSystemMenuCommand = 0xEFF0;

UINT SystemMenuCommand(std::size_t item) {
  return kFirstSystemMenuCommand + static_cast<UINT>(item) * kSystemMenuCommandStep;
}

int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

RECT PixelRect(const TwipsRect& rect, UINT dpi) {
  const int left = TwipsToPixels(rect.left, dpi);
  const int top = TwipsToPixels(rect.top, dpi);
  return {left, top, left + TwipsToPixels(rect.width, dpi),
          top + TwipsToPixels(rect.height, dpi)};
}

int PixelsToTwips(int pixels, UINT dpi) {
  return MulDiv(pixels, kTwipsPerInch, static_cast<int>(dpi));
}

HMENU AsMenu(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

}  // namespace

Win32Form::Win32Form(HINSTANCE instance, const FormSpec& form)
    : instance_(instance),
      form_(form),
      main_class_(instance, kClassName, &BoundWindowProc<Win32Form>, 0,
                  GetSysColorBrush(COLOR_BTNFACE), LoadIconW(instance, L"ARROW")),
      frame_class_(instance, FrameBox::kClassName, &BoundWindowProc<FrameBox>, 0,
                   GetSysColorBrush(COLOR_BTNFACE)),
      arrow_box_class_(instance, ArrowBox::kClassName, &BoundWindowProc<ArrowBox>,
                       CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE)),
      outline_class_(instance, TargetOutline::kClassName,
                     &BoundWindowProc<TargetOutline>),
      outline_(std::make_unique<TargetOutline>(instance)),
      tab_order_(TabOrder(form.controls)) {
  // Made topmost rather than raised there once made: on a display's window
  // system (Wine's X11) the later raise costs more than the window's showing.
  CreateWindowExW(kFormExStyle | (form.topmost ? WS_EX_TOPMOST : 0), kClassName,
                  Utf8ToWide(form.caption).c_str(), kFormStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
  if (!hwnd_) ExitWithFailedCall("CreateWindowExW");
  CreateControls(true);
  ResizeForClient(form_.client_width);
}

Win32Form::~Win32Form() {
  if (hwnd_) DestroyWindow(hwnd_);
}

// The right pane lies beyond the narrow client area the window first shows:
// its controls are made once the window is up.
bool Win32Form::SeenAtStart(const ControlSpec& control) const {
  return control.container != 0 || control.rect.left < form_.client_width;
}

// The objects of every control are made with the controls seen at start, so
// that all can be wired before the window shows; the windows of the others
// follow with seen_at_start false. Made in tab order, so that the Z-order
// follows it too; frames first, as they hold other controls. Tab itself walks
// tab_order_ across containers. Each window is made in its place with its
// font, as it is to be shown.
void Win32Form::CreateControls(bool seen_at_start) {
  // Above any tab index.
  constexpr int kFramesBefore = 1 << 16;
  const UINT dpi = Dpi();
  if (!font_) font_ = MessageFont(dpi);
  const auto frames_first = [](const ControlSpec& control) {
    return (control.kind == ControlKind::kFrame ? 0 : kFramesBefore) + control.tab_index;
  };
  if (seen_at_start) {
    controls_ = std::vector<Control>(form_.controls.size());
    for (std::size_t i = 0; i < controls_.size(); ++i)
      controls_[i].id = form_.controls[i].id;
  }
  for (const ControlSpec* control : RankedControls(form_.controls, frames_first)) {
    if (seen_at_start) MakeObject(*control);
    if (SeenAtStart(*control) == seen_at_start) MakeWindow(*control, dpi);
  }
}

void Win32Form::MakeObject(const ControlSpec& control) {
  const int id = control.id;
  Control& made = ControlAt(id);
  switch (control.kind) {
    case ControlKind::kFrame:
      made.frame = std::make_unique<FrameBox>();
      break;
    case ControlKind::kPictureBox:
      made.arrow_box = std::make_unique<ArrowBox>();
      break;
    case ControlKind::kTextBox:
    case ControlKind::kCodeBox:
      made.text_box = std::make_unique<Win32TextBox>(control.kind == ControlKind::kCodeBox
                                                         ? Win32TextBox::kUndoableWrites
                                                         : Win32TextBox::kPlainWrites);
      made.command_target = made.text_box.get();
      break;
    case ControlKind::kButton:
      made.button = std::make_unique<Win32Button>();
      made.command_target = made.button.get();
      break;
    case ControlKind::kImage:
      made.image = std::make_unique<Win32Image>(UniqueIcon(static_cast<HICON>(LoadImageW(
          instance_, Utf8ToWide(control.text).c_str(), IMAGE_ICON, 32, 32, 0))));
      break;
    case ControlKind::kTimer:
      made.timer = std::make_unique<Win32Timer>(hwnd_, static_cast<UINT_PTR>(id),
                                                control.interval_ms);
      break;
  }
}

void Win32Form::MakeWindow(const ControlSpec& control, UINT dpi) {
  const int id = control.id;
  const HWND parent = ContainerOf(control);
  const RECT rect = PixelRect(control.rect, dpi);
  Control& made = ControlAt(id);
  switch (control.kind) {
    case ControlKind::kFrame:
      made.frame->Create(instance_, parent, id, rect);
      made.window = made.frame->hwnd();
      break;
    case ControlKind::kPictureBox:
      made.arrow_box->Create(instance_, parent, id, rect);
      made.window = made.arrow_box->hwnd();
      break;
    case ControlKind::kTextBox:
    case ControlKind::kCodeBox: {
      const HWND edit = CreateStandardControl(control, parent, rect);
      if (control.kind == ControlKind::kCodeBox) code_box_ = edit;
      made.text_box->Attach(edit);
      break;
    }
    case ControlKind::kButton:
      CreateStandardControl(control, parent, rect);
      break;
    case ControlKind::kImage:
    case ControlKind::kTimer:
      return;  // windowless
  }
  if (!made.window) ExitWithFailedCall("CreateWindowExW");
  SendMessageW(made.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

HWND Win32Form::CreateStandardControl(const ControlSpec& control, HWND parent,
                                      const RECT& rect) {
  DWORD style =
      WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | (control.visible ? WS_VISIBLE : 0);
  DWORD ex_style = 0;
  const wchar_t* window_class = L"EDIT";
  switch (control.kind) {
    case ControlKind::kCodeBox:
      style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
               WS_VSCROLL | WS_HSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kTextBox:
      style |= ES_AUTOHSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    default:
      style |= BS_PUSHBUTTON;
      window_class = L"BUTTON";
      break;
  }
  const HWND window =
      CreateWindowExW(ex_style, window_class, Utf8ToWide(control.text).c_str(), style,
                      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                      parent, AsMenu(control.id), instance_, nullptr);
  ControlAt(control.id).window = window;
  // No 32K cap: the code for a deep window tree can be longer.
  if (window && window_class[0] == L'E') SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
  return window;
}

HWND Win32Form::ContainerOf(const ControlSpec& control) {
  return control.container == 0 ? hwnd_ : ControlAt(control.container).window;
}

UINT Win32Form::Dpi() const { return GetDpiForWindow(hwnd_); }

// The controls again, at a new DPI; the old font stays until no control uses
// it.
void Win32Form::LayOut() {
  const UINT dpi = Dpi();
  UniqueFont font = MessageFont(dpi);
  for (const ControlSpec& control : form_.controls) {
    const HWND window = ControlAt(control.id).window;
    if (!window) continue;
    const RECT rect = PixelRect(control.rect, dpi);
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  font_ = std::move(font);
}

void Win32Form::ResizeForClient(int client_width_twips) {
  client_width_twips_ = client_width_twips;
  const UINT dpi = Dpi();
  RECT rect{0, 0, TwipsToPixels(client_width_twips, dpi),
            TwipsToPixels(form_.client_height, dpi)};
  AdjustWindowRectExForDpi(&rect, kFormStyle, FALSE, kFormExStyle, dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowHandle Win32Form::Handle() const { return ToHandle(hwnd_); }

int Win32Form::ClientWidth() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return PixelsToTwips(client.right - client.left, Dpi());
}

void Win32Form::SetClientWidth(int twips) { ResizeForClient(twips); }

void Win32Form::SetCaption(std::string_view caption) {
  SetWindowTextW(hwnd_, Utf8ToWide(caption).c_str());
}

// What the window does not need to be seen is made once it is, before the
// message loop lets the user act: the right pane's controls and the outline.
void Win32Form::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  CreateControls(false);
  FocusFirstControl();
  outline_->Create();
}

void Win32Form::FocusFirstControl() {
  if (!tab_order_.empty()) FocusControl(tab_order_.front());
}

// As in a dialog box, a text box that gets the focus from the keyboard has its
// text selected.
void Win32Form::FocusControl(int id) {
  const Control& control = ControlAt(id);
  if (control.text_box) SendMessageW(control.window, EM_SETSEL, 0, -1);
  SetFocus(control.window);
}

// To the next control in tab order that is enabled; the controls carry their
// ids as control IDs.
void Win32Form::MoveFocus(bool backwards) {
  const HWND focus = GetFocus();
  int id = focus && IsChild(hwnd_, focus) ? GetDlgCtrlID(focus) : 0;
  for (std::size_t tries = 0; tries < tab_order_.size(); ++tries) {
    id = NextTabStop(tab_order_, id, backwards);
    if (IsWindowEnabled(ControlAt(id).window)) {
      FocusControl(id);
      return;
    }
  }
}

std::size_t Win32Form::AddSystemMenuItem(std::string text, EventHandler chosen) {
  const std::size_t item = system_menu_handlers_.size();
  if (SystemMenuCommand(item) > kLastSystemMenuCommand) {
    ExitWithFailedCall("too many system menu items", ERROR_INVALID_INDEX);
  }
  const HMENU menu = GetSystemMenu(hwnd_, FALSE);
  if (item == 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  if (!AppendMenuW(menu, MF_STRING, SystemMenuCommand(item), Utf8ToWide(text).c_str())) {
    ExitWithFailedCall("AppendMenuW");
  }
  system_menu_handlers_.push_back(std::move(chosen));
  return item;
}

void Win32Form::SetSystemMenuItemText(std::size_t item, std::string text) {
  const UINT command = SystemMenuCommand(item);
  ModifyMenuW(GetSystemMenu(hwnd_, FALSE), command, MF_BYCOMMAND | MF_STRING, command,
              Utf8ToWide(text).c_str());
}

TextBox& Win32Form::TextBoxAt(int id) { return Find(id, &Control::text_box); }
PictureBox& Win32Form::PictureBoxAt(int id) { return Find(id, &Control::arrow_box); }
ImageHolder& Win32Form::ImageAt(int id) { return Find(id, &Control::image); }
Button& Win32Form::ButtonAt(int id) { return Find(id, &Control::button); }
Timer& Win32Form::TimerAt(int id) { return Find(id, &Control::timer); }

Win32Form::Control* Win32Form::ControlOf(int id) {
  for (Control& control : controls_) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

Win32Form::Control& Win32Form::ControlAt(int id) {
  Control* control = ControlOf(id);
  if (!control) ExitWithFailedCall("no control with that id", ERROR_NOT_FOUND);
  return *control;
}

template <typename T>
T& Win32Form::Find(int id, std::unique_ptr<T> Control::*object) {
  const Control* control = ControlOf(id);
  if (!control || !(control->*object)) {
    ExitWithFailedCall("no control of that kind with that id", ERROR_NOT_FOUND);
  }
  return *(control->*object);
}

int Win32Form::RunMessageLoop() {
  MSG message;
  BOOL got;
  for (;;) {
    // Peeking also answers the messages that other threads send.
    while (AnyIdleStep(idle_) && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
      RunIdleSteps(idle_);
    if ((got = GetMessageW(&message, nullptr, 0, 0)) == 0) break;
    if (got == -1) return 1;
    if (SelectAllOnCtrlA(message) || RaiseFunctionKey(message) || RaiseEscape(message) ||
        MoveFocusOnTab(message) ||
        (message.message == WM_CHAR && message.hwnd == code_box_ && TypeAhead(message))) {
      continue;
    }
    // The arrow keys move the focus in every window of the program that holds
    // controls, and Tab in the windows this one owns, as in dialog boxes.
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root && (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        IsDialogMessageW(root, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// The performance counter, as GetTickCount moves in steps of 10 to 16 ms.
std::int64_t Win32Form::ClockMs() const {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return count.QuadPart / (frequency.QuadPart / 1000);
}

// Ctrl+A selects the whole text of any of the form's text boxes.
bool Win32Form::SelectAllOnCtrlA(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam != 'A' ||
      GetKeyState(VK_CONTROL) >= 0) {
    return false;
  }
  for (const Control& control : controls_) {
    if (control.text_box && control.window == message.hwnd) {
      SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
      return true;
    }
  }
  return false;
}

// Tab and Shift+Tab go by the tab indexes, not by the containers, which
// IsDialogMessage would walk one after the other; Ctrl+Tab too, which a
// multi-line edit takes for Tab.
bool Win32Form::MoveFocusOnTab(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) {
    return false;
  }
  MoveFocus(GetKeyState(VK_SHIFT) < 0);
  return true;
}

bool Win32Form::RaiseFunctionKey(const MSG& message) const {
  if (message.message != WM_KEYDOWN || message.wParam < VK_F1 ||
      message.wParam > VK_F24 || GetKeyState(VK_CONTROL) < 0 ||
      GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) {
    return false;
  }
  const EventHandler& handler = function_keys_[message.wParam - VK_F1];
  if (!handler) return false;
  handler();
  return true;
}

bool Win32Form::RaiseEscape(const MSG& message) const {
  if (!escape_ || message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE ||
      (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) {
    return false;
  }
  // The handler may set another in its place.
  const EventHandler handler = escape_;
  handler();
  return true;
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wparam);
      return 0;
    case WM_NEXTDLGCTL:
      OnNextDialogControl(wparam, lparam);
      return 0;
    case WM_SYSCOMMAND:
      if (OnSystemMenuCommand(wparam)) return 0;
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_DPICHANGED:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

void Win32Form::OnCommand(int id, WORD notification) {
  if (const Control* control = ControlOf(id); control && control->command_target) {
    control->command_target->OnCommand(notification);
  }
}

void Win32Form::OnTimer(UINT_PTR id) {
  if (const Control* control = ControlOf(static_cast<int>(id));
      control && control->timer) {
    control->timer->Tick();
  }
}

// Like a dialog box, the window gives the focus back to the control that had
// it when the user comes back to it, not to itself.
void Win32Form::OnActivate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
  } else if (HIWORD(state) == 0) {  // not minimised
    if (last_focus_ && IsChild(hwnd_, last_focus_)) {
      SetFocus(last_focus_);
    } else {
      FocusFirstControl();
    }
  }
}

// A multi-line edit asks its parent to move the focus when it gets Tab (the
// frame passes the request on): as a dialog box would, by the tab order.
void Win32Form::OnNextDialogControl(WPARAM which, LPARAM by_handle) {
  if (LOWORD(by_handle)) {
    const HWND control = reinterpret_cast<HWND>(which);
    if (IsChild(hwnd_, control)) SetFocus(control);
  } else {
    MoveFocus(which != 0);
  }
}

bool Win32Form::OnSystemMenuCommand(WPARAM command) {
  const UINT id = static_cast<UINT>(command) & 0xFFF0;
  if (id < kFirstSystemMenuCommand || id > kLastSystemMenuCommand) return false;
  const std::size_t item = (id - kFirstSystemMenuCommand) / kSystemMenuCommandStep;
  if (item >= system_menu_handlers_.size()) return false;
  if (system_menu_handlers_[item]) system_menu_handlers_[item]();
  return true;
}

// The window moves where Windows suggests; its size and every control follow
// the new DPI, so the layout in twips stays the same.
void Win32Form::OnDpiChanged(const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ResizeForClient(client_width_twips_);
  LayOut();
}

}  // namespace winscout::win32
