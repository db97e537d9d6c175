#pragma once

#include <windows.h>

namespace winscout::win32 {

// The end of a program that cannot go on: a window it needs cannot be made,
// or the C++ runtime is asked for the impossible. Shows `text` in a message
// box titled "WinScout" and ends the process with exit code 1. One function
// instead of exceptions, so that winscout.exe does without the runtime's
// unwinder and the tables it reads (a tenth of the program).
[[noreturn]] void ExitWithError(const char* text);

// Ends the program with "CALL failed (error CODE).", the code being the one
// the failed Windows call left.
[[noreturn]] void ExitWithFailedCall(const char* call, DWORD code = GetLastError());

}  // namespace winscout::win32
