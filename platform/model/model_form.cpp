#include "platform/model/model_form.h"

#include <algorithm>
#include <stdexcept>

namespace winscout::model {
namespace {

void Raise(const EventHandler& handler) {
  if (handler) handler();
}

const char* DesktopClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kFrame:
      return "Frame";
    case ControlKind::kPictureBox:
      return "PictureBox";
    case ControlKind::kTextBox:
    case ControlKind::kCodeBox:
      return "Edit";
    case ControlKind::kButton:
      return "Button";
    case ControlKind::kImage:
    case ControlKind::kTimer:
      break;
  }
  return nullptr;
}

}  // namespace

ModelTextBox::ModelTextBox(WindowTree& desktop, WindowHandle window,
                           std::string_view text)
    : desktop_(desktop), window_(window), text_(text) {}

void ModelTextBox::SetText(std::string_view text) {
  text_ = text;
  ++writes_;
  desktop_.SetText(window_, text_);
  Raise(on_change_);
}

void ModelTextBox::Type(std::string_view characters) {
  text_ += characters;
  desktop_.SetText(window_, text_);
  Raise(on_change_);
}

void ModelTextBox::Choose(std::string_view text) {
  const auto it = std::ranges::find(choices_, text, &MenuChoice::text);
  if (it == choices_.end())
    throw std::out_of_range("no menu choice " + std::string(text));
  if (on_choose_) on_choose_(static_cast<std::size_t>(it - choices_.begin()));
}

std::vector<std::string> ModelTextBox::marked_choices() const {
  std::vector<std::string> marked;
  for (const MenuChoice& choice : choices_) {
    if (choice.marked) marked.push_back(choice.text);
  }
  return marked;
}

void ModelPictureBox::SetPicture(const Picture* picture) {
  picture_ = picture;
  history_.push_back(picture);
}

void ModelPictureBox::Press() { Raise(on_down_); }
void ModelPictureBox::Release() { Raise(on_up_); }
void ModelPictureBox::Move() { Raise(on_move_); }
void ModelPictureBox::Cancel() { Raise(on_cancel_); }
void ModelButton::Click() { Raise(on_click_); }

bool ModelTimer::Elapse() {
  if (!enabled_) return false;
  Raise(on_tick_);
  return true;
}

ModelForm::ModelForm(const FormSpec& form, WindowTree& desktop, ScreenPoint origin)
    : desktop_(desktop),
      origin_(origin),
      client_width_(form.client_width),
      client_height_(form.client_height) {
  window_ = desktop_.AddTopLevel(
      {.class_name = "WinScoutForm",
       .text = std::string(form.caption),
       .rect = {origin.x, origin.y, origin.x + client_width_ / kTwipsPerPixel,
                origin.y + client_height_ / kTwipsPerPixel}});
  if (form.topmost) desktop_.MakeTopmost(window_);
  for (const ControlSpec& control : form.controls) {
    const bool in_frame = control.container != 0;
    const ScreenRect& container =
        in_frame ? screen_rects_.at(control.container)
                 : ScreenRect{origin.x, origin.y, origin.x, origin.y};
    const ScreenRect rect{
        container.left + control.rect.left / kTwipsPerPixel,
        container.top + control.rect.top / kTwipsPerPixel,
        container.left + (control.rect.left + control.rect.width) / kTwipsPerPixel,
        container.top + (control.rect.top + control.rect.height) / kTwipsPerPixel};
    screen_rects_[control.id] = rect;
    WindowHandle window = 0;
    if (const char* cls = DesktopClassOf(control.kind)) {
      window = desktop_.AddChild(in_frame ? windows_.at(control.container) : window_,
                                 {.class_name = cls,
                                  .text = std::string(control.text),
                                  .rect = rect,
                                  .id = control.id,
                                  .visible = control.visible});
      windows_[control.id] = window;
    }
    switch (control.kind) {
      case ControlKind::kTextBox:
      case ControlKind::kCodeBox:
        text_boxes_[control.id] =
            std::make_unique<ModelTextBox>(desktop_, window, control.text);
        break;
      case ControlKind::kPictureBox:
        picture_boxes_[control.id] = std::make_unique<ModelPictureBox>();
        break;
      case ControlKind::kImage:
        images_[control.id] = std::make_unique<ModelImage>(std::string(control.text));
        break;
      case ControlKind::kButton:
        buttons_[control.id] = std::make_unique<ModelButton>();
        break;
      case ControlKind::kTimer:
        timers_[control.id] = std::make_unique<ModelTimer>(control.interval_ms);
        break;
      case ControlKind::kFrame:
        break;
    }
  }
}

void ModelForm::SetClientWidth(int twips) {
  client_width_ = twips;
  desktop_.SetRect(window_, {origin_.x, origin_.y, origin_.x + twips / kTwipsPerPixel,
                             origin_.y + client_height_ / kTwipsPerPixel});
}

std::size_t ModelForm::AddSystemMenuItem(std::string text, EventHandler chosen) {
  system_menu_.push_back({std::move(text), std::move(chosen)});
  return system_menu_.size() - 1;
}

void ModelForm::SetSystemMenuItemText(std::size_t item, std::string text) {
  system_menu_.at(item).text = std::move(text);
}

std::vector<std::string> ModelForm::system_menu_items() const {
  std::vector<std::string> texts;
  for (const SystemMenuItem& item : system_menu_) texts.push_back(item.text);
  return texts;
}

void ModelForm::ChooseSystemMenuItem(std::string_view text) {
  for (const SystemMenuItem& item : system_menu_) {
    if (item.text == text) return Raise(item.chosen);
  }
  throw std::invalid_argument("no system menu item " + std::string(text));
}

bool ModelForm::RunIdleStep() { return RunIdleSteps(idle_); }

bool ModelForm::PressEscape() {
  if (!escape_) return false;
  // The handler may set another in its place.
  const EventHandler handler = escape_;
  handler();
  return true;
}

void ModelForm::PressFunctionKey(int number) {
  if (auto it = function_keys_.find(number); it != function_keys_.end())
    Raise(it->second);
}

ScreenPoint ModelForm::CenterOf(int id) const {
  const ScreenRect& r = screen_rects_.at(id);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

template <typename T>
T& ModelForm::At(std::map<int, std::unique_ptr<T>>& controls, int id) {
  auto it = controls.find(id);
  if (it == controls.end()) {
    throw std::invalid_argument("no such control of that kind: " + std::to_string(id));
  }
  return *it->second;
}

ImageHolder& ModelForm::ImageAt(int id) { return At(images_, id); }
ModelTextBox& ModelForm::ModelTextBoxAt(int id) { return At(text_boxes_, id); }
ModelPictureBox& ModelForm::ModelPictureBoxAt(int id) { return At(picture_boxes_, id); }
ModelButton& ModelForm::ModelButtonAt(int id) { return At(buttons_, id); }
ModelTimer& ModelForm::ModelTimerAt(int id) { return At(timers_, id); }

}  // namespace winscout::model
