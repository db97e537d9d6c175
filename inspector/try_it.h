#pragma once

#include <string>

#include "codegen/actions.h"
#include "codegen/send_message_code.h"
#include "platform/window_system.h"

namespace winscout::inspector {

// What doing the action on a window gives: a line to show, or the reason it
// failed.
struct ActionOutcome {
  bool done = false;
  std::string text;
};

// Does the action to the window through the window system, as the code
// would; the outcome says what was read or done.
ActionOutcome PerformAction(const codegen::ActionPlan& plan, WindowHandle target,
                            WindowSystem& windows);

// Sends or posts the message to the window through the window system, as
// the code would (a child's handle found by its ID, 0 where there is none).
ActionOutcome PerformSend(const codegen::MessageToSend& message, WindowHandle target,
                          WindowSystem& windows);

}  // namespace winscout::inspector
