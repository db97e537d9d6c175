#include "cli/commands.h"

#include <algorithm>
#include <variant>

#include "cli/arguments.h"
#include "cli/snapshot.h"
#include "cli/window_json.h"
#include "codegen/finder_code.h"
#include "inspector/desktop_tree.h"
#include "inspector/window_details.h"
#include "inspector/window_inspector.h"
#include "platform/text_pieces.h"

namespace winscout::cli {
namespace {

// A failure of the command: its line for standard error.
struct Failed {
  std::string text;
};

std::variant<WindowHandle, Failed> FindByPath(const WindowSystem& windows,
                                              const std::vector<std::string>& path) {
  WindowHandle window = 0;
  std::string walked;
  // Each level as the finder code finds it: the first window of the class
  // (and title) among the top-level windows, then among the children.
  for (const std::string& piece : path) {
    const std::size_t bar = piece.find('|');
    const std::string_view class_name = std::string_view(piece).substr(0, bar);
    walked += (walked.empty() ? "\"" : " \"") + piece + "\"";
    window = bar == std::string::npos
                 ? windows.FindChild(window, 0, class_name)
                 : windows.FindChildWithTitle(window, 0, class_name,
                                              std::string_view(piece).substr(bar + 1));
    if (window == 0) return Failed{"no window found at " + walked};
  }
  return window;
}

std::variant<WindowHandle, Failed> FindWindow(const WindowSystem& windows,
                                              const WindowChoice& choice) {
  WindowHandle window = 0;
  if (choice.at) {
    window = windows.WindowAt(*choice.at);
    if (window == 0) {
      return Failed{"no window at " + DecimalText(choice.at->x) + "," +
                    DecimalText(choice.at->y)};
    }
  } else if (choice.handle) {
    window = *choice.handle;
  } else {
    auto found = FindByPath(windows, choice.path);
    if (std::holds_alternative<Failed>(found)) return found;
    window = std::get<WindowHandle>(found);
  }
  if (!windows.Facts(window)) {
    return Failed{inspector::HandleText(window) + " is not a window"};
  }
  return window;
}

std::string DetailsText(const WindowSystem& windows, WindowHandle window) {
  std::string out;
  for (const inspector::DetailLine& line :
       inspector::DescribeWindowDetails(windows, window)) {
    out += inspector::CopyText(line) + "\r\n";
  }
  for (const std::string& line : inspector::DescribeWindow(windows, window)) {
    out += line + "\r\n";
  }
  return out;
}

std::string DetailsJson(const WindowSystem& windows, WindowHandle window) {
  JsonWriter json;
  json.BeginObject();
  json.Key("version");
  json.Number(1);
  inspector::FactsMemo memo(windows);
  WriteWindowFields(json, memo, window);
  json.Key("report");
  json.BeginArray();
  for (const std::string& line : inspector::DescribeWindow(windows, window)) {
    json.String(line);
  }
  json.EndArray();
  json.EndObject();
  return json.Text() + "\r\n";
}

// The code box's text for the window with these choices, from the same
// generator that fills the code box.
std::variant<std::string, Failed> Code(const Command& command,
                                       const WindowSystem& windows, WindowHandle window) {
  const std::optional<WindowFacts> facts = windows.Facts(window);
  const codegen::TargetKind kind =
      facts ? codegen::KindOfTarget(facts->class_name, facts->style)
            : codegen::TargetKind::kOther;
  const std::vector<codegen::Action> offered = codegen::ActionsFor(kind);
  if (std::ranges::find(offered, command.action) == offered.end()) {
    return Failed{"the action " + std::string(codegen::ActionName(command.action)) +
                  " does not fit the window"};
  }
  codegen::FinderPlanResult planned =
      codegen::PlanFinderCode(DecimalText(window), windows);
  if (const auto* message = std::get_if<codegen::FinderMessage>(&planned)) {
    return Failed{std::string(message->text)};
  }
  const auto* plan = std::get_if<codegen::SearchPlan>(&planned);
  if (!plan) return Failed{inspector::HandleText(window) + " is not a window"};
  codegen::FinderStyle style = command.style;
  style.action = codegen::PlanAction(command.action, kind, command.style.action.wait);
  if (command.text) style.action.text = *command.text;
  return codegen::EmitFinderCode(*plan, command.language, style) + "\r\n";
}

std::variant<std::string, Failed> Compare(const Command& command,
                                          const Console& console) {
  Snapshot snapshots[2];
  const std::string* paths[] = {&command.before, &command.after};
  for (int i = 0; i < 2; ++i) {
    const std::optional<std::string> text = console.ReadFile(*paths[i]);
    if (!text) return Failed{"cannot read " + *paths[i]};
    std::optional<Snapshot> read = ReadSnapshot(*text);
    if (!read) return Failed{*paths[i] + " is not a snapshot"};
    snapshots[i] = std::move(*read);
  }
  return CompareSnapshots(snapshots[0], snapshots[1]);
}

std::variant<std::string, Failed> Answer(const Command& command,
                                         const WindowSystem& windows,
                                         const Console& console) {
  switch (command.verb) {
    case Verb::kHelp:
      return HelpText();
    case Verb::kTree: {
      inspector::FactsMemo memo(windows);
      inspector::DesktopTree tree(memo);
      tree.Reload();
      if (!command.filter.empty()) {
        tree.SetFilter(command.filter);
        while (tree.ReadNext()) {
        }
      }
      return command.json ? TreeJson(tree, memo) : TreeText(tree, memo);
    }
    case Verb::kDetails:
    case Verb::kCode: {
      const auto found = FindWindow(windows, command.window);
      if (const auto* failed = std::get_if<Failed>(&found)) return *failed;
      const WindowHandle window = std::get<WindowHandle>(found);
      if (command.verb == Verb::kCode) return Code(command, windows, window);
      return command.json ? DetailsJson(windows, window) : DetailsText(windows, window);
    }
    case Verb::kSnapshot: {
      const Snapshot snapshot = TakeSnapshot(windows);
      return command.json ? SnapshotJson(snapshot) : SnapshotText(snapshot);
    }
    case Verb::kCompare:
      return Compare(command, console);
  }
  return std::string();
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, const WindowSystem& windows,
               Console& console) {
  const auto parsed = ParseArguments(args);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    console.Err("winscout: " + error->text + " (winscout --help lists the commands)\r\n");
    return kUsage;
  }
  const auto answer = Answer(std::get<Command>(parsed), windows, console);
  if (const auto* failed = std::get_if<Failed>(&answer)) {
    console.Err("winscout: " + failed->text + "\r\n");
    return kNotFound;
  }
  console.Out(std::get<std::string>(answer));
  return kDone;
}

}  // namespace winscout::cli
