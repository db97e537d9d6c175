#include <gtest/gtest.h>

#include <map>
#include <variant>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/snapshot.h"
#include "codegen/finder_code.h"
#include "inspector/window_details.h"
#include "platform/model/window_tree.h"

namespace winscout::cli {
namespace {

using model::WindowSpec;
using model::WindowTree;

struct JsonCase {
  const char* what;
  std::string text;
  std::string json;
};

class JsonStringTest : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonStringTest, EscapesOrReplaces) {
  std::string out;
  AppendJsonString(out, GetParam().text);
  EXPECT_EQ(out, GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    HostileTexts, JsonStringTest,
    ::testing::Values(
        JsonCase{"quotes and backslashes", R"(a "b" \c\)", R"("a \"b\" \\c\\")"},
        JsonCase{"NUL and control characters", std::string("a\0b\x01\x1f\x7f\t\r\n", 9),
                 R"("a\u0000b\u0001\u001f\u007f\t\r\n")"},
        JsonCase{"UTF-8 kept", "\u03a9 \U0001F600", "\"\u03a9 \U0001F600\""},
        JsonCase{"a lone surrogate's bytes, each replaced", "a\xED\xA0\x80z",
                 "\"a\uFFFD\uFFFD\uFFFDz\""},
        JsonCase{"overlong, cut and stray bytes", "\xC0\xAF|\xE2\x82|\x80|\xF5",
                 "\"\uFFFD\uFFFD|\uFFFD\uFFFD|\uFFFD|\uFFFD\""},
        JsonCase{"32,000 characters", std::string(32000, '\\'),
                 '"' + std::string(64000, '\\') + '"'}));

TEST(JsonWriterTest, KeepsFieldOrderAndSeparators) {
  JsonWriter json;
  json.BeginObject();
  json.Key("version");
  json.Number(1);
  json.Key("list");
  json.BeginArray();
  json.Bool(true);
  json.BeginObject();
  json.EndObject();
  json.String("x");
  json.EndArray();
  json.Key("n");
  json.Number(-5);
  json.EndObject();
  EXPECT_EQ(json.Text(), R"({"version":1,"list":[true,{},"x"],"n":-5})");
}

struct ArgsCase {
  std::vector<std::string> args;
  std::string error;  // the start of the usage error, or empty
  std::function<bool(const Command&)> holds = [](const Command&) { return true; };
};

class ParseArgumentsTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(ParseArgumentsTest, GivesTheCommandOrTheError) {
  const auto parsed = ParseArguments(GetParam().args);
  if (GetParam().error.empty()) {
    ASSERT_TRUE(std::holds_alternative<Command>(parsed))
        << std::get<UsageError>(parsed).text;
    EXPECT_TRUE(GetParam().holds(std::get<Command>(parsed)));
  } else {
    ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
    EXPECT_TRUE(std::get<UsageError>(parsed).text.starts_with(GetParam().error))
        << std::get<UsageError>(parsed).text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseArgumentsTest,
    ::testing::Values(
        ArgsCase{{"/?"}, "", [](const Command& c) { return c.verb == Verb::kHelp; }},
        ArgsCase{{"tree", "--json", "--filter", "Edit"},
                 "",
                 [](const Command& c) { return c.json && c.filter == "Edit"; }},
        ArgsCase{{"details", "0x8000002A", "--json"},
                 "",
                 [](const Command& c) {
                   return c.window.handle == WindowHandle(0x8000002A) && c.json;
                 }},
        ArgsCase{{"code", "--at", "10,-20", "--language", "python", "--by", "id-title",
                  "--declarations", "--action", "set-text", "--text", "hi", "--wait"},
                 "",
                 [](const Command& c) {
                   return c.window.at == ScreenPoint{10, -20} &&
                          c.language == codegen::FinderLanguage::kPython &&
                          c.style.way == codegen::SearchWay::kIdAndTitle &&
                          c.style.declarations && c.style.action.wait &&
                          c.action == codegen::Action::kSetText && c.text == "hi";
                 }},
        ArgsCase{{"code", "Notepad", "Edit"},
                 "",
                 [](const Command& c) {
                   return c.window.path == std::vector<std::string>{"Notepad", "Edit"};
                 }},
        ArgsCase{
            {"compare", "a.txt", "b.txt"},
            "",
            [](const Command& c) { return c.before == "a.txt" && c.after == "b.txt"; }},
        ArgsCase{{}, "no command"}, ArgsCase{{"list"}, "unknown command: list"},
        ArgsCase{{"tree", "--bogus"}, "unknown option: --bogus"},
        ArgsCase{{"details", "1", "--language", "vb"}, "unknown option: --language"},
        ArgsCase{{"code", "1", "--language", "cobol"}, "unknown language"},
        ArgsCase{{"code", "1", "--by"}, "--by needs a value"},
        ArgsCase{{"code", "--at", "10"}, "--at wants X,Y"},
        ArgsCase{{"code"}, "no window"}, ArgsCase{{"compare", "a"}, "compare takes two"},
        ArgsCase{{"details", "0x100000000"}, "", [](const Command& c) {
                   return c.window.path.size() == 1;
                 }}));

// Everything written, for the commands run on the model.
class MemoryConsole final : public Console {
 public:
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
  std::optional<std::string> ReadFile(std::string_view path) const override {
    const auto found = files.find(std::string(path));
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  std::string out, err;
  std::map<std::string, std::string> files;
};

struct Desktop {
  WindowTree tree;
  WindowHandle main = tree.AddTopLevel(
      {.class_name = "Main", .text = "Editor", .rect = {0, 0, 200, 100}});
  WindowHandle edit = tree.AddChild(
      main, {.class_name = "Edit", .text = "hello", .rect = {10, 10, 100, 30}, .id = 7});
  WindowHandle check = tree.AddChild(main, {.class_name = "Button",
                                            .text = "Bold",
                                            .rect = {10, 40, 100, 60},
                                            .style = 0x3 /* BS_AUTOCHECKBOX */});
};

TEST(RunCommandTest, ExitCodesAndTheirLines) {
  Desktop d;
  const struct {
    std::vector<std::string> args;
    int code;
    std::string err;
  } cases[] = {
      {{"details", "12345"},
       kNotFound,
       "winscout: 0x00003039 (12345) is not a window\r\n"},
      {{"code", "Main", "Nothing"},
       kNotFound,
       "winscout: no window found at \"Main\" \"Nothing\"\r\n"},
      {{"code", "--at", "500,500"}, kNotFound, "winscout: no window at 500,500\r\n"},
      {{"code", std::to_string(d.edit), "--action", "click"},
       kNotFound,
       "winscout: the action Click it does not fit the window\r\n"},
      {{"compare", "a", "b"}, kNotFound, "winscout: cannot read a\r\n"},
      {{"details", "Main|Editor", "Edit"}, kDone, ""},
  };
  for (const auto& c : cases) {
    MemoryConsole console;
    EXPECT_EQ(RunCommand(c.args, d.tree, console), c.code) << c.args[0];
    EXPECT_EQ(console.err, c.err);
    EXPECT_EQ(console.out.empty(), c.code != kDone);
  }
}

TEST(RunCommandTest, TreeHoldsTheFilteredWindowsWithTheirDetails) {
  Desktop d;
  MemoryConsole json, text;
  ASSERT_EQ(RunCommand({"tree", "--json", "--filter", "Edit"}, d.tree, json), kDone);
  ASSERT_EQ(RunCommand({"tree"}, d.tree, text), kDone);
  const std::string edit =
      R"({"handle":)" + std::to_string(d.edit) +
      R"(,"class":"Edit","title":"hello","details":[{"name":"Handle",)";
  EXPECT_NE(json.out.find(edit), std::string::npos) << json.out;
  EXPECT_EQ(json.out.find("Bold"), std::string::npos);
  EXPECT_NE(text.out.find("| Class: Button"), std::string::npos) << text.out;
}

TEST(RunCommandTest, CodeIsTheCodeBoxsGenerator) {
  Desktop d;
  const auto plan = std::get<codegen::SearchPlan>(
      codegen::PlanFinderCode(std::to_string(d.edit), d.tree));
  codegen::FinderStyle style{.way = codegen::SearchWay::kIdAndTitle};
  style.action =
      codegen::PlanAction(codegen::Action::kSetText, codegen::TargetKind::kEdit, true);
  style.action.text = "new";
  MemoryConsole console;
  ASSERT_EQ(RunCommand({"code", "Main", "Edit", "--language", "csharp", "--by",
                        "id-title", "--action", "set-text", "--text", "new", "--wait"},
                       d.tree, console),
            kDone);
  EXPECT_EQ(
      console.out,
      codegen::EmitFinderCode(plan, codegen::FinderLanguage::kCSharp, style) + "\r\n");
}

TEST(SnapshotTest, ComparesWhatAClickChanged) {
  Desktop d;
  const Snapshot before = TakeSnapshot(d.tree);
  ASSERT_EQ(ReadSnapshot(SnapshotText(before)), before);
  d.tree.SetText(d.edit, "a\tb\\c\r\nd");
  d.tree.SetRect(d.edit, {20, 10, 110, 40});
  d.tree.SetEnabled(d.check, false);
  const WindowHandle dialog =
      d.tree.AddOwned(d.main, {.class_name = "#32770", .text = "Modal"});
  const Snapshot after = *ReadSnapshot(SnapshotText(TakeSnapshot(d.tree)));
  EXPECT_EQ(ReadSnapshot(SnapshotJson(after)), after) << "what snapshot --json wrote";
  EXPECT_EQ(ReadSnapshot(SnapshotJson(after).substr(0, 60)), std::nullopt);
  const auto hex = [](WindowHandle w) { return inspector::Hex32(std::uint32_t(w)); };
  EXPECT_EQ(CompareSnapshots(before, after),
            "appeared " + hex(dialog) + " #32770 \"Modal\"\r\n" + "changed " +
                hex(d.edit) + " Edit \"a\\tb\\\\c\\r\\nd\"\r\n" +
                "  text: \"hello\" -> \"a\\tb\\\\c\\r\\nd\"\r\n"
                "  place: (10, 10) -> (20, 10)\r\n"
                "  size: 90 x 20 -> 90 x 30\r\n"
                "changed " +
                hex(d.check) + " Button \"Bold\"\r\n" + "  enabled: yes -> no\r\n");
  EXPECT_EQ(CompareSnapshots(after, before).substr(0, 9), "vanished ");

  Desktop e;
  const WindowHandle list = e.tree.AddChild(e.main, {.class_name = "ListBox"});
  e.tree.SetItems(list, {{"a"}, {"b"}});
  const Snapshot unchosen = TakeSnapshot(e.tree);
  e.tree.ChooseItem(list, ItemList::kListBox, "b", 0);
  const Snapshot chosen = *ReadSnapshot(SnapshotJson(TakeSnapshot(e.tree)));
  EXPECT_EQ(ReadSnapshot(SnapshotText(chosen)), chosen);
  EXPECT_EQ(CompareSnapshots(unchosen, chosen),
            "changed " + hex(list) + " ListBox \"\"\r\n  selection: none -> item 1\r\n");
}

}  // namespace
}  // namespace winscout::cli
