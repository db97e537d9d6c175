#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "codegen/search_plan.h"
#include "platform/window_system.h"

namespace winscout::codegen {

inline constexpr std::string_view kErrorTitle = "Error!";
inline constexpr std::string_view kNotNumericMessage =
    "Please only enter the handle of the window for the code to be generated.";
inline constexpr std::string_view kInvalidHandleMessage =
    "The window handle you entered is not valid.";

// The new text of the code box.
struct FinderCode {
  std::string text;
};
// A message to show, titled kErrorTitle; the code box stays as it is.
struct FinderMessage {
  std::string_view text;
};
// Nothing to show and nothing to write (the handle text was "0").
struct NoFinderOutput {};

using FinderResult = std::variant<NoFinderOutput, FinderCode, FinderMessage>;
using FinderPlanResult = std::variant<NoFinderOutput, SearchPlan, FinderMessage>;

// The searches that find the window named by the handle text again, replayed
// on the window system as it stands now; any language's code is written from
// them.
FinderPlanResult PlanFinderCode(std::string_view handle_text,
                                const WindowSystem& windows);

// Visual Basic that finds the window named by the handle text again.
FinderResult GenerateFinderCode(std::string_view handle_text,
                                const WindowSystem& windows);

}  // namespace winscout::codegen
