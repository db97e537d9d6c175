// How long planning the finder code takes on real windows under Wine (or
// Windows) when the target is the last of many same-class siblings in another
// process, as after a drop. Planning enumerates the siblings once; the
// successive FindWindowEx calls that the code itself makes are timed beside
// it, as each of those walks the siblings from the start.
//
//   win32_plan_bench            prints the figures for 2,000 and 8,000 siblings
//   win32_plan_bench make N     (the other process) makes the windows

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "codegen/finder_code.h"
#include "platform/win32/handle_conversion.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_window_system.h"
#include "platform/win32/window_class.h"

namespace winscout {
namespace {

using Clock = std::chrono::steady_clock;
using ProcessHandle = win32::UniqueHandle<HANDLE, &CloseHandle>;

constexpr wchar_t kParentClass[] = L"WsBenchParent";
constexpr wchar_t kSiblingClass[] = L"WsBenchSibling";
constexpr int kRuns = 3;

// Makes the parent and its children, says the parent's handle, and lives
// until its input closes.
int MakeWindows(int siblings) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const win32::WindowClass parent_class(instance, kParentClass, DefWindowProcW);
  const win32::WindowClass sibling_class(instance, kSiblingClass, DefWindowProcW);
  const HWND parent = CreateWindowExW(0, kParentClass, L"", WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < siblings; ++i) {
    CreateWindowExW(0, kSiblingClass, L"", WS_CHILD, 0, 0, 1, 1, parent, nullptr,
                    instance, nullptr);
  }
  std::printf("%d\n", win32::ToHandle(parent));
  std::fflush(stdout);
  char rest[16];
  while (std::fread(rest, 1, sizeof rest, stdin) > 0) {
  }
  DestroyWindow(parent);
  return 0;
}

double MedianMs(std::vector<double> times) {
  std::ranges::sort(times);
  return times[times.size() / 2];
}

template <typename Work>
double Time(Work work, int runs = kRuns) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return MedianMs(times);
}

bool Measure(int siblings) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out_read = nullptr, out_write = nullptr, in_read = nullptr, in_write = nullptr;
  if (!CreatePipe(&out_read, &out_write, &inherit, 0) ||
      !CreatePipe(&in_read, &in_write, &inherit, 0)) {
    return false;
  }
  const ProcessHandle own_out_read(out_read), own_out_write(out_write),
      own_in_read(in_read);
  ProcessHandle own_in_write(in_write);
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command =
      L"\"" + std::wstring(self) + L"\" make " + std::to_wstring(siblings);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  const ProcessHandle own_process(process.hProcess), own_thread(process.hThread);
  std::string line;
  char c = 0;
  DWORD read = 0;
  while (ReadFile(out_read, &c, 1, &read, nullptr) && read == 1 && c != '\n') line += c;
  const WindowHandle parent = std::atoi(line.c_str());

  const win32::Win32WindowSystem windows;
  const std::vector<WindowHandle> children =
      windows.ChildrenOfClass(parent, "WsBenchSibling");
  if (parent == 0 || children.size() != static_cast<std::size_t>(siblings)) return false;
  const std::string target = std::to_string(children.back());
  // The target's level takes one search per sibling up to it.
  bool planned = true;
  const double plan_ms = Time([&] {
    const codegen::FinderPlanResult result = codegen::PlanFinderCode(target, windows);
    const auto* plan = std::get_if<codegen::SearchPlan>(&result);
    planned = planned && plan && plan->levels.back().calls == siblings;
  });
  const double replay_ms = Time(
      [&] {
        for (WindowHandle w = windows.FindChild(parent, 0, "WsBenchSibling"); w != 0;
             w = windows.FindChild(parent, w, "WsBenchSibling")) {
        }
      },
      1);
  std::printf(
      "last of %5d siblings: plan %8.1f ms; the code's %d FindWindowEx calls %8.1f ms\n",
      siblings, plan_ms, siblings, replay_ms);
  own_in_write.reset();
  WaitForSingleObject(process.hProcess, 30000);
  return planned;
}

}  // namespace
}  // namespace winscout

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "make") {
    return winscout::MakeWindows(std::atoi(argv[2]));
  }
  bool ok = true;
  for (int siblings : {2000, 8000}) ok = winscout::Measure(siblings) && ok;
  return ok ? 0 : 1;
}
