#pragma once

#include <cstddef>
#include <vector>

#include "codegen/finder_language.h"
#include "platform/settings_store.h"
#include "platform/toolkit.h"

namespace winscout::app {

// What the user chose in the code box's menu, kept for the next run.
struct FinderSettings {
  codegen::FinderLanguage language = codegen::FinderLanguage::kVisualBasic;
  codegen::FinderStyle style;
  friend bool operator==(const FinderSettings&, const FinderSettings&) = default;
};

// The stored choices; the defaults for what is missing or not understood.
FinderSettings LoadFinderSettings(const SettingsStore& store);
void SaveFinderSettings(const FinderSettings& settings, SettingsStore& store);

// The code box's own menu items: the languages, the two ways of searching
// and the declarations toggle, marked as the settings are.
std::vector<MenuChoice> FinderMenu(const FinderSettings& settings);
// The settings once the user has chosen item `index` of that menu.
FinderSettings ChooseFromFinderMenu(FinderSettings settings, std::size_t index);

}  // namespace winscout::app
