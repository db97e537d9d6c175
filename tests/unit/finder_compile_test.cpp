// The finder code of every language goes through that language's own
// compiler: C++ through MinGW-w64 against the Windows headers, C# through
// mcs, Python through python3, which also runs it against a fake user32 that
// answers from the desktop the code was made for. Each compiler sees a whole
// batch of snippets at once, so that the suite takes seconds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "codegen/actions.h"
#include "codegen/finder_code.h"
#include "codegen/finder_language.h"
#include "codegen/send_message_code.h"
#include "platform/model/window_tree.h"
#include "tests/support/forwarding_windows.h"
#include "tests/support/order_flow.h"
#include "tests/support/random_desktop.h"

namespace winscout::testing {
namespace {

namespace fs = std::filesystem;
using codegen::EmitFinderCode;
using codegen::FinderLanguage;
using codegen::SearchPlan;
using model::WindowSpec;
using model::WindowTree;

constexpr std::string_view kCppCompiler = "x86_64-w64-mingw32-g++-posix";
constexpr std::string_view kCSharpCompiler = "mcs";
constexpr std::string_view kPython = "python3";

// Finder code to check: the plan, the desktop it runs on, and the window
// that the variable set last must hold afterwards (0: none).
struct Snippet {
  std::string name;
  SearchPlan plan;
  codegen::SearchWay way = codegen::SearchWay::kPosition;
  std::string desktop;
  WindowHandle expected = 0;
  // Code that acts on the window: the action, and the effects that the
  // Python replay must see instead of the window found.
  codegen::ActionPlan action;
  std::string effects;
  // How many sends the windows answer before they go away (-1: all).
  int sends = -1;
  // Code of its own (a script) rather than the plan's.
  std::string code;
};

std::string Hex(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xf];
  }
  return hex;
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') json += '\\';
    json += c;
  }
  return json + "\"";
}

std::string FoldCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// What FindWindowEx finds, one window after the other, under each parent (0
// for the top-level windows) for each class: all that the snippets can ask.
std::string DesktopJson(const WindowSystem& windows,
                        const std::vector<WindowHandle>& all) {
  std::map<std::string, std::string> classes;  // one spelling per folded class
  for (WindowHandle window : all) {
    const std::string class_name = windows.ClassName(window, 1024);
    classes.emplace(FoldCase(class_name), class_name);
  }
  std::vector<WindowHandle> parents = {0};
  parents.insert(parents.end(), all.begin(), all.end());
  std::string json =
      "{\"desktop\": " + std::to_string(windows.DesktopWindow()) + ", \"searches\": [";
  bool first = true;
  for (WindowHandle parent : parents) {
    for (const auto& [folded, class_name] : classes) {
      std::vector<WindowHandle> found;
      for (WindowHandle w = windows.FindChild(parent, 0, class_name);
           w != 0 && found.size() <= all.size();
           w = windows.FindChild(parent, w, class_name)) {
        found.push_back(w);
      }
      if (found.empty()) continue;
      json += first ? "\n" : ",\n";
      first = false;
      json += "{\"parent\": " + std::to_string(parent) + ", \"class\": \"" +
              Hex(class_name) + "\", \"found\": [";
      for (std::size_t i = 0; i < found.size(); ++i) {
        json += (i ? ", " : "") + std::to_string(found[i]);
      }
      json += "]}";
    }
  }
  json += "],\n\"windows\": [";
  first = true;
  std::vector<WindowHandle> order;
  for (const TopLevelWindow& top : windows.TopLevelWindows()) order.push_back(top.window);
  for (WindowHandle parent : all) {
    for (WindowHandle child : windows.ChildWindows(parent)) order.push_back(child);
  }
  for (WindowHandle window : order) {
    if (std::ranges::find(all, window) == all.end()) continue;
    const WindowHandle parent = windows.Facts(window)->parent;
    json += std::string(first ? "\n" : ",\n") + "{\"handle\": " + std::to_string(window) +
            ", \"parent\": " + std::to_string(parent) + ", \"class\": \"" +
            Hex(windows.ClassName(window, 1024)) + "\", \"title\": \"" +
            Hex(windows.WindowText(window, 1024)) +
            "\", \"id\": " + std::to_string(windows.ControlId(window));
    if (windows.ButtonChecked(window, 0) == true) json += ", \"checked\": 1";
    const auto items = windows.Items(window, ItemList::kListBox, 0);
    for (std::size_t i = 0; items && i < items->size(); ++i) {
      json += (i ? "\", \"" : ", \"items\": [\"") + Hex((*items)[i][0]) +
              (i + 1 == items->size() ? "\"]" : "");
    }
    json += "}";
    first = false;
  }
  return json + "]}";
}

struct Batch {
  std::map<std::string, std::string> desktops;  // name -> JSON
  std::vector<Snippet> snippets;
  // The C++ is compiled as C++14 too, the last standard with trigraphs.
  bool trigraphs = false;

  void AddDesktop(const std::string& name, const WindowSystem& windows,
                  const std::vector<WindowHandle>& all) {
    desktops[name] = DesktopJson(windows, all);
  }

  // The code for the target as planned on `windows`.
  void AddSnippet(const std::string& desktop, const WindowSystem& windows,
                  WindowHandle target, WindowHandle expected) {
    auto planned = codegen::PlanFinderCode(std::to_string(target), windows);
    const std::string name = desktop + " target " + std::to_string(target);
    const SearchPlan& plan = std::get<SearchPlan>(planned);
    snippets.push_back({name, plan, codegen::SearchWay::kPosition, desktop, expected});
    snippets.push_back({name + " by ID and title", plan, codegen::SearchWay::kIdAndTitle,
                        desktop, expected});
  }

  // The desktop, and the code for each of its windows, which must find it.
  void AddEveryWindow(const std::string& name, const WindowSystem& windows,
                      const std::vector<WindowHandle>& all) {
    AddDesktop(name, windows, all);
    for (WindowHandle target : all) AddSnippet(name, windows, target, target);
  }
};

// The variable that the code's last line sets.
std::string LastVariable(std::string_view code) {
  std::string_view line = code.substr(code.rfind('\n') + 1);
  line = line.substr(0, line.find(" = "));
  return std::string(line.substr(line.rfind(' ') + 1));
}

void WriteFile(const fs::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// The compilers write into a directory of the test's own, which stays behind
// for a look when the test fails.
class FinderCompileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::string_view tool : {kCppCompiler, kCSharpCompiler, kPython}) {
      ASSERT_EQ(std::system(("command -v " + std::string(tool) + " > /dev/null").c_str()),
                0)
          << tool << " is missing (Debian packages g++-mingw-w64-x86-64-posix, "
          << "mono-mcs, python3)";
    }
    std::random_device random;
    dir_ = fs::temp_directory_path() /
           ("winscout-finder-" + std::to_string(random()) + std::to_string(random()));
    ASSERT_TRUE(fs::create_directory(dir_)) << dir_;
  }

  void TearDown() override {
    if (HasFailure()) {
      std::cout << "the files are in " << dir_.string() << '\n';
    } else {
      fs::remove_all(dir_);
    }
  }

  // Why the command failed, or success. Its output goes to the file.
  ::testing::AssertionResult Run(const std::string& command,
                                 const fs::path& output) const {
    const int status =
        std::system((command + " > '" + output.string() + "' 2>&1").c_str());
    if (status == 0) return ::testing::AssertionSuccess();
    std::string text = ReadFile(output);
    constexpr std::size_t kShown = 6000;
    if (text.size() > kShown) text = text.substr(0, kShown) + "\n...";
    return ::testing::AssertionFailure() << command << "\n" << text;
  }

  // Writes the source and gives the commands that check it.
  std::vector<std::string> CppCommands(const Batch& batch) const {
    // What the pattern helper needs beyond the Windows headers.
    std::string source =
        "#include <windows.h>\r\n#include <cwchar>\r\n#include <string>\r\n";
    for (std::size_t i = 0; i < batch.snippets.size(); ++i) {
      const Snippet& snippet = batch.snippets[i];
      const std::string code =
          EmitFinderCode(snippet.plan, FinderLanguage::kCpp, {snippet.way});
      source += "\r\n// " + snippet.name + "\r\nHWND Find" + std::to_string(i) +
                "() {\r\n" + code + "\r\nreturn " + LastVariable(code) + ";\r\n}\r\n";
    }
    const fs::path file = dir_ / "finder.cpp";
    WriteFile(file, source);
    // A level that no search reached leaves the one above unused; what the
    // windows are for is up to the program the code goes into.
    std::vector<std::string> standards = {"c++20"};
    if (batch.trigraphs) standards.push_back("c++14");
    std::vector<std::string> commands;
    for (const std::string& standard : standards) {
      commands.push_back(std::string(kCppCompiler) + " -std=" + standard +
                         " -fsyntax-only -Wall -Wextra -Werror -Wno-unused-variable '" +
                         file.string() + "'");
    }
    return commands;
  }

  std::string CSharpCommand(const Batch& batch) const {
    std::string source;
    for (std::size_t i = 0; i < batch.snippets.size(); ++i) {
      const Snippet& snippet = batch.snippets[i];
      source += "// " + snippet.name + "\r\nstatic class Finder" + std::to_string(i) +
                "\r\n{\r\n" +
                EmitFinderCode(snippet.plan, FinderLanguage::kCSharp, {snippet.way}) +
                "\r\n}\r\n";
    }
    const fs::path file = dir_ / "finder.cs";
    WriteFile(file, source);
    // CS0219, a variable set and never read: as for C++ above.
    return std::string(kCSharpCompiler) +
           " -target:library -warnaserror+ -nowarn:219 -nologo -out:'" +
           (dir_ / "finder.dll").string() + "' '" + file.string() + "'";
  }

  std::string PythonCommand(const Batch& batch) const {
    std::string manifest = "{\"desktops\": {";
    bool first = true;
    for (const auto& [name, json] : batch.desktops) {
      manifest += (first ? "\n" : ",\n") + JsonString(name) + ": " + json;
      first = false;
    }
    manifest += "},\n\"snippets\": [";
    for (std::size_t i = 0; i < batch.snippets.size(); ++i) {
      const Snippet& snippet = batch.snippets[i];
      const std::string file = "finder" + std::to_string(i) + ".py";
      WriteFile(dir_ / file,
                !snippet.code.empty()
                    ? snippet.code
                    : EmitFinderCode(snippet.plan, FinderLanguage::kPython,
                                     {.way = snippet.way, .action = snippet.action}));
      manifest += (i ? ",\n" : "\n") + std::string("{\"name\": ") +
                  JsonString(snippet.name) + ", \"file\": " + JsonString(file) +
                  ", \"desktop\": " + JsonString(snippet.desktop) +
                  ", \"expected\": " + std::to_string(snippet.expected) +
                  (snippet.effects.empty() ? "" : ", \"effects\": " + snippet.effects) +
                  ", \"sends\": " + std::to_string(snippet.sends) + "}";
    }
    manifest += "]}";
    const fs::path file = dir_ / "manifest.json";
    WriteFile(file, manifest);
    return std::string(kPython) + " '" WINSCOUT_PYTHON_REPLAY "' '" + file.string() + "'";
  }

  // The compilers run side by side: each takes about a second for its start.
  void CheckEveryLanguage(const Batch& batch) const {
    ASSERT_FALSE(batch.snippets.empty());
    std::vector<std::string> commands = CppCommands(batch);
    commands.push_back(CSharpCommand(batch));
    commands.push_back(PythonCommand(batch));
    std::vector<std::future<::testing::AssertionResult>> results;
    for (std::size_t i = 0; i < commands.size(); ++i) {
      const fs::path output = dir_ / ("output" + std::to_string(i) + ".txt");
      results.push_back(std::async(std::launch::async, [this, &commands, i, output] {
        return Run(commands[i], output);
      }));
    }
    for (auto& result : results) EXPECT_TRUE(result.get());
  }

  fs::path dir_;
};

// ---------------------------------------------------------------------------
// Fixed desktops.

WindowSpec Class(std::string name) { return {.class_name = std::move(name)}; }

// Quotes, backslashes, line breaks, escapes that swallow digits, trigraphs,
// comment and format syntax, and characters beyond ASCII.
constexpr std::string_view kHostileClasses[] = {"\"",
                                                "a\"b",
                                                "\\",
                                                "a\\",
                                                "\\\"",
                                                "\" & Chr(10) & \"",
                                                "a\r\nb",
                                                "\t",
                                                "x\x01"
                                                "23",
                                                "\x7f",
                                                "?\?=?\?/",
                                                "*/",
                                                "/*",
                                                "//",
                                                "'''",
                                                "\"\"\"",
                                                "{0}",
                                                "%s",
                                                "#",
                                                "$\"",
                                                "@\"",
                                                "\\u0041",
                                                "\\x41",
                                                "\\N{DASH}",
                                                "\xC3\xA9",
                                                "\xE6\x97\xA5\xE6\x9C\xAC",
                                                "\xF0\x9F\x98\x80",
                                                "\xE2\x80\xA8",
                                                "\xC2\x85",
                                                "\xFF\xFE",
                                                "\xE6\x97"
                                                "a"};

// Words of the four languages and names the code of each uses.
constexpr std::string_view kLanguageWords[] = {
    // C++ and the Windows headers.
    "class", "static", "int", "auto", "register", "concept", "requires", "module",
    "import", "export", "and", "not", "near", "far", "interface", "small", "HWND", "NULL",
    "nullptr", "L", "FindWindow", "FindWindowW", "FindWindowExW", "min", "max", "TRUE",
    "VOID", "CONST", "IN", "OUT", "hwnd", "hwndX",
    // C#.
    "string", "System", "IntPtr", "FindTarget", "var", "value", "null", "await", "yield",
    "base", "this", "object", "event", "checked", "lock", "params", "ref", "operator",
    "implicit", "Zero", "dynamic", "nameof",
    // Python.
    "def", "lambda", "None", "True", "match", "case", "type", "print", "ctypes",
    "wintypes", "user32", "list", "id", "self", "from", "nonlocal", "async", "str",
    "exec", "_",
    // Visual Basic.
    "Static", "Dim", "Me", "Chr", "vbNullString", "AndAlso"};

TEST_F(FinderCompileTest, FixedDesktops) {
  Batch batch{.trigraphs = true};
  {
    WindowTree tree;
    const WindowHandle frame = tree.AddTopLevel(Class("Main_Frame2"));
    const WindowHandle dialog = tree.AddChild(frame, Class("#32770"));
    const WindowHandle edit1 = tree.AddChild(dialog, Class("Edit"));
    batch.AddEveryWindow("second Edit", tree,
                         {frame, dialog, edit1, tree.AddChild(dialog, Class("Edit"))});
  }
  {
    WindowTree tree;
    const WindowHandle frame = tree.AddTopLevel(Class("Main_Frame2"));
    const WindowHandle dialog = tree.AddOwned(frame, Class("#32770"));
    const WindowHandle button = tree.AddChild(dialog, Class("Button"));
    batch.AddEveryWindow("owned dialog", tree,
                         {frame, dialog, button, tree.AddChild(dialog, Class("Button"))});
  }
  {
    WindowTree tree;
    const WindowHandle main = tree.AddTopLevel(Class("Main"));
    std::vector<WindowHandle> windows = {main};
    for (int i = 0; i < 9; ++i) {
      windows.push_back(tree.AddChild(main, Class("Static")));
      windows.push_back(tree.AddChild(main, Class("Edit")));
    }
    batch.AddEveryWindow("m-th sibling", tree, windows);
  }
  {
    WindowTree tree;
    const WindowHandle older = tree.AddTopLevel(Class("Main"));
    const WindowHandle edit = tree.AddChild(older, Class("Edit"));
    const WindowHandle newer = tree.AddTopLevel(Class("MAIN"));
    batch.AddEveryWindow("second instance", tree,
                         {older, edit, newer, tree.AddChild(newer, Class("Edit"))});
  }
  {
    // Titles that differ only in the case of their accents, which the
    // system's search takes for one title.
    WindowTree tree;
    const WindowHandle frame = tree.AddTopLevel(Class("Frame"));
    batch.AddEveryWindow(
        "accented titles", tree,
        {frame, tree.AddChild(frame, {.class_name = "Button", .text = "\u00e9t\u00e9"}),
         tree.AddChild(frame, {.class_name = "Button", .text = "\u00c9T\u00c9"})});
  }
  {
    // A same-class window before each level, so that each level takes a
    // further search too.
    WindowTree tree;
    WindowHandle parent = tree.AddTopLevel(Class("Hostile"));
    std::vector<WindowHandle> windows = {parent};
    for (std::string_view class_name : kHostileClasses) {
      tree.AddChild(parent, Class(std::string(class_name)));
      parent = tree.AddChild(parent, Class(std::string(class_name)));
      windows.push_back(parent);
    }
    batch.AddEveryWindow("hostile classes", tree, windows);
  }
  {
    // Each word as a top-level window with a child of its class, and all of
    // them in one chain.
    WindowTree tree;
    WindowHandle chain = tree.AddTopLevel(Class("Words"));
    std::vector<WindowHandle> windows = {chain};
    for (std::string_view word : kLanguageWords) {
      const WindowHandle top = tree.AddTopLevel(Class(std::string(word)));
      windows.push_back(top);
      windows.push_back(tree.AddChild(top, Class(std::string(word))));
      chain = tree.AddChild(chain, Class(std::string(word)));
      windows.push_back(chain);
    }
    batch.AddEveryWindow("language words", tree, windows);
  }
  {
    // Forty levels of one name: the numbered forms meet the names the code
    // binds (Python's user32), and the desktop, which only GetDesktopWindow
    // finds.
    WindowTree tree;
    std::vector<WindowHandle> all;
    std::vector<WindowHandle> targets = {tree.DesktopWindow()};
    for (const char* word : {"User", "ctypes", "wintypes", "System", "IntPtr", "HWND"}) {
      all.push_back(tree.AddTopLevel(Class(word)));
      for (int depth = 1; depth < 40; ++depth) {
        all.push_back(tree.AddChild(all.back(), Class(word)));
      }
      targets.push_back(all.back());
    }
    batch.AddDesktop("forty levels of a word", tree, all);
    for (WindowHandle target : targets) {
      batch.AddSnippet("forty levels of a word", tree, target, target);
    }
  }
  {
    // The frameworks' run-dependent class names, a document title, and
    // WinForms' IDs that are the controls' own handles, each after a window
    // of the same pattern.
    WindowTree tree;
    std::vector<WindowHandle> all;
    auto add = [&](WindowHandle parent, std::string class_name, std::string title = {}) {
      WindowSpec props{.class_name = std::move(class_name), .text = std::move(title)};
      all.push_back(parent ? tree.AddChild(parent, std::move(props))
                           : tree.AddTopLevel(std::move(props)));
      return all.back();
    };
    add(0, "Afx:00007FF6A1B20000:8:0000000000010003:0000000000000006:0000000000000000");
    const WindowHandle mfc = add(
        0, "Afx:00007FF6A1B30000:8:0000000000010003:0000000000000006:0000000000000000",
        "Untitled - Fixture");
    add(mfc, "Afx:00007FF6A1B30000:8");
    add(mfc, "ATL:00007FF6A1B31234");
    add(0, "HwndWrapper[Fixture.exe;;5a7bd4c2-3f1e-4a8b-9c0d-1e2f3a4b5c6d]",
        "Fixture WPF");
    const WindowHandle form =
        add(0, "WindowsForms10.Window.8.app.0.141b42a_r9_ad1", "Form");
    for (int i = 0; i < 2; ++i) {
      const WindowHandle button =
          add(form, "WindowsForms10.BUTTON.app.0.141b42a_r9_ad1", i ? "OK" : "Cancel");
      tree.SetControlId(button, button);
    }
    batch.AddEveryWindow("frameworks", tree, all);
  }
  {
    // The Button moved to a window of another class while the chain was
    // read: the Edit gets no search, and the code finds no window.
    WindowTree tree;
    const WindowHandle top = tree.AddTopLevel(Class("Top"));
    const WindowHandle other = tree.AddTopLevel(Class("Other"));
    const WindowHandle button = tree.AddChild(top, Class("Button"));
    const WindowHandle target = tree.AddChild(button, Class("Edit"));
    ForwardingWindows moved(tree);
    moved.parent_override = [&](WindowHandle w) {
      return w == button ? other : tree.Parent(w);
    };
    batch.AddDesktop("unreached level", tree, {top, other, button, target});
    batch.AddSnippet("unreached level", moved, target, 0);
    ASSERT_EQ(batch.snippets.back().plan.levels.back().calls, 0);
  }
  CheckEveryLanguage(batch);
}

// ---------------------------------------------------------------------------
// Random desktops.

constexpr unsigned kSeedsPerShape = 3;

// Fields in TreeShape's order: name, first seed, top-level windows, owned
// windows, depth, children, chain depth, wide level, hostile percent, words.
constexpr TreeShape kShapes[] = {
    {"Mixed", 11000, 6, 4, 4, 4, 0, 0, 20, kLanguageWords},
    {"DeepChains", 12000, 2, 1, 2, 2, 50, 0, 20, kLanguageWords},
    {"WideLevels", 13000, 3, 1, 2, 3, 0, 200, 10, kLanguageWords},
    {"OwnedWindows", 14000, 4, 8, 3, 3, 0, 0, 10, kLanguageWords},
    {"ManyInstances", 15000, 60, 10, 2, 2, 0, 0, 10, kLanguageWords},
    {"HostileNames", 16000, 4, 3, 4, 4, 10, 30, 90, kLanguageWords},
};

// One batch for all shapes, as each compiler run starts by reading the
// Windows headers.
TEST_F(FinderCompileTest, RandomDesktops) {
  Batch batch;
  for (const TreeShape& shape : kShapes) {
    for (unsigned seed = shape.first_seed; seed < shape.first_seed + kSeedsPerShape;
         ++seed) {
      const RandomDesktop desktop(seed, shape);
      batch.AddEveryWindow(std::string(shape.name) + " seed " + std::to_string(seed),
                           desktop.Tree(), desktop.Windows());
    }
  }
  CheckEveryLanguage(batch);
}

// ---------------------------------------------------------------------------
// Actions: every action on every kind of control, both ways, waiting and not,
// with hostile texts to set and choose, through the C++ and C# compilers;
// the Python run against the fake user32, which must see the action's
// effects, and once a wait that gives up.

// The effects as the Python replay records them; a check box starts
// unchecked, so only Check clicks it.
std::string PythonEffects(const codegen::ActionPlan& plan, const WindowTree& tree,
                          WindowHandle target) {
  using codegen::Action;
  const std::string h = std::to_string(target);
  std::string events, printed;
  const auto& items = tree.Props(target).items;
  switch (plan.action) {
    case Action::kClick:
    case Action::kCheck:
      events = "[\"click\", " + h + "]";
      break;
    case Action::kClose:
      events = "[\"close\", " + h + "]";
      break;
    case Action::kSetText:
    case Action::kChooseItem:
      events =
          std::string(plan.action == Action::kSetText ? "[\"text\", " : "[\"choose\", ") +
          h + ", \"" + Hex(plan.text) + "\"]";
      break;
    case Action::kReadText:
      printed = "\"" + Hex(tree.Props(target).text) + "\"";
      break;
    case Action::kReadItems:  // list and tree views: the C++ code only
      for (std::size_t i = 0; i < items.size() && !items[0].empty(); ++i) {
        printed += (i ? "\", \"" : "[\"") + Hex(items[i][0]) +
                   (i + 1 < items.size() ? "" : "\"]");
      }
      break;
    default:
      break;
  }
  return "{\"events\": [" + events + "], \"printed\": [" + printed + "]}";
}

TEST_F(FinderCompileTest, Actions) {
  using codegen::Action;
  using codegen::ActionsFor;
  using codegen::KindOfTarget;
  using codegen::PlanAction;
  WindowTree tree;
  const WindowHandle dialog = tree.AddTopLevel(Class("#32770"));
  struct Control {
    const char* class_name;
    std::uint32_t style;
  };
  constexpr Control kControls[] = {
      {"Button", 0x0}, {"Button", 0x3}, {"Button", 0x9},        {"Edit", 0},
      {"ComboBox", 0}, {"ListBox", 0},  {"SysListView32", 0x1}, {"SysTreeView32", 0},
      {"Static", 0}};
  // Every text set or chosen begins an item.
  ItemRows items;
  for (std::string_view text : kHostileClasses)
    items.push_back({std::string(text) + "!"});
  std::string cpp =
      "#include <windows.h>\r\n#include <commctrl.h>\r\n#include <string>\r\n"
      "#include <vector>\r\n";
  std::string csharp;
  Batch python;
  std::vector<WindowHandle> all = {dialog};
  std::size_t hostile = 0;
  for (const Control& control : kControls) {
    const WindowHandle target =
        tree.AddChild(dialog, {.class_name = control.class_name,
                               .text = std::string(control.class_name) + " \u03a9\r\n\"",
                               .id = 100 + static_cast<std::int32_t>(all.size()),
                               .style = control.style});
    all.push_back(target);
    if (control.class_name == std::string_view("ComboBox") ||
        control.class_name == std::string_view("ListBox")) {
      tree.SetItems(target, items);
    }
    const SearchPlan plan =
        std::get<SearchPlan>(codegen::PlanFinderCode(std::to_string(target), tree));
    for (Action action : ActionsFor(KindOfTarget(control.class_name, control.style))) {
      for (bool wait : {false, true}) {
        for (codegen::SearchWay way :
             {codegen::SearchWay::kPosition, codegen::SearchWay::kIdAndTitle}) {
          codegen::FinderStyle style{.way = way};
          style.action =
              PlanAction(action, KindOfTarget(control.class_name, control.style), wait);
          if (!style.action.text.empty()) {
            style.action.text = kHostileClasses[hostile++ % std::size(kHostileClasses)];
          }
          const std::string n = std::to_string(python.snippets.size());
          cpp += "\r\nvoid Act" + n + "() {\r\n" +
                 EmitFinderCode(plan, FinderLanguage::kCpp, style) + "\r\n}\r\n";
          csharp += "static class Act" + n + "\r\n{\r\n" +
                    EmitFinderCode(plan, FinderLanguage::kCSharp, style) + "\r\n}\r\n";
          python.snippets.push_back({std::string(control.class_name) + " action " + n,
                                     plan, way, "actions", target, style.action,
                                     PythonEffects(style.action, tree, target)});
        }
      }
    }
  }
  python.AddDesktop("actions", tree, all);
  // The wait gives up where the window never comes.
  python.AddDesktop("empty", tree, {});
  python.snippets.push_back(python.snippets[0]);
  python.snippets.back().desktop = "empty";
  python.snippets.back().action =
      PlanAction(Action::kClick, codegen::TargetKind::kPushButton, true);
  python.snippets.back().effects = "{\"events\": [], \"printed\": [\"" +
                                   Hex("The window was not found within 10 seconds.") +
                                   "\"]}";
  // The list box goes away after its count and first item are read.
  python.snippets.push_back(*std::ranges::find_if(python.snippets, [](const Snippet& s) {
    return s.name.starts_with("ListBox") && s.action.action == Action::kReadItems;
  }));
  python.snippets.back().sends = 3;
  python.snippets.back().effects =
      "{\"events\": [], \"printed\": [\"" +
      Hex("The window went away or stopped answering while its items were read.") +
      "\", [\"" + Hex(items[0][0]) + "\"]]}";
  WriteFile(dir_ / "actions.cpp", cpp);
  WriteFile(dir_ / "actions.cs", csharp);
  // Variables that an action sets for the caller to use are unused here.
  EXPECT_TRUE(
      Run(std::string(kCppCompiler) +
              " -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-unused-variable "
              "-Wno-unused-but-set-variable '" +
              (dir_ / "actions.cpp").string() + "'",
          dir_ / "cpp.txt"));
  EXPECT_TRUE(Run(std::string(kCSharpCompiler) +
                      " -target:library -warnaserror+ -nowarn:219 -nologo -out:'" +
                      (dir_ / "actions.dll").string() + "' '" +
                      (dir_ / "actions.cs").string() + "'",
                  dir_ / "cs.txt"));
  EXPECT_TRUE(Run(PythonCommand(python), dir_ / "py.txt"));
}

// A script of every kind of step, both ways: one declaration of everything
// in each language's scope (the compilers refuse a name declared twice), and
// the Python run against the fake user32 does the steps in order.
TEST_F(FinderCompileTest, ScriptsCompileAndRun) {
  const OrderFlow flow;
  auto h = [](WindowHandle w) { return std::to_string(w); };
  const std::string effects =
      "{\"events\": [[\"text\", " + h(flow.edit) + ", \"" + Hex(flow.typed) +
      "\"], [\"click\", " + h(flow.check) + "], [\"choose\", " + h(flow.combo) + ", \"" +
      Hex("Blue") + "\"], [\"command\", " + h(flow.main) + ", \"" + Hex("40001") +
      "\"], [\"click\", " + h(flow.ok) + "]], \"printed\": []}";
  std::string cpp =
      "#include <windows.h>\r\n#include <commctrl.h>\r\n#include <string>\r\n"
      "#include <vector>\r\n";
  std::string csharp;
  Batch python;
  python.AddDesktop("order", flow.tree,
                    {flow.main, flow.edit, flow.check, flow.combo, flow.dialog, flow.list,
                     flow.tree_view, flow.ok});
  for (codegen::SearchWay way :
       {codegen::SearchWay::kPosition, codegen::SearchWay::kIdAndTitle}) {
    const std::string n = std::to_string(python.snippets.size());
    cpp += "\r\nvoid Script" + n + "() {\r\n" +
           codegen::EmitScript(flow.script, FinderLanguage::kCpp, {.way = way}) +
           "\r\n}\r\n";
    csharp += "static class Script" + n + "\r\n{\r\n" +
              codegen::EmitScript(flow.script, FinderLanguage::kCSharp, {.way = way}) +
              "\r\n}\r\n";
    python.snippets.push_back({.name = "script " + n,
                               .desktop = "order",
                               .effects = effects,
                               .code = codegen::EmitScript(
                                   flow.script, FinderLanguage::kPython, {.way = way})});
  }
  WriteFile(dir_ / "script.cpp", cpp);
  WriteFile(dir_ / "script.cs", csharp);
  EXPECT_TRUE(
      Run(std::string(kCppCompiler) +
              " -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-unused-variable "
              "-Wno-unused-but-set-variable '" +
              (dir_ / "script.cpp").string() + "'",
          dir_ / "cpp.txt"));
  EXPECT_TRUE(Run(std::string(kCSharpCompiler) +
                      " -target:library -warnaserror+ -nowarn:219 -nologo -out:'" +
                      (dir_ / "script.dll").string() + "' '" +
                      (dir_ / "script.cs").string() + "'",
                  dir_ / "cs.txt"));
  EXPECT_TRUE(Run(PythonCommand(python), dir_ / "py.txt"));
}

// The code that sends a message after the finder code, with each kind of
// lParam, through the compilers of the languages that have one here.
TEST_F(FinderCompileTest, SendCodeCompiles) {
  WindowTree tree;
  const WindowHandle frame = tree.AddTopLevel(Class("Main_Frame2"));
  tree.AddChild(frame, Class("Button"));
  const SearchPlan plan =
      std::get<SearchPlan>(codegen::PlanFinderCode(std::to_string(frame), tree));
  const codegen::MessageToSend messages[] = {
      {.message = 0x111,
       .name = "WM_COMMAND",
       .wparam = 40001,
       .comment = "Help > About"},
      {.message = 0x111,
       .name = "WM_COMMAND",
       .wparam = 1001,
       .lparam = codegen::ChildWithId{1001},
       .post = false},
      {.message = 0xC,
       .name = "WM_SETTEXT",
       .lparam = std::string("say \"hi\"\r\n\u00e9\\")},
      {.message = 0x112,
       .name = "WM_SYSCOMMAND",
       .wparam = 0xF060,
       .lparam = std::int64_t{-1}}};
  std::string cpp = "#include <windows.h>\r\n";
  std::string csharp;
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(messages); ++i) {
    const std::string n = std::to_string(i);
    cpp += "void Send" + n + "() {\r\n" +
           codegen::EmitSendCode(plan, FinderLanguage::kCpp, {}, messages[i]) +
           "\r\n}\r\n";
    csharp += "static class Send" + n + "\r\n{\r\n" +
              codegen::EmitSendCode(plan, FinderLanguage::kCSharp, {}, messages[i]) +
              "\r\n}\r\n";
    WriteFile(dir_ / ("send" + n + ".py"),
              codegen::EmitSendCode(plan, FinderLanguage::kPython, {}, messages[i]));
    commands.push_back(std::string(kPython) + " -m py_compile '" +
                       (dir_ / ("send" + n + ".py")).string() + "'");
  }
  WriteFile(dir_ / "send.cpp", cpp);
  WriteFile(dir_ / "send.cs", csharp);
  commands.push_back(std::string(kCppCompiler) +
                     " -std=c++20 -fsyntax-only -Wall -Wextra -Werror '" +
                     (dir_ / "send.cpp").string() + "'");
  commands.push_back(
      std::string(kCSharpCompiler) + " -target:library -warnaserror+ -nologo -out:'" +
      (dir_ / "send.dll").string() + "' '" + (dir_ / "send.cs").string() + "'");
  for (std::size_t i = 0; i < commands.size(); ++i) {
    EXPECT_TRUE(Run(commands[i], dir_ / ("send_output" + std::to_string(i) + ".txt")));
  }
}

}  // namespace
}  // namespace winscout::testing
