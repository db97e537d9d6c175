#pragma once

#include <string>
#include <string_view>

#include "inspector/message_names.h"
#include "platform/message_record.h"

namespace winscout::inspector {

// What the decoder needs to know beyond the record: the classes of the
// windows it names, read by the caller.
struct MessageContext {
  const MessageNames& names;
  std::string_view window_class;
  // WM_COMMAND: the control in lParam; WM_NOTIFY: the sender.
  std::string_view control_class;
};

// The parameters of the common messages in words ("ID 1001, BN_CLICKED,
// control 0x00010086"); the rest as wParam and lParam in hex. A returned
// message ends with its result. Nothing is read through a pointer: texts and
// headers come from the record, where the hook copied them in the target.
std::string DecodeParameters(const MessageRecord& record, const MessageContext& context);

// The text of the record's `text` as UTF-8.
std::string RecordText(const MessageRecord& record);

}  // namespace winscout::inspector
