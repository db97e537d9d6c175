#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/idle_steps.h"
#include "platform/toolkit.h"
#include "platform/win32/arrow_box.h"
#include "platform/win32/frame_box.h"
#include "platform/win32/target_outline.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/window_class.h"

namespace winscout::win32 {

// The program's one window with the controls of its description, laid out in twips
// at the window's DPI and laid out again when the DPI changes. Created hidden;
// a window that cannot be made ends the program with the error
// (ExitWithFailedCall).
class Win32Form final : public Form {
 public:
  static constexpr wchar_t kClassName[] = L"WinScoutMain";

  Win32Form(HINSTANCE instance, const FormSpec& form);
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override;

  HWND hwnd() const { return hwnd_; }
  // Dispatches messages until the window is closed, running the idle steps
  // whenever none waits; returns the exit code.
  int RunMessageLoop();

  WindowHandle Handle() const override;
  int ClientWidth() const override;
  void SetClientWidth(int twips) override;
  void SetCaption(std::string_view caption) override;
  void Show() override;
  std::size_t AddSystemMenuItem(std::string text, EventHandler chosen) override;
  void SetSystemMenuItemText(std::size_t item, std::string text) override;
  void OnFunctionKey(int number, EventHandler handler) override {
    if (number >= 1 && number <= kFunctionKeys) function_keys_[number - 1] = handler;
  }
  void WhenIdleIn(int queue, Handler<bool()> step) override { idle_[queue] = step; }
  void OnEscape(EventHandler handler) override { escape_ = handler; }
  std::int64_t ClockMs() const override;
  TextBox& TextBoxAt(int id) override;
  PictureBox& PictureBoxAt(int id) override;
  ImageHolder& ImageAt(int id) override;
  Button& ButtonAt(int id) override;
  Timer& TimerAt(int id) override;
  TargetHighlight& Highlight() override { return *outline_; }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;

 private:
  bool SeenAtStart(const ControlSpec& control) const;
  void CreateControls(bool seen_at_start);
  void MakeObject(const ControlSpec& control);
  void MakeWindow(const ControlSpec& control, UINT dpi);
  HWND CreateStandardControl(const ControlSpec& control, HWND parent, const RECT& rect);
  HWND ContainerOf(const ControlSpec& control);
  void LayOut();
  void ResizeForClient(int client_width_twips);
  void FocusFirstControl();
  void FocusControl(int id);
  void MoveFocus(bool backwards);
  bool SelectAllOnCtrlA(const MSG& message) const;
  bool MoveFocusOnTab(const MSG& message);
  bool RaiseFunctionKey(const MSG& message) const;
  bool RaiseEscape(const MSG& message) const;
  UINT Dpi() const;

  void OnCommand(int id, WORD notification);
  void OnTimer(UINT_PTR id);
  void OnDpiChanged(const RECT& suggested);
  void OnActivate(WPARAM state);
  void OnNextDialogControl(WPARAM which, LPARAM by_handle);
  bool OnSystemMenuCommand(WPARAM command);

  // A control's window (none for an image or a timer) and its object, which
  // is the one of its kind that is not null.
  struct Control {
    int id = 0;
    HWND window = nullptr;
    CommandTarget* command_target = nullptr;
    std::unique_ptr<FrameBox> frame;
    std::unique_ptr<ArrowBox> arrow_box;
    std::unique_ptr<Win32TextBox> text_box;
    std::unique_ptr<Win32Button> button;
    std::unique_ptr<Win32Image> image;
    std::unique_ptr<Win32Timer> timer;
  };
  // The control of `id`, or nullptr.
  Control* ControlOf(int id);
  // The control of `id`, which the form's description holds.
  Control& ControlAt(int id);
  // The object of `id` of the kind `object` names; there is one.
  template <typename T>
  T& Find(int id, std::unique_ptr<T> Control::*object);

  HINSTANCE instance_;
  FormSpec form_;
  WindowClass main_class_;
  WindowClass frame_class_;
  WindowClass arrow_box_class_;
  WindowClass outline_class_;
  std::unique_ptr<TargetOutline> outline_;
  UniqueFont font_;
  // The layout's client width, kept to lay the window out again at a new DPI.
  int client_width_twips_ = 0;
  // The ids that Tab walks through, whichever container holds them.
  std::vector<int> tab_order_;
  // Characters typed into it faster than it redraws go in together.
  HWND code_box_ = nullptr;
  // The control that had the focus when the window was last deactivated.
  HWND last_focus_ = nullptr;
  // Every control's window and object, in the order of form_'s controls and
  // searched by id: they are few. One list rather than one of each kind.
  std::vector<Control> controls_;
  // Indexed by the item's number.
  std::vector<EventHandler> system_menu_handlers_;
  static constexpr int kFunctionKeys = 24;  // F1 to F24
  std::array<EventHandler, kFunctionKeys> function_keys_;
  IdleSteps idle_;
  EventHandler escape_;
};

}  // namespace winscout::win32
