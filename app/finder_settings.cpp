#include "app/finder_settings.h"

#include <array>
#include <iterator>

namespace winscout::app {
namespace {

using codegen::FinderLanguage;
using codegen::SearchWay;

constexpr std::string_view kLanguageValue = "Language";
constexpr std::string_view kSearchValue = "Search";
constexpr std::string_view kDeclarationsValue = "Declarations";

struct WayName {
  SearchWay way;
  std::string_view stored;
  std::string_view menu;
};
constexpr std::array<WayName, 2> kWays = {{
    {SearchWay::kPosition, "Position", "Search by position"},
    {SearchWay::kIdAndTitle, "ID and title", "Search by ID and title"},
}};

constexpr std::string_view kDeclarationsItem = "Include declarations";

}  // namespace

FinderSettings LoadFinderSettings(const SettingsStore& store) {
  FinderSettings settings;
  if (const auto language = store.Read(kLanguageValue)) {
    for (FinderLanguage known : codegen::kFinderLanguages) {
      if (codegen::FinderLanguageName(known) == *language) settings.language = known;
    }
  }
  if (const auto search = store.Read(kSearchValue)) {
    for (const WayName& way : kWays) {
      if (way.stored == *search) settings.style.way = way.way;
    }
  }
  settings.style.declarations = store.Read(kDeclarationsValue) == "1";
  return settings;
}

void SaveFinderSettings(const FinderSettings& settings, SettingsStore& store) {
  store.Write(kLanguageValue, codegen::FinderLanguageName(settings.language));
  for (const WayName& way : kWays) {
    if (way.way == settings.style.way) store.Write(kSearchValue, way.stored);
  }
  store.Write(kDeclarationsValue, settings.style.declarations ? "1" : "0");
}

std::vector<MenuChoice> FinderMenu(const FinderSettings& settings) {
  std::vector<MenuChoice> menu;
  for (FinderLanguage language : codegen::kFinderLanguages) {
    menu.push_back({.text = std::string(codegen::FinderLanguageName(language)),
                    .marked = language == settings.language});
  }
  for (const WayName& way : kWays) {
    menu.push_back({.text = std::string(way.menu),
                    .marked = way.way == settings.style.way,
                    .begins_group = way.way == kWays.front().way});
  }
  menu.push_back({.text = std::string(kDeclarationsItem),
                  .mark = MenuChoice::Mark::kCheck,
                  .marked = settings.style.declarations,
                  .begins_group = true});
  return menu;
}

FinderSettings ChooseFromFinderMenu(FinderSettings settings, std::size_t index) {
  constexpr std::size_t kLanguages = std::size(codegen::kFinderLanguages);
  if (index < kLanguages) {
    settings.language = codegen::kFinderLanguages[index];
  } else if (index < kLanguages + kWays.size()) {
    settings.style.way = kWays[index - kLanguages].way;
  } else {
    settings.style.declarations = !settings.style.declarations;
  }
  return settings;
}

}  // namespace winscout::app
