#pragma once

#include <cstddef>
#include <string>

#include "app/main_window.h"
#include "platform/toolkit.h"

namespace winscout::app {

// A global hot key that picks the window under the pointer as a drop of the
// code arrow does, with no mouse button: it reaches menus, tooltips and lists
// that close when a button goes down. Its item in the system menu says whether
// WinScout holds the keys; when another program does, choosing the item tries
// again.
class PickHotKey {
 public:
  static constexpr KeyCombination kKeys{
      .control = true, .shift = true, .function_key = 11};

  PickHotKey(GlobalHotKey& hot_key, Form& form, MainWindow& main);
  PickHotKey(const PickHotKey&) = delete;
  PickHotKey& operator=(const PickHotKey&) = delete;

 private:
  void Register();

  GlobalHotKey& hot_key_;
  Form& form_;
  std::size_t menu_item_;
};

// The system menu item's text, as the keys are held or not.
std::string PickHotKeyMenuText(bool held);

}  // namespace winscout::app
