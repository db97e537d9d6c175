#include "tests/support/vb_check.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "tests/support/vb_replay.h"

namespace winscout::testing {
namespace {

// In lower case. Kept apart from the generator's own list on purpose: a word
// missing there must show up here as a finding.
constexpr std::string_view kReserved[] = {
    // VB6 / VBA statement and marker keywords.
    "any", "as", "byref", "byval", "call", "case", "close", "const", "declare", "defbool",
    "defbyte", "defcur", "defdate", "defdbl", "defdec", "defint", "deflng", "deflnglng",
    "deflngptr", "defobj", "defsng", "defstr", "defvar", "dim", "do", "each", "else",
    "elseif", "end", "endif", "enum", "erase", "error", "event", "exit", "for", "friend",
    "function", "get", "global", "gosub", "goto", "if", "implements", "in", "input",
    "let", "lock", "loop", "lset", "new", "next", "on", "open", "option", "optional",
    "paramarray", "preserve", "print", "private", "public", "put", "raiseevent", "redim",
    "rem", "resume", "return", "rset", "seek", "select", "set", "shared", "spc", "static",
    "step", "stop", "sub", "tab", "then", "to", "type", "unlock", "until", "wend",
    "while", "with", "withevents", "write",
    // VB6 / VBA operators.
    "addressof", "and", "eqv", "imp", "is", "like", "mod", "not", "or", "typeof", "xor",
    // VB6 / VBA names with a fixed meaning in expressions, and special forms.
    "abs", "array", "cbool", "cbyte", "ccur", "cdate", "cdbl", "cdec", "cint", "circle",
    "clng", "clnglng", "clngptr", "csng", "cstr", "cvar", "cverr", "debug", "doevents",
    "fix", "inputb", "int", "lbound", "len", "lenb", "me", "pset", "scale", "sgn",
    "ubound",
    // VB6 / VBA types and literals.
    "boolean", "byte", "currency", "date", "decimal", "double", "integer", "long",
    "longlong", "longptr", "object", "single", "string", "variant", "empty", "false",
    "nothing", "null", "true",
    // VB6 / VBA words reserved for the implementation or the future.
    "attribute", "cdecl", "lineinput",
    // VB.NET reserved keywords beyond the above.
    "addhandler", "alias", "andalso", "catch", "cchar", "char", "class", "cobj",
    "continue", "csbyte", "cshort", "ctype", "cuint", "culng", "cushort", "default",
    "delegate", "directcast", "finally", "gettype", "getxmlnamespace", "handles",
    "imports", "inherits", "interface", "isnot", "lib", "module", "mustinherit",
    "mustoverride", "mybase", "myclass", "nameof", "namespace", "narrowing",
    "notinheritable", "notoverridable", "of", "operator", "orelse", "out", "overloads",
    "overridable", "overrides", "partial", "property", "protected", "readonly",
    "removehandler", "sbyte", "shadows", "short", "structure", "synclock", "throw", "try",
    "trycast", "uinteger", "ulong", "ushort", "using", "when", "widening", "writeonly",
    // The names the finder code itself calls, its actions' and its routine's too.
    "chr", "chrw", "findwindow", "findwindowex", "getdesktopwindow", "vbnullstring",
    "left", "right", "strptr", "sendmessagetimeout", "postmessage", "vbnullchar"};

constexpr std::size_t kMaxIdentifierLength = 255;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string At(const VbLine& line) {
  return "line " + std::to_string(line.number) + ": ";
}

}  // namespace

bool IsReservedInVb(std::string_view name) {
  return std::ranges::find(kReserved, FoldVbName(name)) != std::end(kReserved);
}

bool IsVbIdentifier(std::string_view name) {
  return !name.empty() && name.size() <= kMaxIdentifierLength &&
         IsAsciiLetter(name.front()) && std::ranges::all_of(name, [](char c) {
           return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_';
         });
}

namespace {

std::string AtNumber(int number) { return "line " + std::to_string(number) + ": "; }

// The names that code with the FindWindowLike routine calls besides the
// others.
bool IsHelperName(std::string_view name) {
  constexpr std::string_view kHelperNames[] = {"findwindowlike", "getclassname",
                                               "getwindowtext", "getwindowtextlength"};
  return std::ranges::find(kHelperNames, FoldVbName(name)) != std::end(kHelperNames);
}

// The handle type of one branch: LongPtr under VBA7, Long before it and in
// code that is not VBA.
void CheckTypes(const VbParse& parse, bool vba7, std::vector<std::string>& problems) {
  const std::string handle = vba7 ? "LongPtr" : "Long";
  for (const VbDeclare& declare : parse.declares) {
    if (declare.ptr_safe != vba7) {
      problems.push_back(AtNumber(declare.number) + declare.name +
                         (vba7 ? " lacks PtrSafe" : " has PtrSafe outside VBA7"));
    }
    // The text functions return a count, an int; the others a handle.
    const std::string result = IsHelperName(declare.name) ? "Long" : handle;
    if (declare.result_type != result) {
      problems.push_back(AtNumber(declare.number) + declare.name + " returns " +
                         declare.result_type + ", not " + result);
    }
    for (const std::string& type : declare.parameter_types) {
      if (type != handle && type != "String" && type != "Long") {
        problems.push_back(AtNumber(declare.number) + declare.name + " takes a " + type);
      }
      if (type == "LongPtr" && !vba7) {
        problems.push_back(AtNumber(declare.number) + declare.name +
                           " takes a LongPtr outside VBA7");
      }
    }
  }
  for (const VbLine& line : parse.lines) {
    if (line.kind == VbLineKind::kDeclaration && line.type != handle) {
      problems.push_back(At(line) + line.variable + " is a " + line.type + ", not " +
                         handle);
    }
  }
  if (parse.helper.number != 0 && parse.helper.handle_type != handle) {
    problems.push_back(AtNumber(parse.helper.number) + "FindWindowLike takes a " +
                       parse.helper.handle_type + ", not a " + handle);
  }
  if (!parse.function.empty() && parse.function_type != handle) {
    problems.push_back(parse.function + " returns " + parse.function_type + ", not " +
                       handle);
  }
}

// The routine is there when called, and called when there.
void CheckHelper(const VbParse& parse, std::vector<std::string>& problems) {
  const bool called = std::ranges::any_of(
      parse.lines, [](const VbLine& line) { return line.kind == VbLineKind::kFindLike; });
  if (called && parse.helper.number == 0) {
    problems.push_back("FindWindowLike is called but not in the code");
  }
  if (!called && parse.helper.number != 0) {
    problems.push_back(AtNumber(parse.helper.number) + "FindWindowLike is never called");
  }
}

bool IsDeclared(const VbParse& parse, std::string_view function) {
  return std::ranges::any_of(parse.declares, [&](const VbDeclare& declare) {
    return FoldVbName(declare.name) == FoldVbName(function);
  });
}

// What the code calls must be declared where it declares anything.
void CheckDeclared(const VbParse& parse, std::vector<std::string>& problems) {
  if (parse.declares.empty()) return;
  if (parse.helper.number != 0) {
    for (std::string_view function :
         {"FindWindowEx", "GetClassName", "GetWindowText", "GetWindowTextLength"}) {
      if (!IsDeclared(parse, function)) {
        problems.push_back(AtNumber(parse.helper.number) + "FindWindowLike calls " +
                           std::string(function) + ", which is not declared");
      }
    }
  }
  for (const VbLine& line : parse.lines) {
    std::string_view called;
    switch (line.kind) {
      case VbLineKind::kFindWindow:
        called = "FindWindow";
        break;
      case VbLineKind::kFindWindowEx:
        called = "FindWindowEx";
        break;
      case VbLineKind::kDesktop:
        called = "GetDesktopWindow";
        break;
      case VbLineKind::kDialogItem:
        called = "GetDlgItem";
        break;
      case VbLineKind::kDeclaration:
      case VbLineKind::kResult:
      case VbLineKind::kFindLike:  // the code's own routine
      case VbLineKind::kStatement:
        continue;
    }
    if (!IsDeclared(parse, called)) {
      problems.push_back(At(line) + std::string(called) + " is not declared");
    }
  }
}

std::vector<std::string> CheckBranch(const VbParse& parse, bool vba7) {
  if (!parse.error.empty()) return {parse.error};
  std::vector<std::string> problems;
  std::unordered_set<std::string> declared;
  bool calls_begun = false;
  bool returned = false;
  auto require_declared = [&](const VbLine& line, const std::string& name) {
    if (!declared.contains(FoldVbName(name))) {
      problems.push_back(At(line) + name + " is used before it is declared");
    }
  };
  for (const VbLine& line : parse.lines) {
    if (returned) problems.push_back(At(line) + "a line after the function's result");
    if (line.kind == VbLineKind::kResult) {
      require_declared(line, line.variable);
      returned = true;
      continue;
    }
    if (line.kind != VbLineKind::kDeclaration) {
      calls_begun = true;
      require_declared(line, line.variable);
      if (!line.parent.empty()) require_declared(line, line.parent);
      continue;
    }
    const std::string& name = line.variable;
    if (calls_begun) problems.push_back(At(line) + "declaration among the call lines");
    if (!IsVbIdentifier(name)) {
      problems.push_back(At(line) + name + " is not a Visual Basic identifier");
    }
    if (IsReservedInVb(name) || (parse.helper.number != 0 && IsHelperName(name))) {
      problems.push_back(At(line) + name + " is a reserved word");
    }
    if (!parse.function.empty() && FoldVbName(name) == FoldVbName(parse.function)) {
      problems.push_back(At(line) + name + " is the function's own name");
    }
    if (!declared.insert(FoldVbName(name)).second) {
      problems.push_back(At(line) + name + " is declared twice");
    }
  }
  if (declared.empty()) problems.push_back("no variable is declared");
  if (!calls_begun) problems.push_back("no call line");
  if (!parse.function.empty() && !returned)
    problems.push_back("the function returns nothing");
  CheckTypes(parse, vba7, problems);
  CheckHelper(parse, problems);
  CheckDeclared(parse, problems);
  return problems;
}

}  // namespace

std::vector<std::string> CheckFinderCode(std::string_view text) {
  // VBA is checked as both Office versions read it; other code as VB6 does.
  const bool vba = text.find("#If VBA7 Then") != std::string_view::npos;
  std::vector<std::string> problems = CheckBranch(ParseFinderCode(text), vba);
  if (vba) {
    for (std::string& problem : CheckBranch(ParseFinderCode(text, false), false)) {
      problems.push_back("before VBA7: " + std::move(problem));
    }
  }
  return problems;
}

}  // namespace winscout::testing
