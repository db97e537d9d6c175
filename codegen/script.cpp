#include "codegen/script.h"

#include <algorithm>

#include "codegen/action_code.h"
#include "codegen/finder_language.h"
#include "codegen/finder_steps.h"
#include "codegen/statements.h"
#include "platform/text_pieces.h"

// A script is written from the same pieces as one window's code: the
// emitters write the head the steps share once (declarations, imports, the
// pattern helper, for what all the steps call), then each step's body, its
// names numbered past the names of the steps before.

namespace winscout::codegen {
namespace {

std::string_view CommentMark(FinderLanguage language) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
    case FinderLanguage::kVba:
      return "' ";
    case FinderLanguage::kCpp:
    case FinderLanguage::kCSharp:
      return "// ";
    case FinderLanguage::kPython:
      return "# ";
  }
  return "// ";
}

// A comment line of the text, whose line breaks would end the comment.
std::string Comment(FinderLanguage language, std::string_view text) {
  std::string line(CommentMark(language));
  for (char c : text) line += c == '\r' || c == '\n' ? ' ' : c;
  return line;
}

// VBA and C# find each window in a function of its own and act on it in
// another: each step's carry the step's number.
bool InProcedures(FinderLanguage language) {
  return language == FinderLanguage::kVba || language == FinderLanguage::kCSharp;
}

// The procedures and the functions declared for one window's code.
constexpr std::string_view kProcedures[] = {
    "FindTarget",           "ActOnTarget",          "SendToTarget",
    "PostMessageWToTarget", "SendMessageWToTarget", "ChildOfTarget"};

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_';
}

// The line with each procedure's name numbered: FindTarget -> FindTarget3.
std::string Numbered(std::string_view line, std::string_view number) {
  std::string out;
  for (std::size_t at = 0; at < line.size();) {
    const auto name = std::ranges::find_if(kProcedures, [&](std::string_view p) {
      const std::size_t end = at + p.size();
      return (at == 0 || !IsWordChar(line[at - 1])) && line.substr(at).starts_with(p) &&
             (end == line.size() || !IsWordChar(line[end]));
    });
    if (name == std::end(kProcedures)) {
      out += line[at++];
      continue;
    }
    out += *name;
    out += number;
    at += name->size();
  }
  return out;
}

// The text's lines, without the line break it starts with.
std::vector<std::string> Lines(std::string_view text) {
  if (text.starts_with("\r\n")) text.remove_prefix(2);
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Each Declare line once (in each branch of VBA's #If): two steps' code may
// declare the same function.
void DropRepeatedDeclares(std::vector<std::string>& lines) {
  std::vector<std::string> seen;
  const auto repeated = [&](const std::string& line) {
    if (line.starts_with('#')) seen.clear();
    const std::size_t declare = line.find("Declare ");
    if (declare == std::string::npos) return false;
    std::size_t name = line.find("Function ", declare);
    name = name == std::string::npos ? line.find("Sub ", declare) + 4 : name + 9;
    const std::string declared = line.substr(name, line.find(' ', name) - name);
    if (std::ranges::find(seen, declared) != seen.end()) return true;
    seen.push_back(declared);
    return false;
  };
  // A plain loop: std::erase_if's search is unrolled four times.
  std::vector<std::string> kept;
  for (std::string& line : lines) {
    if (!repeated(line)) kept.push_back(std::move(line));
  }
  lines = std::move(kept);
}

// What the step does once its window is found: a message step's window is
// only found, or waited for.
ActionPlan StepAction(const ScriptStep& step) {
  if (!step.message) return step.action;
  return {.kind = step.action.kind, .wait = step.action.wait};
}

// The procedure that does the step (VBA, C#).
std::string_view StepProcedure(const ScriptStep& step) {
  if (step.message) return "SendToTarget";
  return step.action.action == Action::kFindOnly ? "FindTarget" : "ActOnTarget";
}

void AddCalls(FinderCalls& all, const FinderCalls& more) {
  all.find_window |= more.find_window;
  all.find_window_ex |= more.find_window_ex;
  all.desktop |= more.desktop;
  all.dialog_item |= more.dialog_item;
  all.find_like |= more.find_like;
}

// Adds the Declare lines of a message step (VB: one list; VBA: VBA7's and
// the others, apart in its #If).
void AddSendDeclarations(std::string_view above, ActionCode& head) {
  std::vector<std::string>* into = &head.declarations;
  for (std::string& line : Lines(above)) {
    if (line == "#Else") into = &head.declarations_before_vba7;
    if (!line.empty() && !line.starts_with('#')) into->push_back(std::move(line));
  }
}

}  // namespace

std::string EmitScript(const Script& script, FinderLanguage language,
                       const FinderStyle& style) {
  std::vector<std::string> lines;
  if (!script.steps.empty()) {
    const FinderEmitter& emitter = EmitterOf(language);
    const SearchWay way = style.way;
    // The head, for what every step calls.
    FinderCalls calls;
    bool unicode = false;
    const SearchPlan* head_plan = &script.steps.front().plan;
    std::vector<ActionPlan> actions;
    std::string taken = "RunScript";
    for (std::size_t i = 0; i < script.steps.size(); ++i) {
      const ScriptStep& step = script.steps[i];
      AddCalls(calls, CallsOf(FinderSteps(step.plan, way)));
      unicode |= NeedsUnicode(step.plan, way);
      if (IsDesktopPlan(*head_plan)) head_plan = &step.plan;
      actions.push_back(StepAction(step));
      for (std::string_view procedure : kProcedures) {
        taken += (TextPieces() << ' ' << procedure << i + 1).Take();
      }
    }
    ActionCode head = ScriptActionDeclarations(actions, language, style.declarations);
    for (const ScriptStep& step : script.steps) {
      if (step.message && (language == FinderLanguage::kVisualBasic ||
                           language == FinderLanguage::kVba)) {
        AddSendDeclarations(
            SpellSendCode(step.plan, language, style, *step.message).above, head);
      }
    }
    lines = emitter.lines({.plan = *head_plan,
                           .style = style,
                           .names = {},
                           .steps = {},
                           .calls = calls,
                           .act = std::move(head),
                           .note = {},
                           .unicode = unicode,
                           .part = CodePart::kHead});
    if (language == FinderLanguage::kVisualBasic || language == FinderLanguage::kVba)
      DropRepeatedDeclares(lines);
    // Each step, its names past the names of the steps before.
    std::vector<std::string> run;
    for (std::size_t i = 0; i < script.steps.size(); ++i) {
      const ScriptStep& step = script.steps[i];
      const std::string number = DecimalText(i + 1);
      FinderStyle step_style = style;
      step_style.action = StepAction(step);
      std::vector<std::string> names = emitter.names(step.plan, taken);
      for (const std::string& name : names) taken += ' ' + name;
      const ScriptPlace place{.taken = taken};
      ActionCode act =
          SpellAction(step_style.action, language, names, style.declarations, &place);
      for (const std::string& name : act.locals) taken += ' ' + name;
      std::vector<FinderStep> steps = FinderSteps(step.plan, way);
      const FinderCalls step_calls = CallsOf(steps);
      std::string note = PositionNote(step.plan, way, names);
      std::vector<std::string> body = emitter.lines({.plan = step.plan,
                                                     .style = step_style,
                                                     .names = names,
                                                     .steps = std::move(steps),
                                                     .calls = step_calls,
                                                     .act = std::move(act),
                                                     .note = std::move(note),
                                                     .unicode = unicode,
                                                     .part = CodePart::kBody});
      if (step.message) {
        AppendLines(body, Lines(SpellSendCode(step.plan, language, step_style,
                                              *step.message, names.back())
                                    .below));
      }
      if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
      lines.push_back(Comment(language, "Step " + number + ": " + step.said));
      for (const std::string& line : body)
        lines.push_back(InProcedures(language) ? Numbered(line, number) : line);
      run.push_back(std::string(StepProcedure(step)) + number);
    }
    if (InProcedures(language)) {
      const bool vba = language == FinderLanguage::kVba;
      lines.emplace_back();
      lines.push_back(Comment(language, "The steps in order."));
      lines.emplace_back(vba ? "Public Sub RunScript()" : "static void RunScript()");
      if (!vba) lines.emplace_back("{");
      for (const std::string& call : run)
        lines.push_back("    " + call + (vba ? "" : "();"));
      lines.emplace_back(vba ? "End Sub" : "}");
    }
  }
  if (!script.note.empty()) {
    if (!lines.empty()) lines.emplace_back();
    lines.push_back(Comment(language, script.note));
  }
  return JoinLines(lines);
}

}  // namespace winscout::codegen
