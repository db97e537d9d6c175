// How finder-code generation grows with the number of searches the code
// makes. Each case reports the time per search (or per level); it stays flat
// across sizes when generation is linear.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <variant>

#include "codegen/finder_code.h"
#include "platform/model/window_tree.h"

namespace winscout {
namespace {

using model::OwnedStyle;
using model::WindowTree;

// Generates code for the target on every iteration and reports the time per
// unit of work (a search, or a level); a text without the expected number of
// lines makes the case fail.
void MeasureGeneration(benchmark::State& state, const WindowTree& tree,
                       WindowHandle target, std::int64_t expected_lines,
                       const char* count_name, const char* per_name, std::int64_t units) {
  const std::string handle_text = std::to_string(target);
  const codegen::FinderResult first = codegen::GenerateFinderCode(handle_text, tree);
  const auto* code = std::get_if<codegen::FinderCode>(&first);
  std::int64_t lines = 0;
  if (code != nullptr) {
    for (std::size_t at = code->text.find('\n'); at != std::string::npos;
         at = code->text.find('\n', at + 1)) {
      ++lines;
    }
    ++lines;
  }
  if (lines != expected_lines) {
    state.SkipWithError("the code does not have the expected number of lines");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(codegen::GenerateFinderCode(handle_text, tree));
  }
  state.counters[count_name] = static_cast<double>(units);
  state.counters[per_name] = benchmark::Counter(
      static_cast<double>(units),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A dialog with N Edit children among N Button children; the target is the
// last Edit, the N-th of its class.
void NthSiblingOfItsClass(benchmark::State& state) {
  const auto n = state.range(0);
  WindowTree tree;
  const WindowHandle dialog = tree.AddChild(
      tree.AddTopLevel({.class_name = "Main_Frame2"}), {.class_name = "#32770"});
  WindowHandle target = 0;
  for (std::int64_t i = 0; i < n; ++i) {
    tree.AddChild(dialog, {.class_name = "Button"});
    target = tree.AddChild(dialog, {.class_name = "Edit"});
  }
  // Three declarations; a top-level search, a first search, N Edit searches.
  MeasureGeneration(state, tree, target, 3 + n + 2, "searches", "per_search", n + 2);
}
BENCHMARK(NthSiblingOfItsClass)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMicrosecond);

// D nested windows, each the first child of its class; classes repeat so that
// variable names need numbers.
void ChainOfLevels(benchmark::State& state) {
  const auto depth = state.range(0);
  constexpr const char* kClasses[] = {"Edit", "#32770", "Static", "Afx:400000:8"};
  WindowTree tree;
  WindowHandle target = tree.AddTopLevel({.class_name = "Main_Frame2"});
  for (std::int64_t level = 1; level < depth; ++level) {
    target = tree.AddChild(target, {.class_name = kClasses[level % 4]});
  }
  MeasureGeneration(state, tree, target, 2 * depth, "searches", "per_search", depth);
}
BENCHMARK(ChainOfLevels)
    ->Arg(50)
    ->Arg(150)
    ->Arg(500)
    ->Arg(1500)
    ->Arg(5000)
    ->Unit(benchmark::kMicrosecond);

// N top-level windows of the target's class among N of another class; the
// target is the oldest, the N-th that the top-level searches meet.
void NthTopLevelOfItsClass(benchmark::State& state) {
  const auto n = state.range(0);
  WindowTree tree;
  const WindowHandle target = tree.AddTopLevel({.class_name = "WsApp"});
  tree.AddTopLevel({.class_name = "Other"});
  for (std::int64_t i = 1; i < n; ++i) {
    tree.AddTopLevel({.class_name = "WsApp"});
    tree.AddTopLevel({.class_name = "Other"});
  }
  MeasureGeneration(state, tree, target, 1 + n, "searches", "per_search", n);
}
BENCHMARK(NthTopLevelOfItsClass)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMicrosecond);

// D pop-ups, each owned by the one before: every level restarts with a
// top-level search for its own class, so the code is two lines whatever D is;
// the work is counted per level.
void ChainOfOwnedPopups(benchmark::State& state) {
  const auto depth = state.range(0);
  WindowTree tree;
  WindowHandle target = tree.AddTopLevel({.class_name = "Main_Frame2"});
  for (std::int64_t level = 1; level < depth; ++level) {
    target = tree.AddOwned(target, {.class_name = "#32770"}, OwnedStyle::kPopup);
  }
  MeasureGeneration(state, tree, target, 2, "levels", "per_level", depth);
}
BENCHMARK(ChainOfOwnedPopups)
    ->Arg(50)
    ->Arg(150)
    ->Arg(500)
    ->Arg(1500)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace winscout
