#include "inspector/facts_memo.h"

namespace winscout::inspector {

const std::optional<WindowFacts>& FactsMemo::Facts(WindowHandle window) {
  const auto found = facts_.find(window);
  if (found != facts_.end()) return found->second;
  return facts_.emplace(window, windows_.Facts(window)).first->second;
}

const std::string& FactsMemo::ImagePath(std::uint32_t process_id) {
  const auto found = images_.find(process_id);
  if (found != images_.end()) return found->second;
  return images_.emplace(process_id, windows_.ProcessImagePath(process_id)).first->second;
}

}  // namespace winscout::inspector
