#include "codegen/visual_basic.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "codegen/finder_language.h"
#include "codegen/var_name.h"

namespace winscout::codegen {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower;
}

// Reserved words of VB6 and VB.NET (VB6's special forms and reserved names
// such as Int and LBound included), statement words of VB6 that cannot be
// assigned to, and the names the emitted lines call; lower case, sorted.
// clang-format off
constexpr std::array<std::string_view, 234> kReserved = {
    "abs",             "access",          "addhandler",      "addressof",       "alias",
    "and",             "andalso",         "any",             "append",          "array",
    "as",              "attribute",       "base",            "binary",          "boolean",
    "byref",           "byte",            "byval",           "call",            "case",
    "catch",           "cbool",           "cbyte",           "cchar",           "ccur",
    "cdate",           "cdbl",            "cdec",            "cdecl",           "char",
    "chr",             "cint",            "circle",          "class",           "clng",
    "clnglng",         "clngptr",         "close",           "cobj",            "compare",
    "const",           "continue",        "csbyte",          "cshort",          "csng",
    "cstr",            "ctype",           "cuint",           "culng",           "currency",
    "cushort",         "cvar",            "cverr",           "database",        "date",
    "debug",           "decimal",         "declare",         "default",         "defbool",
    "defbyte",         "defcur",          "defdate",         "defdbl",          "defdec",
    "defint",          "deflng",          "deflnglng",       "deflngptr",       "defobj",
    "defsng",          "defstr",          "defvar",          "delegate",        "dim",
    "directcast",      "do",              "doevents",        "double",          "each",
    "else",            "elseif",          "empty",           "end",             "endif",
    "enum",            "eqv",             "erase",           "error",           "event",
    "exit",            "explicit",        "false",           "finally",         "findwindow",
    "findwindowex",    "fix",             "for",             "friend",          "function",
    "get",             "gettype",         "getxmlnamespace", "global",          "gosub",
    "goto",            "handles",         "if",              "imp",             "implements",
    "imports",         "in",              "inherits",        "input",           "inputb",
    "int",             "integer",         "interface",       "is",              "isnot",
    "lbound",          "len",             "lenb",            "let",             "lib",
    "like",            "line",            "lineinput",       "lock",            "long",
    "longlong",        "longptr",         "loop",            "lset",            "me",
    "mid",             "mod",             "module",          "mustinherit",     "mustoverride",
    "mybase",          "myclass",         "name",            "nameof",          "namespace",
    "narrowing",       "new",             "next",            "not",             "nothing",
    "notinheritable",  "notoverridable",  "null",            "object",          "of",
    "on",              "open",            "operator",        "option",          "optional",
    "or",              "orelse",          "out",             "output",          "overloads",
    "overridable",     "overrides",       "paramarray",      "partial",         "preserve",
    "print",           "private",         "property",        "protected",       "pset",
    "public",          "put",             "raiseevent",      "random",          "read",
    "readonly",        "redim",           "rem",             "removehandler",   "resume",
    "return",          "rset",            "sbyte",           "scale",           "seek",
    "select",          "set",             "sgn",             "shadows",         "shared",
    "short",           "single",          "spc",             "static",          "step",
    "stop",            "string",          "structure",       "sub",             "synclock",
    "tab",             "text",            "then",            "throw",           "to",
    "true",            "try",             "trycast",         "type",            "typeof",
    "ubound",          "uinteger",        "ulong",           "unlock",          "until",
    "ushort",          "using",           "variant",         "vbnullstring",    "wend",
    "when",            "while",           "widening",        "width",           "with",
    "withevents",      "write",           "writeonly",       "xor",
};
// clang-format on

static_assert(std::ranges::is_sorted(kReserved), "binary search needs a sorted list");

// VB identifiers end at 255 characters; the number may need a few more.
constexpr std::size_t kMaxBaseLength = 240;

}  // namespace

std::string VisualBasicLiteral(std::string_view text) {
  std::string literal = "\"";
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"') {
      literal += "\"\"";
    } else if (code < 0x20 || code == 0x7f) {
      literal += "\" & Chr(" + std::to_string(code) + ") & \"";
    } else {
      literal += c;
    }
  }
  return literal + "\"";
}

bool IsVisualBasicReserved(std::string_view name) {
  const std::string lower = Lower(name);
  return std::binary_search(kReserved.begin(), kReserved.end(), lower);
}

std::vector<std::string> VisualBasicNames(const SearchPlan& plan) {
  // Numbered names cannot meet plain ones (a class's variable name has no
  // digits), so a counter per base name keeps every name unique.
  std::unordered_map<std::string, int> uses;
  std::vector<std::string> names;
  names.reserve(plan.levels.size());
  for (const PlannedLevel& level : plan.levels) {
    std::string base = VarNameFromClass(level.class_name);
    if (base.size() > kMaxBaseLength) base.resize(kMaxBaseLength);
    const bool reserved = IsVisualBasicReserved(base);
    const int use = ++uses[Lower(base)];
    if (reserved) {
      names.push_back(base + std::to_string(use));
    } else {
      names.push_back(use == 1 ? base : base + std::to_string(use));
    }
  }
  return names;
}

std::string EmitVisualBasic(const SearchPlan& plan) {
  const std::vector<std::string> names = VisualBasicNames(plan);
  std::vector<std::string> lines;
  for (const std::string& name : names) lines.push_back("Dim " + name + " As Long");
  for (const FinderStep& step : FinderSteps(plan)) {
    const std::string& v = names[step.level];
    const std::string literal = VisualBasicLiteral(plan.levels[step.level].class_name);
    switch (step.call) {
      case FinderStep::Call::kNone:
        break;
      case FinderStep::Call::kFindWindow:
        lines.push_back(v + " = FindWindow(" + literal + ", vbNullString)");
        break;
      case FinderStep::Call::kFindWindowEx:
        lines.push_back(v + " = FindWindowEx(" +
                        (step.parent ? names[*step.parent] : "0") + ", " +
                        (step.after_self ? v : "0") + ", " + literal + ", vbNullString)");
        break;
    }
  }
  return JoinLines(lines);
}

}  // namespace winscout::codegen
