#include "codegen/vba_emitter.h"

#include "codegen/action_code.h"
#include "codegen/finder_texts.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {
namespace {

constexpr std::string_view kFunction = "FindTarget";

}  // namespace

std::vector<std::string> VbaNames(const SearchPlan& plan) {
  return NumberedNames(
      plan,
      {.base = [](std::string_view name) { return std::string(name); },
       // Visual Basic's words, then the procedures the code
       // declares: FindTarget, and ActOnTarget for an action.
       .reserved = FinderPartText(FinderPart::kVbReserved) + " findtarget actontarget",
       .max_length = 255,
       .ignore_case = true});
}

std::string EmitVba(const SearchPlan& plan, SearchWay way, const ActionPlan& action) {
  const std::vector<std::string> names = VbaNames(plan);
  const ActionCode act = SpellAction(action, FinderLanguage::kVba, names);
  const std::vector<FinderStep> steps = FinderSteps(plan, way);
  const FinderCalls calls = CallsOf(steps);
  const bool unicode = NeedsUnicode(plan, way);
  const std::string function(kFunction);

  std::vector<std::string> lines = {"#If VBA7 Then"};
  for (bool vba7 : {true, false}) {
    if (!vba7) lines.push_back("#Else");
    for (std::string& line : VisualBasicDeclarations(calls, unicode, vba7)) {
      lines.push_back(std::move(line));
    }
    for (std::string& line : VisualBasicActionDeclarations(action, vba7)) {
      lines.push_back(std::move(line));
    }
  }
  AppendLines(lines, {"#End If", ""});
  if (calls.find_like) {
    for (std::string& line : VisualBasicHelperLines(unicode, /*vba=*/true)) {
      lines.push_back(std::move(line));
    }
  }
  if (const std::string note = PositionNote(plan, way, names); !note.empty()) {
    for (std::string& line : VisualBasicComment(note)) lines.push_back(std::move(line));
  }
  // Handles are LongPtr under VBA7, which 32-bit Office before it lacks.
  auto heading = [&](std::string_view condition, const std::string& handle) {
    lines.emplace_back(condition);
    lines.push_back("Public Function " + function + "() As " + handle);
    for (const std::string& name : names) {
      lines.push_back("    Dim " + name + " As " + handle);
    }
  };
  heading("#If VBA7 Then", "LongPtr");
  heading("#Else", "Long");
  lines.push_back("#End If");
  const VisualBasicStrings strings =
      unicode ? VisualBasicStrings::kPointers : VisualBasicStrings::kAnsi;
  for (const std::string& line : act.before) lines.push_back("    " + line);
  for (const std::string& line : VisualBasicCallLines(plan, steps, names, strings)) {
    lines.push_back("    " + act.inner_indent + line);
  }
  for (const std::string& line : act.after) lines.push_back("    " + line);
  lines.push_back("    " + function + " = " + names.back());
  lines.push_back("End Function");
  lines.insert(lines.end(), act.below.begin(), act.below.end());
  return JoinLines(lines);
}

}  // namespace winscout::codegen
