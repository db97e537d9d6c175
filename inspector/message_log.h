#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "inspector/message_names.h"
#include "platform/message_record.h"

namespace winscout::inspector {

// A logged message with what the filter needs, named as it arrives; its
// parameters are decoded only when a line is shown, copied or saved, which
// the classes read at arrival make possible after the windows are gone.
// The classes are views of names that the log's owner keeps while it keeps
// the lines: each class once, however many lines name it.
struct LoggedMessage {
  MessageRecord record;
  std::int64_t time_ms = 0;  // since the log started
  std::string_view window_class;
  // WM_COMMAND: the control in lParam; WM_NOTIFY: the sender.
  std::string_view control_class;
  std::string name;
  MessageGroup group = MessageGroup::kOther;
};

// Which lines the log shows. Terms are separated by spaces or commas and
// match a message's name without regard to case; a term that starts with '-'
// hides what it matches. The noisy groups show only when asked, or when a
// term names them.
struct MessageFilter {
  std::string terms;
  bool show_noisy = false;
  bool Shows(const LoggedMessage& message) const;
};

// The log: every message that arrived, up to a limit (the oldest go first),
// the lines the filter lets through, and how many the hook had to drop.
class MessageLog {
 public:
  static constexpr std::size_t kMaxLines = 200'000;

  void Add(LoggedMessage message);
  void AddDropped(std::uint64_t count) { dropped_ += count; }
  void Clear();
  void SetFilter(MessageFilter filter);

  std::size_t ShownCount() const { return shown_.size(); }
  const LoggedMessage& Shown(std::size_t row) const {
    return lines_[shown_[row] - first_];
  }
  std::size_t Count() const { return lines_.size(); }
  std::uint64_t Dropped() const { return dropped_; }
  // "120 messages, 31 shown, 5 dropped"
  std::string Status() const;

 private:
  void Rebuild();

  std::deque<LoggedMessage> lines_;
  // Line numbers since the log began: the first kept, and those shown.
  std::uint64_t first_ = 0;
  std::vector<std::uint64_t> shown_;
  std::uint64_t dropped_ = 0;
  MessageFilter filter_;
};

std::string_view KindText(MessageKind kind);
// A line's columns as the log shows them: time, kind, window, class, message,
// parameters; then the raw values that only the CSV holds.
enum class LogColumn {
  kTime,
  kKind,
  kWindow,
  kClass,
  kMessage,
  kParameters,
  kWParam,
  kLParam,
  kResult,  // of a returned message
};
inline constexpr int kShownColumns = 6;
inline constexpr int kCsvColumns = 9;
std::string ColumnText(const LoggedMessage& message, const MessageNames& names,
                       LogColumn column);
// Lines for the clipboard: the columns separated by tabs, CR LF after each;
// a field's tabs and line breaks become spaces, and a field that a
// spreadsheet would take for a formula starts with a quote, as in the CSV.
std::string CopyText(const std::vector<const LoggedMessage*>& lines,
                     const MessageNames& names);
// The lines as CSV (RFC 4180: commas, CR LF, quotes where needed), UTF-8 with
// a byte-order mark, a header line first; the raw values beside the words.
// A field that a spreadsheet would take for a formula starts with a quote.
std::string CsvText(const std::vector<const LoggedMessage*>& lines,
                    const MessageNames& names);
std::string CsvField(std::string_view text);

}  // namespace winscout::inspector
