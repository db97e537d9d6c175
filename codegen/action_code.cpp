#include "codegen/action_code.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "codegen/csharp_emitter.h"
#include "codegen/finder_texts.h"
#include "codegen/literals.h"
#include "codegen/names.h"
#include "codegen/statements.h"
#include "codegen/template_text.h"
#include "codegen/visual_basic.h"
#include "platform/packed_text.h"
#include "platform/text_pieces.h"
#include "platform/unicode_text.h"

// The action code is kept as text with placeholders rather than built from
// pieces (action_templates.txt says what they stand for): the program carries
// the text once, packed, not the code that would build it.

namespace winscout::codegen {
namespace {

enum Dialect : char { kVb = 'v', kCpp = 'c', kCs = 's', kPy = 'p' };

// A template of one dialect for an action on one kind of list: 'b' combo or
// list box, 'l' list view, 't' tree view, '-' any; the wait has 'w' (before
// the searches) and 'a' (after them) under kFindOnly, and so have the
// declarations, by the capital letter of what they declare.
struct ActionTemplate {
  char dialect;
  Action action;
  char list;
  std::uint16_t begin, end;  // in the texts unpacked
};

// The templates' texts, kept in action_templates.txt and packed at build
// time.
#include "codegen/action_templates.inc"

// clang-format off

// The message constants that the languages without the Windows headers
// define, and the constants each action uses (placeholders as in the
// templates).
// NAME=value a word, the values as written, "x" before the hexadecimal ones,
// in the order written.
constexpr std::string_view kConstants =
    "BM_CLICK=xF5 BM_GETCHECK=xF0 BST_CHECKED=1 BST_UNCHECKED=0 CBN_SELCHANGE=1"
    " CB_ERR=-1 CB_GETCOUNT=x146 CB_GETLBTEXT=x148 CB_GETLBTEXTLEN=x149"
    " CB_SELECTSTRING=x14D LBN_SELCHANGE=1 LB_ERR=-1 LB_GETCOUNT=x18B LB_GETTEXT=x189"
    " LB_GETTEXTLEN=x18A LB_SELECTSTRING=x18C SMTO_ABORTIFHUNG=2 WM_CLOSE=x10"
    " WM_COMMAND=x111 WM_GETTEXT=xD WM_GETTEXTLENGTH=xE WM_SETTEXT=xC";
constexpr const char* kActionConstants[] = {
    "",                                               // kFindOnly
    "SMTO_ABORTIFHUNG WM_GETTEXT WM_GETTEXTLENGTH",                 // kReadText
    "WM_CLOSE",                                                     // kClose
    "BM_CLICK",                                                     // kClick
    "BM_CLICK BM_GETCHECK SMTO_ABORTIFHUNG {checked_state}",        // kCheck
    "BM_CLICK BM_GETCHECK SMTO_ABORTIFHUNG {checked_state}",        // kUncheck
    "SMTO_ABORTIFHUNG WM_SETTEXT",                                  // kSetText
    "{error} {changed} {select} SMTO_ABORTIFHUNG WM_COMMAND",       // kChooseItem
    "{count} {error} {get_text} {length} SMTO_ABORTIFHUNG",         // kReadItems
    "",                                                             // kSelectItem
};
// What each action calls, by the letters of its declarations.
constexpr const char* kActionCalls[] = {"", "T", "P", "P", "TP", "TP", "T", "TSG", "T", ""};
// clang-format on

constexpr int kTries = kWaitSeconds * 10;
constexpr int kTryPauseMs = 100;

bool SameName(std::string_view a, std::string_view b, bool ignore_case) {
  if (!ignore_case) return a == b;
  auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

// The templates' placeholders (action_templates.txt declares the same), in
// Context::Fill's order.
constexpr std::string_view kPlaceholders[] = {
    "target",    "text",       "timeout",    "checked_state", "select",     "error",
    "changed",   "count",      "length",     "get_text",      "tries",      "pause",
    "not_found", "gone",       "declared",   "handle",        "declare",    "import",
    "note_hung", "note_click", "note_check", "note_choose",   "note_items", "note_wait"};
constexpr std::size_t kFirstNote = 18;

// What the placeholders stand for in one piece of code.
struct Context {
  // The target is the last of the levels' names, where there are any.
  Context(const ActionPlan& plan, Dialect dialect, const std::vector<std::string>& names,
          const ScriptPlace* place = nullptr)
      : plan(plan),
        dialect(dialect),
        target(names.empty() ? "" : names.back()),
        taken(names),
        ignore_case(dialect == kVb),
        taken_before(place ? std::string_view(place->taken) : std::string_view()) {}

  const ActionPlan& plan;
  Dialect dialect;
  std::string target;
  std::string handle_type = "Long";  // {handle}
  std::string declared;              // {declared}
  // The levels' names, then the locals made so far, base -> name.
  std::vector<std::string> taken;
  std::vector<std::pair<std::string, std::string>> locals;
  bool ignore_case = false;
  // In a script, the names of the steps before (a word list).
  std::string_view taken_before;
  // Visual Basic: the String that a text too long for one line is built in.
  std::string text_variable;

  std::string Local(const std::string& base) {
    for (const auto& [known, name] : locals) {
      if (known == base) return name;
    }
    std::string name = base;
    auto in_use = [&](const std::string& candidate) {
      return std::ranges::any_of(taken,
                                 [&](const std::string& t) {
                                   return SameName(t, candidate, ignore_case);
                                 }) ||
             TakenBefore(candidate);
    };
    for (int n = 2; in_use(name); ++n) {
      name = base + DecimalText(n);
    }
    taken.push_back(name);
    locals.emplace_back(base, name);
    return name;
  }

  bool TakenBefore(const std::string& name) const {
    if (!ignore_case) return InWordList(taken_before, name);
    for (std::size_t at = 0; at < taken_before.size();) {
      std::size_t end = taken_before.find(' ', at);
      if (end == std::string_view::npos) end = taken_before.size();
      if (SameName(taken_before.substr(at, end - at), name, true)) return true;
      at = end + 1;
    }
    return false;
  }

  // The locals' names, for the steps after.
  std::vector<std::string> LocalNames() const {
    std::vector<std::string> names;
    for (const auto& local : locals) names.push_back(local.second);
    return names;
  }

  std::string Literal() const {
    switch (dialect) {
      case kVb:
        return text_variable.empty() ? VisualBasicUnicodeLiteral(plan.text)
                                     : text_variable;
      case kCpp:
        return CppWideLiteral(plan.text);
      case kCs:
        return CSharpLiteral(plan.text);
      case kPy:
        return PythonLiteral(plan.text);
    }
    return {};
  }

  // Appends what the placeholder `name` stands for.
  void Fill(std::string_view name, std::string& out) {
    if (name.starts_with('@')) {
      out += Local(std::string(name.substr(1)));
      return;
    }
    const bool combo = plan.kind == TargetKind::kComboBox;
    const auto index =
        static_cast<std::size_t>(std::ranges::find(kPlaceholders, name) - kPlaceholders);
    switch (index) {
      case 0:
        out += target;
        break;
      case 1:
        out += Literal();
        break;
      case 2:
        out += DecimalText(kAnswerTimeoutMs);
        break;
      case 3:
        out += plan.action == Action::kCheck ? "BST_CHECKED" : "BST_UNCHECKED";
        break;
      case 4:
        out += combo ? "CB_SELECTSTRING" : "LB_SELECTSTRING";
        break;
      case 5:
        out += combo ? "CB_ERR" : "LB_ERR";
        break;
      case 6:
        out += combo ? "CBN_SELCHANGE" : "LBN_SELCHANGE";
        break;
      case 7:
        out += combo ? "CB_GETCOUNT" : "LB_GETCOUNT";
        break;
      case 8:
        out += combo ? "CB_GETLBTEXTLEN" : "LB_GETTEXTLEN";
        break;
      case 9:
        out += combo ? "CB_GETLBTEXT" : "LB_GETTEXT";
        break;
      case 10:
        out += DecimalText(kTries);
        break;
      case 11:
        out += DecimalText(kTryPauseMs);
        break;
      case 12:
        out += "The window was not found within ";
        out += DecimalText(kWaitSeconds);
        out += " seconds.";
        break;
      case 13:
        out += "The window went away or stopped answering while its items were read.";
        break;
      case 14:
        out += declared;
        break;
      case 15:
        out += handle_type;
        break;
      case 16:
        out += handle_type == "Long" ? "Declare" : "Declare PtrSafe";
        break;
      case 17:
        out += kCSharpImport;
        break;
      default:
        if (index < std::size(kPlaceholders)) {
          out += FinderTextLines(static_cast<FinderPart>(
                                     static_cast<std::size_t>(FinderPart::kNoteHung) +
                                     index - kFirstNote))
                     .front();
        }
        break;
    }
  }

  // The text's lines with every placeholder in place, each after `indent`.
  std::vector<std::string> Expand(std::string_view text, std::string_view indent = {}) {
    std::string expanded;
    ExpandTemplate(text, expanded,
                   [this](std::string_view name, std::string& out) { Fill(name, out); });
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= expanded.size();) {
      const std::size_t end = std::min(expanded.find('\n', start), expanded.size());
      const std::string_view line = std::string_view(expanded).substr(start, end - start);
      lines.push_back(line.empty() ? std::string()
                                   : std::string(indent) + std::string(line));
      start = end + 1;
    }
    return lines;
  }

  void Append(std::vector<std::string>& lines, std::string_view text,
              std::string_view indent = {}) {
    AppendLines(lines, Expand(text, indent));
  }
};

// Unpacked once, as the program starts (finder_texts.cpp says why not at the
// first use).
const std::string kTemplateTexts = UnpackText(kPackedActionTemplates);

std::string TemplateText(char dialect, Action action, char list) {
  for (const ActionTemplate& t : kActionTemplates) {
    if (t.dialect == dialect && t.action == action && t.list == list)
      return kTemplateTexts.substr(t.begin, t.end - t.begin);
  }
  return {};
}

std::string Body(char dialect, Action action, char list) {
  // Uncheck is Check with the other state.
  if (action == Action::kUncheck) action = Action::kCheck;
  return TemplateText(dialect, action, list);
}

char ListOf(const ActionPlan& plan) {
  if (plan.action != Action::kReadItems && plan.action != Action::kSelectItem) return '-';
  switch (plan.kind) {
    case TargetKind::kListView:
      return 'l';
    case TargetKind::kTreeView:
      return 't';
    default:
      return 'b';
  }
}

std::string_view Calls(const ActionPlan& plan) {
  return kActionCalls[static_cast<std::size_t>(plan.action)];
}

// The letters of the functions the plan calls, added to `calls` where not
// there yet.
void AddCalls(const ActionPlan& plan, std::string& calls) {
  std::string own(Calls(plan));
  if (plan.wait) own += 'Z';
  for (char call : own) {
    if (calls.find(call) == std::string::npos) calls += call;
  }
}

void AddDeclarations(Context& context, std::vector<std::string>& lines,
                     std::string_view calls) {
  for (char call : calls) {
    context.Append(lines, TemplateText(context.dialect, Action::kFindOnly, call));
  }
}

void AddDeclarations(Context& context, std::vector<std::string>& lines) {
  std::string calls;
  AddCalls(context.plan, calls);
  AddDeclarations(context, lines, calls);
}

// The names of the constants that the plan uses, as a word list.
std::string ConstantWords(const ActionPlan& plan, Dialect dialect) {
  if (dialect == kCpp) return {};
  if (ListOf(plan) != 'b' && plan.action == Action::kReadItems) return {};
  if (plan.action == Action::kSelectItem) return {};
  Context context(plan, dialect, {});
  return context.Expand(kActionConstants[static_cast<std::size_t>(plan.action)]).front();
}

// The constants named in `words`, one a line, in the dialect's form (Visual
// Basic's after `indent`), each once.
void AddConstants(Dialect dialect, std::string_view words,
                  std::vector<std::string>& lines, std::string_view indent = {}) {
  for (std::size_t at = 0; at < kConstants.size();) {
    const std::string_view constant =
        kConstants.substr(at, kConstants.find(' ', at) - at);
    at += constant.size() + 1;
    const std::string_view name = constant.substr(0, constant.find('='));
    std::string_view value = constant.substr(name.size() + 1);
    if (!InWordList(words, name)) continue;
    std::string line(indent);
    line += dialect == kVb ? "Const " : dialect == kCs ? "const int " : "";
    line += name;
    line += dialect == kVb ? " As Long = " : " = ";
    if (value.front() == 'x') {
      line += dialect == kVb ? "&H" : "0x";
      value.remove_prefix(1);
    }
    line += value;
    if (dialect == kCs) line += ';';
    lines.push_back(std::move(line));
  }
}

void AddConstants(Context& context, std::vector<std::string>& lines,
                  std::string_view indent = {}) {
  AddConstants(context.dialect, ConstantWords(context.plan, context.dialect), lines,
               indent);
}

void AddWait(Context& context, ActionCode& code, const std::vector<std::string>& names,
             std::string_view null_handle) {
  if (!context.plan.wait) return;
  for (const std::string& name : names) {
    if (!context.declared.empty()) context.declared += ", ";
    context.declared += name;
    context.declared += " = ";
    context.declared += null_handle;
  }
  const char dialect = context.dialect;
  context.Append(code.before, TemplateText(dialect, Action::kFindOnly, 'w'));
  context.Append(code.after, TemplateText(dialect, Action::kFindOnly, 'a'));
  code.inner_indent = "    ";
}

// The body's lines; list and tree views share the part that reaches into the
// target's process.
std::vector<std::string> BodyLines(Context& context, std::string_view indent = {}) {
  std::vector<std::string> lines;
  const char list = ListOf(context.plan);
  if ((list == 'l' || list == 't') && context.dialect != kCpp) {
    context.Append(lines, Body(context.dialect, Action::kReadItems, 'v'), indent);
    return lines;
  }
  if (list == 'l' || list == 't')
    context.Append(lines, Body(kCpp, Action::kReadItems, 'v'));
  context.Append(lines, Body(context.dialect, context.plan.action, list), indent);
  if (list == 'l' || list == 't')
    context.Append(lines, Body(kCpp, Action::kReadItems, 'e'));
  return lines;
}

// VB6 and the VBA editor refuse lines of more than 1,023 characters: a longer
// text is built across lines in a String of its own, which the action passes.
constexpr std::size_t kLongestLiteral = 600;
std::vector<std::string> LongTextLines(Context& context) {
  if (CodePoints(VisualBasicUnicodeLiteral(context.plan.text)).size() <= kLongestLiteral)
    return {};
  context.text_variable = context.Local("Wanted");
  return VisualBasicTextLines(context.text_variable, context.plan.text);
}

// Visual Basic's Declare lines for the calls, or the note that asks for them.
void AddVisualBasicDeclarations(Context& context, std::vector<std::string>& lines,
                                bool declare, std::string_view calls) {
  if (declare) {
    AddDeclarations(context, lines, calls);
  } else {
    // Texts go to the W functions by StrPtr, which other declarations of
    // them would not take.
    lines.push_back(
        "' The action calls the W functions (SendMessageTimeoutW, ...): \"Include "
        "declarations\" gives their Declare lines.");
  }
}

ActionCode SpellVisualBasic(const ActionPlan& plan, const std::vector<std::string>& names,
                            bool declare, const ScriptPlace* place) {
  ActionCode code;
  Context context(plan, kVb, names, place);
  if (!place) {
    std::string calls;
    AddCalls(plan, calls);
    AddVisualBasicDeclarations(context, code.declarations, declare, calls);
  }
  AddWait(context, code, names, "0");
  if (plan.action == Action::kFindOnly) return code;
  // In a script the constants are declared once, in its head.
  if (!place) AddConstants(context, code.after);
  AppendLines(code.after, LongTextLines(context));
  // The Dim lines go above the test for the window.
  std::vector<std::string> body;
  for (std::string& line : BodyLines(context, "    ")) {
    (line.starts_with("    Dim ") ? code.after : body)
        .push_back(line.starts_with("    Dim ") ? line.substr(4) : line);
  }
  context.Append(code.after, "If {target} <> 0 Then");
  AppendLines(code.after, body);
  code.after.push_back("End If");
  code.locals = context.LocalNames();
  return code;
}

// The Declare lines the action needs, for VBA with and without VBA7.
std::vector<std::string> VbaDeclarations(const ActionPlan& plan, bool vba7) {
  Context context(plan, kVb, {});
  context.handle_type = vba7 ? "LongPtr" : "Long";
  std::vector<std::string> lines;
  AddDeclarations(context, lines);
  return lines;
}

// VBA: the wait in FindTarget, the action in a procedure of its own.
ActionCode SpellVba(const ActionPlan& plan, const std::vector<std::string>& names,
                    const ScriptPlace* place) {
  ActionCode code;
  if (!place) {
    code.declarations = VbaDeclarations(plan, true);
    code.declarations_before_vba7 = VbaDeclarations(plan, false);
  }
  Context waiting(plan, kVb, names);
  AddWait(waiting, code, names, "0");
  if (plan.action == Action::kFindOnly) return code;
  Context context(plan, kVb, {"FindTarget", "ActOnTarget"});
  context.target = context.Local("Target");
  std::vector<std::string>& out = code.below;
  context.Append(out, "\nPublic Sub ActOnTarget()");
  AddConstants(context, out, "    ");
  // The handle-sized variables by VBA's version, the others once: the body
  // is written with a mark for their type.
  constexpr char kPointerType[] = "\x01";
  context.handle_type = kPointerType;
  std::vector<std::string> pointers = {"    Dim " + context.target + " As " +
                                       kPointerType};
  std::vector<std::string> others;
  std::vector<std::string> body;
  const std::vector<std::string> long_text = LongTextLines(context);
  for (std::string& line : BodyLines(context, "    ")) {
    if (!line.starts_with("    Dim ")) {
      body.push_back(std::move(line));
    } else {
      (line.ends_with(kPointerType) ? pointers : others).push_back(std::move(line));
    }
  }
  for (const char* type : {"LongPtr", "Long"}) {
    out.push_back(type == std::string_view("Long") ? "#Else" : "#If VBA7 Then");
    for (const std::string& line : pointers)
      out.push_back(line.substr(0, line.size() - 1) + type);
  }
  out.push_back("#End If");
  AppendLines(out, others);
  AppendLines(out, long_text, "    ");
  context.Append(out, "    {target} = FindTarget()\n    If {target} = 0 Then Exit Sub");
  AppendLines(out, body);
  out.push_back("End Sub");
  return code;
}

ActionCode SpellCpp(const ActionPlan& plan, const std::vector<std::string>& names,
                    const ScriptPlace* place) {
  ActionCode code;
  Context context(plan, kCpp, names, place);
  AddWait(context, code, names, "nullptr");
  if (plan.action == Action::kFindOnly) return code;
  AppendLines(code.after, BodyLines(context));
  code.locals = context.LocalNames();
  return code;
}

ActionCode SpellCSharp(const ActionPlan& plan, const std::vector<std::string>& names,
                       const ScriptPlace* place) {
  ActionCode code;
  Context context(plan, kCs, names, place);
  if (!place) {
    AddDeclarations(context, code.declarations);
    AddConstants(context, code.declarations);
  }
  AddWait(context, code, names, "System.IntPtr.Zero");
  if (plan.action == Action::kFindOnly) return code;
  context.Append(
      code.below,
      "\nstatic void ActOnTarget()\n{\n    System.IntPtr target = FindTarget();\n"
      "    if (target == System.IntPtr.Zero) return;");
  AppendLines(code.below, BodyLines(context, "    "));
  code.below.push_back("}");
  return code;
}

ActionCode SpellPython(const ActionPlan& plan, const std::vector<std::string>& names,
                       const ScriptPlace* place) {
  ActionCode code;
  Context context(plan, kPy, names, place);
  if (!place) {
    AddDeclarations(context, code.declarations);
    AddConstants(context, code.declarations);
  }
  AddWait(context, code, names, "None");
  if (plan.action == Action::kFindOnly) return code;
  AppendLines(code.after, BodyLines(context));
  code.locals = context.LocalNames();
  return code;
}

}  // namespace

ActionCode SpellAction(const ActionPlan& plan, FinderLanguage language,
                       const std::vector<std::string>& names, bool declare,
                       const ScriptPlace* place) {
  if (!Acts(plan) || names.empty()) return {};
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return SpellVisualBasic(plan, names, declare, place);
    case FinderLanguage::kVba:
      return SpellVba(plan, names, place);
    case FinderLanguage::kCpp:
      return SpellCpp(plan, names, place);
    case FinderLanguage::kCSharp:
      return SpellCSharp(plan, names, place);
    case FinderLanguage::kPython:
      return SpellPython(plan, names, place);
  }
  return {};
}

ActionCode ScriptActionDeclarations(const std::vector<ActionPlan>& plans,
                                    FinderLanguage language, bool declare) {
  ActionCode code;
  std::string calls, constants;
  bool acts = false;
  const Dialect dialect = language == FinderLanguage::kCpp      ? kCpp
                          : language == FinderLanguage::kCSharp ? kCs
                          : language == FinderLanguage::kPython ? kPy
                                                                : kVb;
  for (const ActionPlan& plan : plans) {
    if (!Acts(plan)) continue;
    acts = true;
    AddCalls(plan, calls);
    if (plan.action != Action::kFindOnly) constants += ConstantWords(plan, dialect) + ' ';
  }
  if (!acts || dialect == kCpp) return code;
  const ActionPlan none;
  Context context(none, dialect, {});
  if (language == FinderLanguage::kVba) {
    context.handle_type = "LongPtr";
    AddDeclarations(context, code.declarations, calls);
    context.handle_type = "Long";
    AddDeclarations(context, code.declarations_before_vba7, calls);
    return code;
  }
  if (dialect == kVb) {
    AddVisualBasicDeclarations(context, code.declarations, declare, calls);
  } else {
    AddDeclarations(context, code.declarations, calls);
  }
  AddConstants(dialect, constants, code.declarations);
  return code;
}

}  // namespace winscout::codegen
