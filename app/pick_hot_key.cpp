#include "app/pick_hot_key.h"

#include "platform/text_pieces.h"

namespace winscout::app {
namespace {

// "Ctrl+Shift+F11"
std::string KeysText(const KeyCombination& keys) {
  std::string text;
  if (keys.control) text += "Ctrl+";
  if (keys.shift) text += "Shift+";
  return text + "F" + DecimalText(keys.function_key);
}

}  // namespace

std::string PickHotKeyMenuText(bool held) {
  const std::string keys = KeysText(PickHotKey::kKeys);
  return held ? "Pick Window Under Pointer\t" + keys
              : keys + " Is Taken by Another Program (Choose to Try Again)";
}

PickHotKey::PickHotKey(GlobalHotKey& hot_key, Form& form, MainWindow& main)
    : hot_key_(hot_key),
      form_(form),
      menu_item_(form.AddSystemMenuItem(PickHotKeyMenuText(hot_key.Register()),
                                        [this] { Register(); })) {
  hot_key_.OnPressed([&main] { main.PickWindowAtCursor(); });
}

void PickHotKey::Register() {
  form_.SetSystemMenuItemText(menu_item_, PickHotKeyMenuText(hot_key_.Register()));
}

}  // namespace winscout::app
