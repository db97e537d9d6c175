#include "app/about.h"

#include "app/build_date.h"
#include "app/program_info.h"

namespace winscout::app {

std::string AboutMenuItemText() {
  return "About WinScout " + std::string(kProgramVersion) + "...";
}

std::string AboutText() {
  return "WinScout " + std::string(kProgramVersion) + "\nBuilt " +
         std::string(kBuildDate) + "\n\n" + std::string(kProgramDescription) +
         "\n\nCopyright (c) The WinScout Authors. MIT License.";
}

}  // namespace winscout::app
