#include "inspector/message_log.h"

#include <algorithm>

#include "inspector/message_decode.h"
#include "inspector/window_details.h"
#include "platform/text_pieces.h"

namespace winscout::inspector {
namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (SameIgnoringCase(text.substr(at, part.size()), part)) return true;
  }
  return false;
}

}  // namespace

bool MessageFilter::Shows(const LoggedMessage& message) const {
  bool named = false;
  bool any_shown_term = false;
  for (std::string_view rest = terms; !rest.empty();) {
    const std::string_view term = rest.substr(0, rest.find_first_of(" ,;"));
    rest.remove_prefix(std::min(term.size() + 1, rest.size()));
    if (term.empty()) continue;
    if (term.front() == '-') {
      if (term.size() > 1 && ContainsIgnoringCase(message.name, term.substr(1)))
        return false;
    } else {
      any_shown_term = true;
      named = named || ContainsIgnoringCase(message.name, term);
    }
  }
  if (any_shown_term) return named;
  return show_noisy || message.group == MessageGroup::kOther;
}

void MessageLog::Add(LoggedMessage message) {
  if (lines_.size() == kMaxLines) {
    // A tenth at a time, so that the shown lines are rebuilt seldom.
    const std::size_t gone = kMaxLines / 10;
    for (std::size_t i = 0; i < gone; ++i) lines_.pop_front();
    first_ += gone;
    // In order: the lines gone are a prefix.
    shown_.erase(shown_.begin(), std::lower_bound(shown_.begin(), shown_.end(), first_));
  }
  const bool shows = filter_.Shows(message);
  lines_.push_back(std::move(message));
  if (shows) shown_.push_back(first_ + lines_.size() - 1);
}

void MessageLog::Clear() {
  first_ += lines_.size();
  lines_.clear();
  shown_.clear();
  dropped_ = 0;
}

void MessageLog::SetFilter(MessageFilter filter) {
  filter_ = std::move(filter);
  Rebuild();
}

void MessageLog::Rebuild() {
  shown_.clear();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (filter_.Shows(lines_[i])) shown_.push_back(first_ + i);
  }
}

std::string MessageLog::Status() const {
  TextPieces text;
  text << lines_.size() << " messages, " << shown_.size() << " shown";
  if (dropped_ != 0) text << ", " << dropped_ << " dropped";
  return text.Take();
}

std::string_view KindText(MessageKind kind) {
  static constexpr const char* kKinds[] = {"posted", "sent", "returned"};
  const auto index = static_cast<std::size_t>(kind);
  return index < std::size(kKinds) ? kKinds[index] : "?";
}

std::string ColumnText(const LoggedMessage& message, const MessageNames& names,
                       LogColumn column) {
  const MessageRecord& record = message.record;
  if (column == LogColumn::kParameters) {
    return DecodeParameters(record, {names, message.window_class, message.control_class});
  }
  TextPieces text;
  switch (column) {
    case LogColumn::kTime:
      text << message.time_ms;
      break;
    case LogColumn::kKind:
      text << KindText(record.kind);
      break;
    case LogColumn::kWindow:
      text << Hex32(static_cast<std::uint32_t>(record.window));
      break;
    case LogColumn::kClass:
      text << message.window_class;
      break;
    case LogColumn::kMessage:
      text << message.name;
      break;
    case LogColumn::kParameters:  // above
      break;
    case LogColumn::kWParam:
      text << HexText(record.wparam, 1);
      break;
    case LogColumn::kLParam:
      text << HexText(static_cast<std::uint64_t>(record.lparam), 1);
      break;
    case LogColumn::kResult:
      if (record.kind == MessageKind::kReturned) text << record.result;
      break;
  }
  return text.Take();
}

namespace {

// A leading = + - @ (or tab, CR) makes a spreadsheet run a field as a
// formula; numbers keep their sign.
bool LooksLikeFormula(std::string_view text) {
  const bool number = text.size() > 1 && text.front() == '-' &&
                      text.find_first_not_of("0123456789", 1) == std::string_view::npos;
  return !text.empty() && !number &&
         std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

// A field for the clipboard: on one line, between tabs, guarded as in the CSV.
std::string CopyField(std::string_view text) {
  std::string field = LooksLikeFormula(text) ? "'" : "";
  for (char c : text) field += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
  return field;
}

// The lines' first `columns` columns with `separator` between them and CR LF
// after each line, each field as `field` gives it.
std::string LinesText(const std::vector<const LoggedMessage*>& lines,
                      const MessageNames& names, int columns, char separator,
                      std::string (*field)(std::string_view)) {
  std::string text;
  for (const LoggedMessage* line : lines) {
    for (int i = 0; i < columns; ++i) {
      text += field(ColumnText(*line, names, static_cast<LogColumn>(i)));
      text += i + 1 < columns ? std::string_view(&separator, 1) : "\r\n";
    }
  }
  return text;
}

}  // namespace

std::string CopyText(const std::vector<const LoggedMessage*>& lines,
                     const MessageNames& names) {
  return LinesText(lines, names, kShownColumns, '\t', CopyField);
}

std::string CsvField(std::string_view text) {
  const bool formula = LooksLikeFormula(text);
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
  std::string field;
  if (quoted) field += '"';
  if (formula) field += '\'';
  for (char c : text) {
    field += c;
    if (quoted && c == '"') field += '"';
  }
  if (quoted) field += '"';
  return field;
}

std::string CsvText(const std::vector<const LoggedMessage*>& lines,
                    const MessageNames& names) {
  return "\xEF\xBB\xBFTime "
         "(ms),Kind,Window,Class,Message,Parameters,wParam,lParam,Result\r\n" +
         LinesText(lines, names, kCsvColumns, ',', CsvField);
}

}  // namespace winscout::inspector
