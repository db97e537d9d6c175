// Codegen's files stand on floors (docs/architecture.md): a file includes
// files of its own floor or below, never above, and no includes run in a
// circle.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace winscout::testing {
namespace {

namespace fs = std::filesystem;

// Each floor's files by stem, the lowest floor first.
constexpr std::string_view kFloors[] = {
    "literals template_text finder_texts var_name handle_text actions",  // literals, texts, words
    "stable_names search_plan finder_steps names",         // the plan
    "statements visual_basic finder_source",  // spelling, what emitters are given
    "cpp_emitter csharp_emitter python_emitter vb_emitter vba_emitter",
    "action_code send_message_code finder_language finder_code script"};  // on top

// The file's floor; -1 for none.
int FloorOf(const std::string& stem) {
  for (std::size_t floor = 0; floor < std::size(kFloors); ++floor) {
    if ((" " + std::string(kFloors[floor]) + " ").find(" " + stem + " ") !=
        std::string::npos) {
      return static_cast<int>(floor);
    }
  }
  return -1;
}

// A file's codegen includes, by stem (its own header left out).
std::set<std::string> Includes(const fs::path& file) {
  std::set<std::string> stems;
  std::ifstream in(file);
  const std::string mark = "#include \"codegen/";
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(mark) || !line.ends_with(".h\"")) continue;
    const std::string stem = line.substr(mark.size(), line.size() - mark.size() - 3);
    if (stem != file.stem().string()) stems.insert(stem);
  }
  return stems;
}

TEST(CodegenLayers, NoIncludeRunsUpAFloorOrInACircle) {
  std::map<std::string, std::set<std::string>> graph;
  for (const auto& entry : fs::directory_iterator(WINSCOUT_SOURCE_DIR "/codegen")) {
    const fs::path& file = entry.path();
    if (file.extension() != ".h" && file.extension() != ".cpp") continue;
    const std::string stem = file.stem().string();
    ASSERT_NE(FloorOf(stem), -1) << stem << " has no floor";
    for (const std::string& included : Includes(file)) {
      EXPECT_LE(FloorOf(included), FloorOf(stem)) << stem << " includes " << included;
      graph[stem].insert(included);
    }
  }
  // Depth first: a file met again while it is still being walked closes a circle.
  std::map<std::string, int> state;  // 1 being walked, 2 done
  std::function<void(const std::string&)> walk = [&](const std::string& stem) {
    state[stem] = 1;
    for (const std::string& next : graph[stem]) {
      EXPECT_NE(state[next], 1) << "a circle through " << stem << " and " << next;
      if (state[next] == 0) walk(next);
    }
    state[stem] = 2;
  };
  for (const auto& [stem, included] : graph) {
    if (state[stem] == 0) walk(stem);
  }
}

}  // namespace
}  // namespace winscout::testing
