#include "cli/snapshot.h"

#include "cli/arguments.h"
#include "cli/json_reader.h"
#include "cli/json_writer.h"
#include "codegen/actions.h"
#include "inspector/window_details.h"
#include "platform/case_blind.h"
#include "platform/text_pieces.h"

namespace winscout::cli {
namespace {

constexpr std::string_view kHeader = "WinScout snapshot 1";
constexpr int kStateTimeoutMs = 250;

std::optional<SelectionList> SelectionListOf(codegen::TargetKind kind,
                                             std::string_view class_name) {
  switch (kind) {
    case codegen::TargetKind::kComboBox:
      return SelectionList::kComboBox;
    case codegen::TargetKind::kListBox:
      return SelectionList::kListBox;
    case codegen::TargetKind::kListView:
      return SelectionList::kListView;
    case codegen::TargetKind::kTreeView:
      return SelectionList::kTreeView;
    default:
      if (SameIgnoringCase(class_name, "SysTabControl32"))
        return SelectionList::kTabControl;
      return std::nullopt;
  }
}

void Walk(const WindowSystem& windows, WindowHandle window, Snapshot& snapshot) {
  const std::optional<WindowFacts> facts = windows.Facts(window);
  if (!facts) return;
  WindowState state;
  state.handle = window;
  state.parent = facts->parent ? facts->parent : facts->owner;
  state.class_name = facts->class_name;
  state.text = windows.LiveText(window, kStateTimeoutMs).value_or(facts->title);
  state.rect = facts->window_rect;
  state.visible = facts->visible;
  state.enabled = facts->enabled;
  const codegen::TargetKind kind = codegen::KindOfTarget(facts->class_name, facts->style);
  if (kind == codegen::TargetKind::kCheckBox ||
      kind == codegen::TargetKind::kRadioButton) {
    state.checked = windows.ButtonChecked(window, kStateTimeoutMs);
  }
  if (const std::optional<SelectionList> list = SelectionListOf(kind, facts->class_name))
    state.selected = windows.SelectedIndex(window, *list, kStateTimeoutMs);
  snapshot.push_back(std::move(state));
  for (const WindowHandle child : windows.ChildWindows(window)) {
    Walk(windows, child, snapshot);
  }
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

std::string CheckedText(std::optional<bool> checked) {
  return checked ? (*checked ? "checked" : "unchecked") : "-";
}

std::string SelectedText(std::optional<int> selected) {
  if (!selected) return "-";
  if (*selected < 0) return "none";
  return (TextPieces() << "item " << *selected).Take();
}

// On one line, however many the text has.
std::string Quoted(std::string_view text) {
  return (TextPieces() << '"' << Escaped(text) << '"').Take();
}

std::string Name(const WindowState& window) {
  return (TextPieces() << inspector::Hex32(static_cast<std::uint32_t>(window.handle))
                       << ' ' << window.class_name << ' ' << Quoted(window.text))
      .Take();
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

void Note(TextPieces& out, std::string_view what, const std::string& before,
          const std::string& after) {
  if (before != after) out << "  " << what << ": " << before << " -> " << after << "\r\n";
}

std::string Place(const PixelRect& r) {
  return (TextPieces() << '(' << r.left << ", " << r.top << ')').Take();
}

std::string Size(const PixelRect& r) {
  return (TextPieces() << static_cast<long long>(r.right) - r.left << " x "
                       << static_cast<long long>(r.bottom) - r.top)
      .Take();
}

// The window's state in the snapshot, if it has the window. A plain search:
// even a crowded desktop's few thousand windows are compared at once.
const WindowState* Find(const Snapshot& snapshot, WindowHandle handle) {
  for (const WindowState& w : snapshot) {
    if (w.handle == handle) return &w;
  }
  return nullptr;
}

// A snapshot that `snapshot --json` wrote.
std::optional<Snapshot> SnapshotOfJson(const JsonValue& root) {
  using Kind = JsonValue::Kind;
  const auto is = [](const JsonValue* value, Kind kind) {
    return value && value->kind == kind;
  };
  const JsonValue* version = root.Field("version");
  const JsonValue* windows = root.Field("windows");
  if (!is(version, Kind::kNumber) || version->number != 1 || !is(windows, Kind::kArray))
    return std::nullopt;
  Snapshot snapshot;
  for (const JsonValue& window : windows->items) {
    const JsonValue* number[] = {window.Field("handle"), window.Field("parent")};
    const JsonValue* text[] = {window.Field("class"), window.Field("text")};
    const JsonValue* flag[] = {window.Field("visible"), window.Field("enabled")};
    const JsonValue* rect = window.Field("rect");
    const JsonValue* checked = window.Field("checked");
    const JsonValue* selected = window.Field("selected");
    if (!is(number[0], Kind::kNumber) || !is(number[1], Kind::kNumber) ||
        !is(text[0], Kind::kString) || !is(text[1], Kind::kString) ||
        !is(flag[0], Kind::kBool) || !is(flag[1], Kind::kBool) ||
        !is(rect, Kind::kArray) || rect->items.size() != 4 ||
        (checked && !is(checked, Kind::kBool)) ||
        (selected && !is(selected, Kind::kNumber))) {
      return std::nullopt;
    }
    std::int32_t sides[4];
    for (int i = 0; i < 4; ++i) {
      if (rect->items[i].kind != Kind::kNumber) return std::nullopt;
      sides[i] = static_cast<std::int32_t>(rect->items[i].number);
    }
    WindowState state{static_cast<WindowHandle>(number[0]->number),
                      static_cast<WindowHandle>(number[1]->number),
                      text[0]->text,
                      text[1]->text,
                      {sides[0], sides[1], sides[2], sides[3]},
                      flag[0]->boolean,
                      flag[1]->boolean};
    if (checked) state.checked = checked->boolean;
    if (selected) state.selected = static_cast<int>(selected->number);
    snapshot.push_back(std::move(state));
  }
  return snapshot;
}

}  // namespace

Snapshot TakeSnapshot(const WindowSystem& windows) {
  Snapshot snapshot;
  for (const TopLevelWindow& top : windows.TopLevelWindows()) {
    Walk(windows, top.window, snapshot);
  }
  return snapshot;
}

std::string SnapshotText(const Snapshot& snapshot) {
  TextPieces out;
  out << kHeader << "\r\n";
  for (const WindowState& w : snapshot) {
    out << w.handle << '\t' << w.parent << '\t' << Escaped(w.class_name) << '\t'
        << Escaped(w.text);
    for (const std::int32_t side :
         {w.rect.left, w.rect.top, w.rect.right, w.rect.bottom}) {
      out << '\t' << side;
    }
    out << '\t' << (w.visible ? '1' : '0') << '\t' << (w.enabled ? '1' : '0') << '\t'
        << (w.checked ? (*w.checked ? '1' : '0') : '-') << '\t';
    if (w.selected) {
      out << *w.selected;
    } else {
      out << '-';
    }
    out << "\r\n";
  }
  return out.Take();
}

std::optional<Snapshot> ReadSnapshot(std::string_view text) {
  if (text.starts_with('{')) {
    const std::optional<JsonValue> root = ReadJson(text);
    return root ? SnapshotOfJson(*root) : std::nullopt;
  }
  std::vector<std::string_view> lines = Split(text, '\n');
  if (lines.empty() || !lines[0].starts_with(kHeader)) return std::nullopt;
  Snapshot snapshot;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    const std::vector<std::string_view> f = Split(line, '\t');
    // Snapshots written before the selection have one field fewer.
    if (f.size() != 11 && f.size() != 12) return std::nullopt;
    const auto handle = ParseHandle(f[0]), parent = ParseHandle(f[1]);
    const auto left = ParseHandle(f[4]), top = ParseHandle(f[5]);
    const auto right = ParseHandle(f[6]), bottom = ParseHandle(f[7]);
    if (!handle || !parent || !left || !top || !right || !bottom) return std::nullopt;
    WindowState w{*handle,
                  *parent,
                  Unescaped(f[2]),
                  Unescaped(f[3]),
                  {*left, *top, *right, *bottom},
                  f[8] == "1",
                  f[9] == "1"};
    if (f[10] != "-") w.checked = f[10] == "1";
    if (f.size() == 12 && f[11] != "-") {
      const std::optional<WindowHandle> selected = ParseHandle(f[11]);
      if (!selected) return std::nullopt;
      w.selected = *selected;
    }
    snapshot.push_back(std::move(w));
  }
  return snapshot;
}

std::string SnapshotJson(const Snapshot& snapshot) {
  JsonWriter json;
  json.BeginObject();
  json.Key("version");
  json.Number(1);
  json.Key("windows");
  json.BeginArray();
  for (const WindowState& w : snapshot) {
    json.BeginObject();
    json.Key("handle");
    json.Number(w.handle);
    json.Key("parent");
    json.Number(w.parent);
    json.Key("class");
    json.String(w.class_name);
    json.Key("text");
    json.String(w.text);
    json.Key("rect");
    json.BeginArray();
    for (const std::int32_t side :
         {w.rect.left, w.rect.top, w.rect.right, w.rect.bottom}) {
      json.Number(side);
    }
    json.EndArray();
    json.Key("visible");
    json.Bool(w.visible);
    json.Key("enabled");
    json.Bool(w.enabled);
    if (w.checked) {
      json.Key("checked");
      json.Bool(*w.checked);
    }
    if (w.selected) {
      json.Key("selected");
      json.Number(*w.selected);
    }
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Text() + "\r\n";
}

std::string CompareSnapshots(const Snapshot& before, const Snapshot& after) {
  TextPieces out;
  for (const WindowState& w : before) {
    if (!Find(after, w.handle)) out << "vanished " << Name(w) << "\r\n";
  }
  for (const WindowState& w : after) {
    const WindowState* found = Find(before, w.handle);
    if (!found) {
      out << "appeared " << Name(w) << "\r\n";
      continue;
    }
    const WindowState& old = *found;
    if (old == w) continue;
    out << "changed " << Name(w) << "\r\n";
    Note(out, "text", Quoted(old.text), Quoted(w.text));
    Note(out, "place", Place(old.rect), Place(w.rect));
    Note(out, "size", Size(old.rect), Size(w.rect));
    Note(out, "visible", YesNo(old.visible), YesNo(w.visible));
    Note(out, "enabled", YesNo(old.enabled), YesNo(w.enabled));
    Note(out, "checked", CheckedText(old.checked), CheckedText(w.checked));
    Note(out, "selection", SelectedText(old.selected), SelectedText(w.selected));
  }
  return out.Take();
}

}  // namespace winscout::cli
