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
  std::string out;
  for (const TreeItem& process : tree.Roots()) {
    out += process.text + "\r\n";
    WriteTextItems(out, tree, memo, process.key, "    ");
  }
  return out;
}

}  // namespace winscout::cli
