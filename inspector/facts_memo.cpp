#include "inspector/facts_memo.h"

namespace winscout::inspector {

const std::optional<WindowFacts>& FactsMemo::Facts(WindowHandle window) {
  if (const std::uint64_t* found = facts_at_.Find(static_cast<std::uint32_t>(window)))
    return *reinterpret_cast<const std::optional<WindowFacts>*>(*found);
  facts_.push_front(windows_.Facts(window));
  facts_at_.Put(static_cast<std::uint32_t>(window),
                reinterpret_cast<std::uintptr_t>(&facts_.front()));
  return facts_.front();
}

const std::string& FactsMemo::ImagePath(std::uint32_t process_id) {
  if (const std::uint64_t* found = images_at_.Find(process_id))
    return *reinterpret_cast<const std::string*>(*found);
  images_.push_front(windows_.ProcessImagePath(process_id));
  images_at_.Put(process_id, reinterpret_cast<std::uintptr_t>(&images_.front()));
  return images_.front();
}

void FactsMemo::ReadTextsAhead(const std::vector<WindowHandle>& windows, int timeout_ms) {
  texts_ = windows_.LiveTexts(windows, timeout_ms);
  texts_at_.Clear();
  for (std::size_t i = 0; i < windows.size(); ++i)
    texts_at_.Put(static_cast<std::uint32_t>(windows[i]), i);
}

// Taken once: a later pass asks the window again.
std::optional<std::string> FactsMemo::LiveText(WindowHandle window, int timeout_ms) {
  if (const std::uint64_t* found = texts_at_.Find(static_cast<std::uint32_t>(window))) {
    std::optional<std::string> text = std::move(texts_[*found]);
    texts_at_.Remove(static_cast<std::uint32_t>(window));
    return text;
  }
  return windows_.LiveText(window, timeout_ms);
}

}  // namespace winscout::inspector
