#include "cli/arguments.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "platform/number_text.h"
#include "platform/packed_text.h"

namespace winscout::cli {
namespace {

// The help text, kept in help_text.txt and packed at build time.
struct HelpPart {
  int key;
  std::size_t begin, end;
};
#include "cli/help_text.inc"

using codegen::Action;
using codegen::FinderLanguage;

constexpr std::pair<std::string_view, Verb> kVerbs[] = {
    {"tree", Verb::kTree},         {"details", Verb::kDetails}, {"code", Verb::kCode},
    {"snapshot", Verb::kSnapshot}, {"compare", Verb::kCompare}, {"--help", Verb::kHelp},
    {"/?", Verb::kHelp},           {"-h", Verb::kHelp}};

constexpr std::pair<std::string_view, FinderLanguage> kLanguages[] = {
    {"vb", FinderLanguage::kVisualBasic},
    {"vba", FinderLanguage::kVba},
    {"cpp", FinderLanguage::kCpp},
    {"csharp", FinderLanguage::kCSharp},
    {"python", FinderLanguage::kPython}};

constexpr std::pair<std::string_view, Action> kActions[] = {
    {"find", Action::kFindOnly},       {"read-text", Action::kReadText},
    {"close", Action::kClose},         {"click", Action::kClick},
    {"check", Action::kCheck},         {"uncheck", Action::kUncheck},
    {"set-text", Action::kSetText},    {"choose-item", Action::kChooseItem},
    {"read-items", Action::kReadItems}};

template <typename T, std::size_t N>
std::optional<T> Lookup(const std::pair<std::string_view, T> (&table)[N],
                        std::string_view name) {
  for (const auto& [key, value] : table) {
    if (key == name) return value;
  }
  return std::nullopt;
}

std::optional<ScreenPoint> ParsePoint(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto coordinate = [](std::string_view part) -> std::optional<std::int32_t> {
    const bool negative = part.starts_with('-');
    const auto value = ParseNumber(negative ? part.substr(1) : part, 10);
    if (!value || *value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -*value : *value);
  };
  const auto x = coordinate(text.substr(0, comma));
  const auto y = coordinate(text.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return ScreenPoint{*x, *y};
}

constexpr std::pair<std::string_view, codegen::SearchWay> kWays[] = {
    {"position", codegen::SearchWay::kPosition},
    {"id-title", codegen::SearchWay::kIdAndTitle}};

enum class Option {
  kJson,
  kFilter,
  kAt,
  kLanguage,
  kBy,
  kDeclarations,
  kAction,
  kText,
  kWait
};

constexpr unsigned Verbs(std::initializer_list<Verb> verbs) {
  unsigned bits = 0;
  for (const Verb verb : verbs) bits |= 1u << static_cast<int>(verb);
  return bits;
}

// The options, the verbs that take each, and whether a value follows it.
struct KnownOption {
  std::string_view name;
  Option option;
  unsigned verbs;
  bool takes_value;
};
constexpr KnownOption kOptions[] = {
    {"--json", Option::kJson, Verbs({Verb::kTree, Verb::kDetails, Verb::kSnapshot}),
     false},
    {"--filter", Option::kFilter, Verbs({Verb::kTree}), true},
    {"--at", Option::kAt, Verbs({Verb::kDetails, Verb::kCode}), true},
    {"--language", Option::kLanguage, Verbs({Verb::kCode}), true},
    {"--by", Option::kBy, Verbs({Verb::kCode}), true},
    {"--declarations", Option::kDeclarations, Verbs({Verb::kCode}), false},
    {"--action", Option::kAction, Verbs({Verb::kCode}), true},
    {"--text", Option::kText, Verbs({Verb::kCode}), true},
    {"--wait", Option::kWait, Verbs({Verb::kCode}), false}};

const KnownOption* FindOption(Verb verb, std::string_view name) {
  for (const KnownOption& known : kOptions) {
    if (known.name == name && (known.verbs & Verbs({verb}))) return &known;
  }
  return nullptr;
}

// What the words that are not options name: the window, or the snapshots.
std::optional<UsageError> TakePositionals(Command& command,
                                          std::vector<std::string> words) {
  switch (command.verb) {
    case Verb::kDetails:
    case Verb::kCode:
      if (command.window.at) {
        if (!words.empty()) return UsageError{"--at and a window were both given"};
        return std::nullopt;
      }
      if (words.empty()) return UsageError{"no window was given"};
      if (words.size() == 1) command.window.handle = ParseHandle(words[0]);
      if (!command.window.handle) command.window.path = std::move(words);
      return std::nullopt;
    case Verb::kCompare:
      if (words.size() != 2) return UsageError{"compare takes two snapshot files"};
      command.before = std::move(words[0]);
      command.after = std::move(words[1]);
      return std::nullopt;
    default:
      if (!words.empty()) return UsageError{"unexpected argument: " + words[0]};
      return std::nullopt;
  }
}

}  // namespace

std::optional<WindowHandle> ParseHandle(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  const auto value = ParseNumber(hex ? text.substr(2) : text, hex ? 16 : 10);
  if (!value || *value > UINT32_MAX || (negative && (hex || *value > INT32_MAX + 1LL))) {
    return std::nullopt;
  }
  // A handle's 32 bits, however they are written.
  return static_cast<WindowHandle>(
      static_cast<std::uint32_t>(negative ? -*value : *value));
}

std::variant<Command, UsageError> ParseArguments(const std::vector<std::string>& args) {
  Command command;
  if (args.empty()) return UsageError{"no command was given"};
  const auto verb = Lookup(kVerbs, args[0]);
  if (!verb) return UsageError{"unknown command: " + args[0]};
  command.verb = *verb;
  std::vector<std::string> words;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      words.push_back(arg);
      continue;
    }
    const KnownOption* known = FindOption(command.verb, arg);
    if (!known) return UsageError{"unknown option: " + arg};
    if (known->takes_value && i + 1 == args.size())
      return UsageError{arg + " needs a value"};
    const std::string_view value = known->takes_value ? std::string_view(args[++i]) : "";
    switch (known->option) {
      case Option::kJson:
        command.json = true;
        break;
      case Option::kDeclarations:
        command.style.declarations = true;
        break;
      case Option::kWait:
        command.style.action.wait = true;
        break;
      case Option::kFilter:
        command.filter = value;
        break;
      case Option::kText:
        command.text = std::string(value);
        break;
      case Option::kAt:
        command.window.at = ParsePoint(value);
        if (!command.window.at) return UsageError{"--at wants X,Y, not " + args[i]};
        break;
      case Option::kLanguage: {
        const auto language = Lookup(kLanguages, value);
        if (!language) return UsageError{"unknown language: " + args[i]};
        command.language = *language;
        break;
      }
      case Option::kBy: {
        const auto way = Lookup(kWays, value);
        if (!way) return UsageError{"--by wants position or id-title, not " + args[i]};
        command.style.way = *way;
        break;
      }
      case Option::kAction: {
        const auto action = Lookup(kActions, value);
        if (!action) return UsageError{"unknown action: " + args[i]};
        command.action = *action;
        break;
      }
    }
  }
  if (auto error = TakePositionals(command, std::move(words))) return *error;
  return command;
}

std::string HelpText() {
  const std::string packed = UnpackText(kPackedHelpParts);
  std::string text;
  for (std::size_t i = kHelpParts[0].begin; i < kHelpParts[0].end; ++i) {
    if (packed[i] == '\n') text += '\r';
    text += packed[i];
  }
  return text + "\r\n";
}

}  // namespace winscout::cli
