#include "inspector/message_log.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "inspector/known_windows.h"
#include "inspector/message_decode.h"
#include "inspector/message_names.h"
#include "platform/message_ring.h"

namespace winscout::inspector {
namespace {

const MessageNames kNames;

struct DecodeCase {
  std::uint32_t message;
  std::uint64_t wparam;
  std::int64_t lparam;
  std::string window_class;
  std::string control_class;
  std::string name;
  std::string parameters;
  MessageKind kind = MessageKind::kSent;
  std::int64_t result = 0;
  std::uint32_t flags = 0;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name << " " << c.parameters;
}

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, NamesAndDecodes) {
  const DecodeCase& c = GetParam();
  MessageRecord record{.wparam = c.wparam,
                       .lparam = c.lparam,
                       .result = c.result,
                       .message = c.message,
                       .kind = c.kind,
                       .flags = c.flags};
  EXPECT_EQ(kNames.MessageName(c.message, c.window_class, "WinScoutRegistered"), c.name);
  EXPECT_EQ(DecodeParameters(record, {kNames, c.window_class, c.control_class}),
            c.parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeTest,
    ::testing::Values(
        DecodeCase{0x0111, 0x000003E9, 0x10086, "#32770", "Button", "WM_COMMAND",
                   "ID 1001, BN_CLICKED, control 0x00010086"},
        DecodeCase{0x0111, 0x0300'0065, 0x2002A, "#32770", "Edit", "WM_COMMAND",
                   "ID 101, EN_CHANGE, control 0x0002002A"},
        DecodeCase{0x0111, 0x0001'0065, 0x2002A, "X", "ComboBox", "WM_COMMAND",
                   "ID 101, CBN_SELCHANGE, control 0x0002002A"},
        DecodeCase{0x0111, 0x0005'0065, 0x2002A, "X", "MyControl", "WM_COMMAND",
                   "ID 101, code 5, control 0x0002002A"},
        DecodeCase{0x0111, 308, 0, "Notepad", "", "WM_COMMAND", "menu, ID 308",
                   MessageKind::kPosted},
        DecodeCase{0x0111, 0x0001'0009, 0, "Notepad", "", "WM_COMMAND",
                   "accelerator, ID 9"},
        DecodeCase{0x0112, 0xF060, 0x00140010, "X", "", "WM_SYSCOMMAND",
                   "SC_CLOSE, x 16, y 20"},
        // The low four bits are the system's; SC_KEYMENU has no point.
        DecodeCase{0x0112, 0xF182, 0, "X", "", "WM_SYSCOMMAND",
                   "SC_CONTEXTHELP, x 0, y 0"},
        DecodeCase{0x0112, 0xF100, 0x20, "X", "", "WM_SYSCOMMAND", "SC_KEYMENU"},
        DecodeCase{0x0112, 0xF110, 0, "X", "", "WM_SYSCOMMAND", "0xF110, x 0, y 0"},
        DecodeCase{0x0112, 0x0060, 0, "X", "", "WM_SYSCOMMAND", "0x0060, x 0, y 0"},
        DecodeCase{0x0100, 0x0D, 0x001C0001, "Edit", "", "WM_KEYDOWN",
                   "VK_RETURN, repeat 1, scan 28"},
        DecodeCase{0x0101, 0x41, 0x011E0001, "Edit", "", "WM_KEYUP",
                   "A, repeat 1, scan 30, extended"},
        DecodeCase{0x0104, 0x73, 0x1, "Edit", "", "WM_SYSKEYDOWN",
                   "VK_F4, repeat 1, scan 0"},
        DecodeCase{0x0102, 'a', 1, "Edit", "", "WM_CHAR", "'a' U+0061, repeat 1"},
        DecodeCase{0x0102, 0xE9, 1, "Edit", "", "WM_CHAR", "'\xC3\xA9' U+00E9, repeat 1"},
        DecodeCase{0x0102, 0x0D, 1, "Edit", "", "WM_CHAR", "U+000D, repeat 1"},
        DecodeCase{0x000C, 0, 0, "Edit", "", "WM_SETTEXT", "to a password box: not shown",
                   MessageKind::kSent, 0,
                   MessageRecord::kSecret | MessageRecord::kHasText},
        DecodeCase{0x0201, 0x0009, 0x0014000A, "Button", "", "WM_LBUTTONDOWN",
                   "x 10, y 20, MK_LBUTTON | MK_CONTROL"},
        DecodeCase{0x0200, 0, 0xFFFEFFFF, "Button", "", "WM_MOUSEMOVE", "x -1, y -2"},
        DecodeCase{0x020A, 0xFF880000, 0x00C80064, "X", "", "WM_MOUSEWHEEL",
                   "delta -120, screen x 100, y 200"},
        DecodeCase{0x0005, 2, 0x01E00280, "X", "", "WM_SIZE",
                   "SIZE_MAXIMIZED, 640 x 480"},
        DecodeCase{0x000C, 0, 0, "Edit", "", "WM_SETTEXT", "text not read"},
        DecodeCase{0x0010, 0, 0, "X", "", "WM_CLOSE", "result 0", MessageKind::kReturned},
        DecodeCase{0x000D, 256, 0x1234, "X", "", "WM_GETTEXT", "capacity 256; result 5",
                   MessageKind::kReturned, 5},
        DecodeCase{0x00F5, 0, 0, "Button", "", "BM_CLICK", ""},
        DecodeCase{0x00F1, 1, 0, "Button", "", "BM_SETCHECK", "BST_CHECKED"},
        DecodeCase{0x00B1, 0, -1, "Edit", "", "EM_SETSEL",
                   "wParam 0x0, lParam 0xFFFFFFFFFFFFFFFF"},
        DecodeCase{0x014E, 2, 0, "ComboBox", "", "CB_SETCURSEL",
                   "wParam 0x2, lParam 0x0"},
        DecodeCase{0x1073, 0, 0, "SysListView32", "", "LVM_GETITEMTEXTW",
                   "wParam 0x0, lParam 0x0"},
        DecodeCase{0x1073, 0, 0, "MyWindow", "", "WM_USER+3187",
                   "wParam 0x0, lParam 0x0"},
        DecodeCase{0x113E, 0, 0, "SysTreeView32", "", "TVM_GETITEMW",
                   "wParam 0x0, lParam 0x0"},
        DecodeCase{0x8001, 0, 0, "X", "", "WM_APP+1", "wParam 0x0, lParam 0x0"},
        DecodeCase{0xC123, 0, 0, "X", "", "WinScoutRegistered", "wParam 0x0, lParam 0x0"},
        DecodeCase{0x0113, 7, 0, "X", "", "WM_TIMER", "timer 7"}));

TEST(DecodeTest, TextsAndNotifyHeadersComeFromTheRecord) {
  MessageRecord text{.message = 0x000C, .flags = MessageRecord::kHasText};
  std::u16string_view hello = u"H\u00e9llo \"x\"";
  std::ranges::copy(hello, text.text);
  EXPECT_EQ(DecodeParameters(text, {kNames}), "\"H\xC3\xA9llo \"x\"\"");

  MessageRecord notify{.notify_from = 0x30040,
                       .notify_id = 7,
                       .message = 0x004E,
                       .notify_code = -101,
                       .flags = MessageRecord::kHasNotify};
  EXPECT_EQ(DecodeParameters(notify, {kNames, "#32770", "SysListView32"}),
            "LVN_ITEMCHANGED, from ID 7, control 0x00030040");
  notify.notify_code = -2;
  EXPECT_EQ(DecodeParameters(notify, {kNames, "#32770", "SysTreeView32"}),
            "NM_CLICK, from ID 7, control 0x00030040");
  notify.notify_code = -101;
  EXPECT_EQ(DecodeParameters(notify, {kNames, "#32770", "Other"}),
            "code -101, from ID 7, control 0x00030040");
}

LoggedMessage Line(std::uint32_t message, MessageKind kind = MessageKind::kSent) {
  return {.record = {.window = 0x10086, .message = message, .kind = kind},
          .time_ms = 12,
          .window_class = "Button",
          .name = kNames.MessageName(message, "Button"),
          .group = GroupOf(message)};
}

struct FilterCase {
  std::string terms;
  bool show_noisy;
  std::vector<std::string> shown;
};

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, ShowsTheLinesItLetsThrough) {
  MessageLog log;
  log.SetFilter({GetParam().terms, GetParam().show_noisy});
  for (std::uint32_t message :
       {0x0111u, 0x0200u, 0x0084u, 0x0020u, 0x0113u, 0x000Fu, 0x0102u})
    log.Add(Line(message));
  std::vector<std::string> shown;
  for (std::size_t i = 0; i < log.ShownCount(); ++i) shown.push_back(log.Shown(i).name);
  EXPECT_EQ(shown, GetParam().shown);
  EXPECT_EQ(log.Count(), 7u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterTest,
    ::testing::Values(FilterCase{"", false, {"WM_COMMAND", "WM_CHAR"}},
                      FilterCase{"",
                                 true,
                                 {"WM_COMMAND", "WM_MOUSEMOVE", "WM_NCHITTEST",
                                  "WM_SETCURSOR", "WM_TIMER", "WM_PAINT", "WM_CHAR"}},
                      FilterCase{"wm_timer", false, {"WM_TIMER"}},
                      FilterCase{"command, char", false, {"WM_COMMAND", "WM_CHAR"}},
                      FilterCase{"-CHAR", false, {"WM_COMMAND"}},
                      FilterCase{"-MOUSE -PAINT",
                                 true,
                                 {"WM_COMMAND", "WM_NCHITTEST", "WM_SETCURSOR",
                                  "WM_TIMER", "WM_CHAR"}}));

TEST(MessageLogTest, KeepsTheNewestLinesAndCountsDrops) {
  MessageLog log;
  for (std::size_t i = 0; i < MessageLog::kMaxLines + 5; ++i) {
    LoggedMessage line = Line(0x0111);
    line.time_ms = static_cast<std::int64_t>(i);
    log.Add(std::move(line));
  }
  EXPECT_EQ(log.Count(), MessageLog::kMaxLines - MessageLog::kMaxLines / 10 + 5);
  EXPECT_EQ(log.Shown(log.ShownCount() - 1).time_ms,
            static_cast<std::int64_t>(MessageLog::kMaxLines + 4));
  log.AddDropped(17);
  EXPECT_EQ(log.Status(), "180005 messages, 180005 shown, 17 dropped");
  log.Clear();
  EXPECT_EQ(log.Status(), "0 messages, 0 shown");
}

TEST(MessageLogTest, CsvAndCopyHoldTheSameColumns) {
  // The parameters are decoded from the records, the control's class read at
  // arrival.
  LoggedMessage command = Line(0x0111);
  command.record.wparam = 1001;
  command.record.lparam = 0x10086;
  command.control_class = "Button";
  LoggedMessage text = Line(0x000C, MessageKind::kReturned);
  text.record.result = -1;
  text.record.flags = MessageRecord::kHasText;
  std::ranges::copy(std::u16string_view(u"=cmd|' /C calc'!A0"), text.record.text);
  EXPECT_EQ(CsvText({&command, &text}, kNames),
            "\xEF\xBB\xBFTime "
            "(ms),Kind,Window,Class,Message,Parameters,wParam,lParam,Result\r\n"
            "12,sent,0x00010086,Button,WM_COMMAND,\"ID 1001, BN_CLICKED, control "
            "0x00010086\",0x3E9,0x10086,\r\n"
            "12,returned,0x00010086,Button,WM_SETTEXT,\"\"\"=cmd|' /C "
            "calc'!A0\"\"; result -1\",0x0,0x0,-1\r\n");
  EXPECT_EQ(CopyText({&command}, kNames),
            "12\tsent\t0x00010086\tButton\tWM_COMMAND\tID 1001, BN_CLICKED, control "
            "0x00010086\r\n");
}

TEST(MessageLogTest, CopyGivesOneLinePerRowGuardedAsTheCsv) {
  LoggedMessage line = Line(0x0010);
  line.window_class = "=cmd|' /C calc'!A0";
  line.name = "two\r\nlines\tand a tab";
  const std::string row =
      "12\tsent\t0x00010086\t'=cmd|' /C calc'!A0\ttwo  lines and a tab\t\r\n";
  EXPECT_EQ(CopyText({&line, &line}, kNames), row + row);
}

TEST(MessageLogTest, CsvFieldsNeverStartAFormula) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"-1", "-1"},
      {"-", "'-"},
      {"=1+2", "'=1+2"},
      {"+1", "'+1"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"-2+3", "'-2+3"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

// The ring of 8 as another program may leave it, read up to 7 before:
// written, dropped since, taken (set by that program), records read (-1: a
// fault).
TEST(MessageRingTest, ReadsEachRecordOnceAndNoCounterThatJumps) {
  const int cases[][4] = {{7, 0, 7, 0},   {12, 4, 7, 5}, {15, 0, 7, 8},
                          {16, 0, 7, -1}, {6, 0, 7, -1}, {3'000'000, 0, 7, -1},
                          {7, 0, 0, 0},   {9, 0, 900, 2}};
  for (const auto& [written, dropped, taken, read] : cases) {
    std::array<MessageRecord, 8> ring{};
    ring[7].message = 7;
    RingCounters counters{.written = 7, .taken = 0, .dropped = 1};
    RingReader reader;
    reader.Start(counters);
    counters = {std::uint64_t(written), std::uint64_t(taken), std::uint64_t(dropped) + 1};
    std::vector<MessageRecord> records;
    const auto drops = reader.Take(counters, ring.data(), 8, records);
    EXPECT_EQ(drops, read < 0 ? std::nullopt : std::optional<std::uint64_t>(dropped));
    EXPECT_EQ(records.size(), std::size_t(std::max(read, 0))) << written;
    EXPECT_EQ(records.empty() ? 7u : records.front().message, 7u);
  }
}

TEST(KnownWindowsTest, KeepsBoundedWhateverTheWindowsNamed) {
  using namespace std::literals;
  KnownWindows known;
  const auto class_of = [](std::int64_t window) {
    return window % 2 ? "Button" : "Edit";
  };
  const std::string_view first = known.Get(1, class_of).class_name;
  for (std::int64_t window = 2; window < 100'000; ++window) known.Get(window, class_of);
  EXPECT_LE(known.WindowCount(), KnownWindows::kWindowLimit);
  EXPECT_EQ(std::pair(first, known.ClassCount()), std::pair("Button"sv, std::size_t{2}));
  known.Clear();
  EXPECT_EQ(known.WindowCount() + known.ClassCount(), 0u);
}

}  // namespace
}  // namespace winscout::inspector
