#include "codegen/visual_basic.h"

#include <algorithm>
#include <initializer_list>

#include "codegen/action_code.h"
#include "codegen/finder_language.h"
#include "platform/unicode_text.h"

namespace winscout::codegen {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::ranges::transform(lower, lower.begin(), [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower;
}

// Names a VB6 or VB.NET compiler rejects as a variable, in lower case. The
// keyword lists of both languages are plain; the rows after them say why
// each further word is here.
// clang-format off
constexpr std::string_view kReserved =
    // VB.NET's reserved keywords.
    " addhandler addressof alias and andalso as boolean byref byte byval call case"
    " catch cbool cbyte cchar cdate cdbl cdec char cint class clng cobj const"
    " continue csbyte cshort csng cstr ctype cuint culng cushort date decimal declare"
    " default delegate dim directcast do double each else elseif end endif enum erase"
    " error event exit false finally for friend function get gettype getxmlnamespace"
    " global gosub goto handles if implements imports in inherits integer interface"
    " is isnot let lib like long loop me mod module mustinherit mustoverride mybase"
    " myclass nameof namespace narrowing new next not nothing notinheritable"
    " notoverridable object of on operator option optional or orelse out overloads"
    " overridable overrides paramarray partial private property protected public"
    " raiseevent readonly redim rem removehandler resume return sbyte select set"
    " shadows shared short single static step stop string structure sub synclock then"
    " throw to true try trycast typeof uinteger ulong ushort using variant wend when"
    " while widening with withevents writeonly xor"
    // VB6's keywords beyond those.
    " any ccur clnglng clngptr currency cvar defbool defbyte defcur defdate defdbl"
    " defdec defint deflng deflnglng deflngptr defobj defsng defstr defvar empty eqv"
    " imp longlong longptr lset null rset type until"
    // VB6 statements that a line may begin with, so "Close = ..." is no assignment.
    " close input lock open print put seek unlock write"
    // VB6 reads these as part of the statements above (Print #1, Spc(2); ...).
    " spc tab"
    // VB6 parses these calls itself, not as functions of its library.
    " abs array cverr fix inputb int lbound len lenb sgn ubound"
    // VB6's graphics methods with a syntax of their own (Line is not one: it is
    // only a method name).
    " circle pset scale"
    // VB6's Debug object and DoEvents are keywords of its language, not names.
    " debug doevents"
    // VB6 reserves these for its implementation.
    " attribute cdecl lineinput"
    // Names the emitted code calls, its actions' included.
    " chr chrw findwindow findwindowex getdesktopwindow getdlgitem strptr"
    " vbnullstring getdlgctrlid getparent postmessage sendmessage sendmessagetimeout"
    " sleep ";
// clang-format on

// VB identifiers end at 255 characters.
constexpr std::size_t kMaxNameLength = 255;

// The characters that VB.NET's scanner reads as a double quote besides the
// ASCII one (the left and right quotation marks and the full-width quote):
// raw, they would end the literal.
constexpr char32_t kOtherQuotes[] = {0x201c, 0x201d, 0xff02};

// The Unicode form spells every character outside ASCII as ChrW pieces, so
// that the literal holds the real name in any editor; a character past the
// basic plane takes two, its surrogates.
std::string VisualBasicLiteral(std::string_view text, bool unicode) {
  std::string literal = "\"";
  auto splice = [&](std::string_view call) {
    literal += "\" & " + std::string(call) + " & \"";
  };
  auto call = [](std::string_view function, char32_t code) {
    return std::string(function) + "(" + std::to_string(code) + ")";
  };
  for (const auto& [c, bytes] : Characters(text)) {
    if (c == '"') {
      literal += "\"\"";
    } else if (c < 0x20 || c == 0x7f) {
      splice(call("Chr", c));
    } else if (std::ranges::find(kOtherQuotes, c) != std::end(kOtherQuotes) ||
               (unicode && c >= 0x80)) {
      splice(c > 0xffff ? call("ChrW", 0xd800 + ((c - 0x10000) >> 10)) + " & " +
                              call("ChrW", 0xdc00 + ((c - 0x10000) & 0x3ff))
                        : call("ChrW", c));
    } else {
      literal += bytes;
    }
  }
  return literal + "\"";
}

}  // namespace

std::string VisualBasicLiteral(std::string_view text) {
  return VisualBasicLiteral(text, false);
}

std::string VisualBasicUnicodeLiteral(std::string_view text) {
  return VisualBasicLiteral(text, true);
}

bool IsVisualBasicReserved(std::string_view name) {
  return InWordList(kReserved, Lower(name));
}

std::vector<std::string> VisualBasicNames(const SearchPlan& plan) {
  return NumberedNames(plan,
                       {.base = [](std::string_view name) { return std::string(name); },
                        .reserved = IsVisualBasicReserved,
                        .max_length = kMaxNameLength,
                        .ignore_case = true});
}

std::vector<std::string> VisualBasicDeclarations(const FinderCalls& calls, bool unicode,
                                                 bool vba7) {
  const std::string declare =
      vba7 ? "Private Declare PtrSafe Function " : "Private Declare Function ";
  const std::string handle = vba7 ? "LongPtr" : "Long";
  // The W functions take the strings' addresses (StrPtr).
  const std::string text = unicode ? handle : "String";
  const std::string suffix = unicode ? "W" : "A";
  std::vector<std::string> lines;
  if (calls.find_window) {
    lines.push_back(declare + "FindWindow Lib \"user32\" Alias \"FindWindow" + suffix +
                    "\" (ByVal lpClassName As " + text + ", ByVal lpWindowName As " +
                    text + ") As " + handle);
  }
  if (calls.find_window_ex) {
    lines.push_back(declare + "FindWindowEx Lib \"user32\" Alias \"FindWindowEx" +
                    suffix + "\" (ByVal hWndParent As " + handle +
                    ", ByVal hWndChildAfter As " + handle + ", ByVal lpszClass As " +
                    text + ", ByVal lpszWindow As " + text + ") As " + handle);
  }
  if (calls.dialog_item) {
    lines.push_back(declare + "GetDlgItem Lib \"user32\" (ByVal hDlg As " + handle +
                    ", ByVal nIDDlgItem As Long) As " + handle);
  }
  if (calls.desktop) {
    lines.push_back(declare + "GetDesktopWindow Lib \"user32\" () As " + handle);
  }
  return lines;
}

std::vector<std::string> VisualBasicCallLines(const SearchPlan& plan,
                                              const std::vector<FinderStep>& steps,
                                              const std::vector<std::string>& names,
                                              VisualBasicStrings strings) {
  const bool pointers = strings == VisualBasicStrings::kPointers;
  const StatementSyntax syntax{
      .null_handle = "0",
      .null_text = pointers ? "0" : "vbNullString",
      .text =
          [&](std::string_view value) {
            std::string literal =
                VisualBasicLiteral(value, strings != VisualBasicStrings::kAnsi);
            return pointers ? "StrPtr(" + literal + ")" : literal;
          },
      .unreached = StatementSyntax::Unreached::kNone};
  return StatementLines(plan, steps, names, syntax);
}

std::string EmitVisualBasic(const SearchPlan& plan, const FinderStyle& style) {
  const std::vector<std::string> names = VisualBasicNames(plan);
  const std::vector<FinderStep> steps = FinderSteps(plan, style.way);
  const bool unicode = NeedsUnicode(plan, style.way);
  const ActionCode act =
      SpellAction(style.action, FinderLanguage::kVisualBasic, names, style.declarations);
  std::vector<std::string> lines;
  if (style.declarations) {
    lines = VisualBasicDeclarations(CallsOf(steps), unicode, /*vba7=*/false);
    lines.insert(lines.end(), act.declarations.begin(), act.declarations.end());
  } else if (unicode) {
    lines.emplace_back(kUnicodeNote);
  }
  if (const std::string note = PositionNote(plan, style.way, names); !note.empty()) {
    lines.push_back("' " + note);
  }
  for (const std::string& name : names) lines.push_back("Dim " + name + " As Long");
  const VisualBasicStrings strings = !unicode             ? VisualBasicStrings::kAnsi
                                     : style.declarations ? VisualBasicStrings::kPointers
                                                          : VisualBasicStrings::kUnicode;
  lines.insert(lines.end(), act.before.begin(), act.before.end());
  for (std::string& line : VisualBasicCallLines(plan, steps, names, strings)) {
    lines.push_back(act.inner_indent + line);
  }
  lines.insert(lines.end(), act.after.begin(), act.after.end());
  return JoinLines(lines);
}

}  // namespace winscout::codegen
