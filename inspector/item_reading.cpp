#include "inspector/item_reading.h"

#include "platform/text_pieces.h"

namespace winscout::inspector {

// Said after a list that goes on past what WinScout reads.
constexpr char kItemsCut[] = "\r\n(cut: WinScout reads 1000000 items at most)";

bool ItemReading::ReadPiece(std::size_t most) {
  std::optional<ItemPiece> piece =
      windows_.ItemsFrom(window_, list_, next_, most, timeout_ms_);
  if (!piece) {
    failed_ = true;
    return false;
  }
  total_ = piece->total;
  for (const auto& row : piece->rows) {
    for (const std::string& text : row) units_ += text.size();
    if (units_ > kMostItemUnits || read_ == kMostItems) return false;
    if (read_++ > 0) text_ += "\r\n";
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text_ += '\t';
      text_ += row[i];
    }
  }
  next_ = piece->next;
  return next_ != 0;
}

std::string ItemReading::Progress() const {
  return (TextPieces() << "Reading items... " << read_ << " of " << total_).Take();
}

ActionOutcome ItemReading::Outcome() {
  if (failed_) return {false, "The window did not answer."};
  if (read_ == kMostItems) text_ += kItemsCut;
  return {true, std::move(text_)};
}

ActionOutcome ItemReading::Stopped() const {
  return {false, "Stopped: " + DecimalText(read_) + " of " + DecimalText(total_) +
                     " items read."};
}

}  // namespace winscout::inspector
