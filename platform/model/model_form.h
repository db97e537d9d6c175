#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/idle_steps.h"
#include "platform/model/window_tree.h"
#include "platform/toolkit.h"

namespace winscout::model {

class ModelPicture final : public Picture {
 public:
  explicit ModelPicture(std::string name) : name_(std::move(name)) {}
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

class ModelTextBox final : public TextBox {
 public:
  ModelTextBox(WindowTree& desktop, WindowHandle window, std::string_view text);
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  void OnChange(EventHandler handler) override { on_change_ = std::move(handler); }
  void SetMenuChoices(std::vector<MenuChoice> choices) override {
    choices_ = std::move(choices);
  }
  void OnMenuChoice(Handler<void(std::size_t)> handler) override {
    on_choose_ = std::move(handler);
  }

  // The user types at the end of the text.
  void Type(std::string_view characters);
  // The user picks the choice with this text from the context menu.
  void Choose(std::string_view text);
  int writes() const { return writes_; }
  const std::vector<MenuChoice>& menu_choices() const { return choices_; }
  // The texts of the marked choices, in menu order.
  std::vector<std::string> marked_choices() const;

 private:
  WindowTree& desktop_;
  WindowHandle window_;
  std::string text_;
  EventHandler on_change_;
  int writes_ = 0;
  std::vector<MenuChoice> choices_;
  Handler<void(std::size_t)> on_choose_;
};

class ModelPictureBox final : public PictureBox {
 public:
  const Picture* GetPicture() const override { return picture_; }
  void SetPicture(const Picture* picture) override;
  MousePointer GetMousePointer() const override { return pointer_; }
  void SetMousePointer(MousePointer pointer) override { pointer_ = pointer; }
  void OnMouseDown(EventHandler handler) override { on_down_ = std::move(handler); }
  void OnMouseUp(EventHandler handler) override { on_up_ = std::move(handler); }
  void OnMouseMove(EventHandler handler) override { on_move_ = std::move(handler); }
  void OnCancel(EventHandler handler) override { on_cancel_ = std::move(handler); }

  void Press();
  void Release();
  void Move();
  void Cancel();
  // Every picture the box was given, in order (nullptr for "emptied").
  const std::vector<const Picture*>& picture_history() const { return history_; }

 private:
  const Picture* picture_ = nullptr;
  MousePointer pointer_ = MousePointer::kDefault;
  EventHandler on_down_;
  EventHandler on_up_;
  EventHandler on_move_;
  EventHandler on_cancel_;
  std::vector<const Picture*> history_;
};

class ModelImage final : public ImageHolder {
 public:
  explicit ModelImage(std::string name) : picture_(std::move(name)) {}
  const Picture* GetPicture() const override { return &picture_; }

 private:
  ModelPicture picture_;
};

class ModelButton final : public Button {
 public:
  void OnClick(EventHandler handler) override { on_click_ = std::move(handler); }
  void Click();

 private:
  EventHandler on_click_;
};

class ModelTimer final : public Timer {
 public:
  explicit ModelTimer(int interval_ms) : interval_ms_(interval_ms) {}
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  int IntervalMs() const override { return interval_ms_; }
  void OnTick(EventHandler handler) override { on_tick_ = std::move(handler); }

  // One interval passes: a tick if the timer is on. Returns whether it ticked.
  bool Elapse();

 private:
  bool enabled_ = false;
  int interval_ms_;
  EventHandler on_tick_;
};

// A hot key that another program may hold already.
class ModelHotKey final : public GlobalHotKey {
 public:
  bool Register() override { return registered_ = registered_ || !held_elsewhere_; }
  void OnPressed(EventHandler handler) override { on_pressed_ = std::move(handler); }

  void SetHeldElsewhere(bool held) { held_elsewhere_ = held; }
  bool registered() const { return registered_; }
  // The user presses the keys; only a registered hot key reaches the program.
  void Press() {
    if (registered_ && on_pressed_) on_pressed_();
  }

 private:
  bool held_elsewhere_ = false;
  bool registered_ = false;
  EventHandler on_pressed_;
};

// Keeps every outline it was asked for.
class ModelHighlight final : public TargetHighlight {
 public:
  void Outline(WindowHandle window) override { outlines_.push_back(window); }
  void OnTargetGone(EventHandler handler) override { on_gone_ = std::move(handler); }
  WindowHandle outlined() const { return outlines_.empty() ? 0 : outlines_.back(); }
  const std::vector<WindowHandle>& outlines() const { return outlines_; }
  // The outlined window was found destroyed: the outline hides and says so.
  void TargetGone() {
    outlines_.push_back(0);
    if (on_gone_) on_gone_();
  }

 private:
  std::vector<WindowHandle> outlines_;
  EventHandler on_gone_;
};

// A form on the in-memory desktop: the form is a top-level window and each
// windowed control a child window at its place (15 twips to the pixel), so
// the program can inspect and pick its own controls.
class ModelForm final : public Form {
 public:
  static constexpr int kTwipsPerPixel = 15;

  ModelForm(const FormSpec& form, WindowTree& desktop, ScreenPoint origin = {100, 100});

  WindowHandle Handle() const override { return window_; }
  int ClientWidth() const override { return client_width_; }
  void SetClientWidth(int twips) override;
  void Show() override { shown_ = true; }
  std::size_t AddSystemMenuItem(std::string text, EventHandler chosen) override;
  void SetSystemMenuItemText(std::size_t item, std::string text) override;
  void OnFunctionKey(int number, EventHandler handler) override {
    function_keys_[number] = std::move(handler);
  }
  // The user presses the function key in one of the program's windows.
  void PressFunctionKey(int number);
  void WhenIdleIn(int queue, Handler<bool()> step) override { idle_.at(queue) = step; }
  void SetCaption(std::string_view text) override;
  void OnEscape(EventHandler handler) override { escape_ = handler; }
  // The user presses Esc in the form; whether the form took it.
  bool PressEscape();
  // The program's loop finds no input waiting: a step of each queue that has
  // one to run; whether one ran.
  bool RunIdleStep();
  // Stands still until a test moves it.
  std::int64_t ClockMs() const override { return clock_ms_; }
  void AdvanceClock(std::int64_t ms) { clock_ms_ += ms; }
  // Idle until no step is left.
  void RunIdle() {
    while (RunIdleStep()) {
    }
  }

  TextBox& TextBoxAt(int id) override { return ModelTextBoxAt(id); }
  PictureBox& PictureBoxAt(int id) override { return ModelPictureBoxAt(id); }
  ImageHolder& ImageAt(int id) override;
  Button& ButtonAt(int id) override { return ModelButtonAt(id); }
  Timer& TimerAt(int id) override { return ModelTimerAt(id); }
  TargetHighlight& Highlight() override { return highlight_; }
  const ModelHighlight& highlight() const { return highlight_; }
  ModelHighlight& highlight() { return highlight_; }

  ModelTextBox& ModelTextBoxAt(int id);
  ModelPictureBox& ModelPictureBoxAt(int id);
  ModelButton& ModelButtonAt(int id);
  ModelTimer& ModelTimerAt(int id);

  bool shown() const { return shown_; }
  // The texts of the program's items in the system menu, in order.
  std::vector<std::string> system_menu_items() const;
  // The user picks the item with this text from the system menu.
  void ChooseSystemMenuItem(std::string_view text);
  int client_height() const { return client_height_; }
  // The child window that stands for the control on the desktop.
  WindowHandle WindowOf(int id) const { return windows_.at(id); }
  // The screen point at the middle of the control.
  ScreenPoint CenterOf(int id) const;

 private:
  template <typename T>
  T& At(std::map<int, std::unique_ptr<T>>& controls, int id);

  WindowTree& desktop_;
  ScreenPoint origin_;
  WindowHandle window_ = 0;
  int client_width_;
  int client_height_;
  bool shown_ = false;
  std::map<int, WindowHandle> windows_;
  std::map<int, model::ScreenRect> screen_rects_;
  std::map<int, std::unique_ptr<ModelTextBox>> text_boxes_;
  std::map<int, std::unique_ptr<ModelPictureBox>> picture_boxes_;
  std::map<int, std::unique_ptr<ModelImage>> images_;
  std::map<int, std::unique_ptr<ModelButton>> buttons_;
  std::map<int, std::unique_ptr<ModelTimer>> timers_;
  ModelHighlight highlight_;
  struct SystemMenuItem {
    std::string text;
    EventHandler chosen;
  };
  std::vector<SystemMenuItem> system_menu_;
  std::map<int, EventHandler> function_keys_;
  IdleSteps idle_;
  EventHandler escape_;
  std::int64_t clock_ms_ = 0;
};

}  // namespace winscout::model
