#include "platform/win32/fatal_error.h"

namespace winscout::win32 {

void ExitWithError(const char* text) {
  MessageBoxA(nullptr, text, "WinScout", MB_OK | MB_ICONERROR);
  ExitProcess(1);
}

void ExitWithFailedCall(const char* call, DWORD code) {
  char text[256];
  wsprintfA(text, "%s failed (error %lu).", call, code);
  ExitWithError(text);
}

}  // namespace winscout::win32
