#include "codegen/finder_code.h"

#include "codegen/finder_language.h"
#include "codegen/handle_text.h"

namespace winscout::codegen {

FinderPlanResult PlanFinderCode(std::string_view handle_text,
                                const WindowSystem& windows) {
  const ParsedHandleText parsed = ParseHandleText(handle_text);
  switch (parsed.kind) {
    case HandleTextKind::kNotNumeric:
      return FinderMessage{kNotNumericMessage};
    case HandleTextKind::kNoHandle:
      return NoFinderOutput{};
    case HandleTextKind::kOutOfRange:
      return FinderMessage{kInvalidHandleMessage};
    case HandleTextKind::kHandle:
      break;
  }
  std::string target_class = windows.ClassName(parsed.handle, kClassNameCapacity);
  if (target_class.empty()) return FinderMessage{kInvalidHandleMessage};
  return PlanSearches(windows, parsed.handle, std::move(target_class));
}

FinderResult GenerateFinderCode(std::string_view handle_text,
                                const WindowSystem& windows) {
  FinderPlanResult planned = PlanFinderCode(handle_text, windows);
  if (const auto* plan = std::get_if<SearchPlan>(&planned)) {
    return FinderCode{EmitFinderCode(*plan, FinderLanguage::kVisualBasic)};
  }
  if (const auto* message = std::get_if<FinderMessage>(&planned)) return *message;
  return NoFinderOutput{};
}

}  // namespace winscout::codegen
