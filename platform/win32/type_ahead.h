#pragma once

#include <windows.h>

namespace winscout::win32 {

// Takes a typed character for an edit control (a WM_CHAR just retrieved)
// together with the characters typed after it that are already waiting, and
// puts them in as one change, as if typed at once. A multi-line edit redraws
// both its scroll bars on every change, which on a themed desktop costs
// several times what the character does; keys that come faster than that are
// so taken together instead of falling ever further behind. The run ends at
// the first key that does more than type (Ctrl, Alt, Backspace, the arrows,
// ...), which stays queued. Returns false, leaving the message to be
// dispatched as usual, when there is nothing to take together.
bool TypeAhead(const MSG& typed);

}  // namespace winscout::win32
