#include "cli/window_json.h"

#include "inspector/window_details.h"

namespace winscout::cli {
namespace {

constexpr int kJsonVersion = 1;

std::vector<inspector::DetailLine> Details(inspector::FactsMemo& memo,
                                           WindowHandle window) {
  std::vector<inspector::DetailLine> lines =
      inspector::DescribeWindowDetails(memo, window);
  return lines.empty() ? inspector::DescribeGoneWindow(window) : lines;
}

void ListWindows(const inspector::DesktopTree& tree, TreeItemKey parent,
                 std::vector<WindowHandle>& windows) {
  for (const TreeItem& item : tree.Children(parent)) {
    if (const std::optional<WindowHandle> window = inspector::WindowOfKey(item.key))
      windows.push_back(*window);
    ListWindows(tree, item.key, windows);
  }
}

// Every window's live text is read before the first is written: read
// together, they take the time of a few.
void ReadTextsAhead(const inspector::DesktopTree& tree, inspector::FactsMemo& memo) {
  std::vector<WindowHandle> windows;
  for (const TreeItem& process : tree.Roots()) ListWindows(tree, process.key, windows);
  memo.ReadTextsAhead(windows, inspector::kLiveTextTimeoutMs);
}

void WriteItems(JsonWriter& json, const inspector::DesktopTree& tree,
                inspector::FactsMemo& memo, TreeItemKey parent) {
  json.Key("windows");
  json.BeginArray();
  for (const TreeItem& item : tree.Children(parent)) {
    const std::optional<WindowHandle> window = inspector::WindowOfKey(item.key);
    if (!window) continue;
    json.BeginObject();
    WriteWindowFields(json, memo, *window);
    WriteItems(json, tree, memo, item.key);
    json.EndObject();
  }
  json.EndArray();
}

void WriteTextItems(std::string& out, const inspector::DesktopTree& tree,
                    inspector::FactsMemo& memo, TreeItemKey parent,
                    const std::string& indent) {
  for (const TreeItem& item : tree.Children(parent)) {
    const std::optional<WindowHandle> window = inspector::WindowOfKey(item.key);
    if (!window) continue;
    out += indent + item.text + "\r\n";
    for (const inspector::DetailLine& line : Details(memo, *window)) {
      out += indent + "  | " + inspector::CopyText(line) + "\r\n";
    }
    WriteTextItems(out, tree, memo, item.key, indent + "    ");
  }
}

}  // namespace

void WriteWindowFields(JsonWriter& json, inspector::FactsMemo& memo,
                       WindowHandle window) {
  const std::vector<inspector::DetailLine> lines = Details(memo, window);
  // The class and title as the details read them, not read again.
  const auto value = [&lines](std::string_view name) {
    for (const inspector::DetailLine& line : lines) {
      if (line.name == name) return std::string_view(line.value);
    }
    return std::string_view();
  };
  json.Key("handle");
  json.Number(window);
  json.Key("class");
  json.String(value("Class"));
  json.Key("title");
  json.String(value("Title"));
  json.Key("details");
  json.BeginArray();
  for (const inspector::DetailLine& line : lines) {
    json.BeginObject();
    json.Key("name");
    json.String(line.name);
    json.Key("value");
    json.String(line.value);
    json.EndObject();
  }
  json.EndArray();
}

std::string TreeJson(const inspector::DesktopTree& tree, inspector::FactsMemo& memo) {
  ReadTextsAhead(tree, memo);
  JsonWriter json;
  json.BeginObject();
  json.Key("version");
  json.Number(kJsonVersion);
  json.Key("processes");
  json.BeginArray();
  for (const TreeItem& process : tree.Roots()) {
    json.BeginObject();
    json.Key("process_id");
    json.Number(process.key - inspector::ProcessKey(0));
    json.Key("name");
    json.String(process.text);
    WriteItems(json, tree, memo, process.key);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Text() + "\r\n";
}

std::string TreeText(const inspector::DesktopTree& tree, inspector::FactsMemo& memo) {
  ReadTextsAhead(tree, memo);
  std::string out;
  for (const TreeItem& process : tree.Roots()) {
    out += process.text + "\r\n";
    WriteTextItems(out, tree, memo, process.key, "    ");
  }
  return out;
}

}  // namespace winscout::cli
