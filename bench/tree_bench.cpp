// The command line's tree of a desktop with 5,000 extra windows, as JSON with
// every window's details, against a plain walk that reads each window's
// facts once: what the writing costs over the reading.

#include <benchmark/benchmark.h>

#include "cli/window_json.h"
#include "inspector/desktop_tree.h"
#include "platform/model/window_tree.h"

namespace winscout {
namespace {

constexpr int kTops = 50;
constexpr int kChildrenEach = 99;  // with their tops, 5,000 windows

model::WindowTree& Desktop() {
  static model::WindowTree tree = [] {
    model::WindowTree t;
    for (int i = 0; i < kTops; ++i) {
      const WindowHandle top =
          t.AddTopLevel({.class_name = "Main",
                         .text = "Window \"" + std::to_string(i) + "\"",
                         .rect = {0, 0, 400, 300},
                         .process_id = std::uint32_t(100 + i % 7)});
      for (int c = 0; c < kChildrenEach; ++c) {
        t.AddChild(top, {.class_name = "Edit",
                         .text = "text\t" + std::to_string(c),
                         .rect = {c, 10, c + 50, 30},
                         .id = c});
      }
    }
    return t;
  }();
  return tree;
}

void Walk(const WindowSystem& windows, WindowHandle window, std::size_t& read) {
  benchmark::DoNotOptimize(windows.Facts(window));
  ++read;
  for (const WindowHandle child : windows.ChildWindows(window))
    Walk(windows, child, read);
}

void PlainWalk(benchmark::State& state) {
  const model::WindowTree& windows = Desktop();
  std::size_t read = 0;
  for (auto _ : state) {
    read = 0;
    for (const TopLevelWindow& top : windows.TopLevelWindows())
      Walk(windows, top.window, read);
  }
  state.counters["windows"] = static_cast<double>(read);
}

void TreeAsJson(benchmark::State& state) {
  const model::WindowTree& windows = Desktop();
  std::size_t bytes = 0;
  for (auto _ : state) {
    inspector::DesktopTree tree(windows);
    tree.Reload();
    bytes = cli::TreeJson(tree, windows).size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(PlainWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeAsJson)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace winscout
