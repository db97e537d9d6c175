#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace winscout::codegen {

// What of a class name outlives a restart of its program. Frameworks put
// addresses, handles, hashes and GUIDs into the names they register (MFC's
// Afx:<module>:<style>:..., WinForms' WindowsForms10.<kind>.app.0.<hash>_r1_ad1,
// WPF's HwndWrapper[<exe>;;<GUID>]), so such a name is matched by the part
// before the first piece that changes.
struct ClassJudgement {
  // The class is matched by the start below rather than whole.
  bool run_dependent = false;
  // What every run's name begins with; the whole name when not run-dependent.
  std::string stable_part;
  // What the level's variable name is made from: the same on every run.
  std::string name_source;
};

ClassJudgement JudgeClassName(std::string_view class_name);

// Whether a control ID names the same control on the next run: one a dialog
// template or a program assigns, not one made from the window's handle (as
// WinForms does with every control).
bool IsSturdyId(std::int32_t id, WindowHandle window);

// Whether a title is worth finding a window by: one that holds a path, a
// number (a count, a time, a document's number) or more than a short line
// is likely to change before the code runs again.
bool IsSturdyTitle(std::string_view title);

// How a title finds its window again.
struct TitleKey {
  enum class Match {
    kWhole,  // the title as it is
    kEnd,    // "<document> - <program>": the dash and the program's name
  };
  Match match = Match::kWhole;
  std::string text;
};

// Nothing where the title would not find the window on the next run.
std::optional<TitleKey> JudgeTitle(std::string_view title);

}  // namespace winscout::codegen
