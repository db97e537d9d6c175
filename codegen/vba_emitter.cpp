#include "codegen/vba_emitter.h"

#include "codegen/finder_texts.h"
#include "codegen/names.h"
#include "codegen/statements.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {
namespace {

constexpr std::string_view kFunction = "FindTarget";

}  // namespace

std::vector<std::string> VbaNames(const SearchPlan& plan, std::string_view taken) {
  return NumberedNames(
      plan,
      {.base = [](std::string_view name) { return std::string(name); },
       // Visual Basic's words, then the procedures the code
       // declares: FindTarget, and ActOnTarget for an action.
       .reserved = FinderPartText(FinderPart::kVbReserved) + " findtarget actontarget",
       .max_length = 255,
       .ignore_case = true},
      taken);
}

std::vector<std::string> EmitVba(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note, unicode, part] = source;
  const std::string function(kFunction);

  std::vector<std::string> lines;
  if (part != CodePart::kBody) {
    lines.push_back("#If VBA7 Then");
    for (bool vba7 : {true, false}) {
      if (!vba7) lines.push_back("#Else");
      AppendLines(lines, VisualBasicDeclarations(calls, unicode, vba7));
      AppendLines(lines, vba7 ? act.declarations : act.declarations_before_vba7);
    }
    AppendLines(lines, {"#End If", ""});
    if (calls.find_like)
      AppendLines(lines, VisualBasicHelperLines(unicode, /*vba=*/true));
  }
  if (part == CodePart::kHead) return lines;
  if (!note.empty()) AppendLines(lines, VisualBasicComment(note));
  // Handles are LongPtr under VBA7, which 32-bit Office before it lacks.
  auto heading = [&](std::string_view condition, const std::string& handle) {
    lines.emplace_back(condition);
    lines.push_back("Public Function " + function + "() As " + handle);
    for (const std::string& name : source.names) {
      lines.push_back("    Dim " + name + " As " + handle);
    }
  };
  heading("#If VBA7 Then", "LongPtr");
  heading("#Else", "Long");
  lines.push_back("#End If");
  const VisualBasicStrings strings =
      unicode ? VisualBasicStrings::kPointers : VisualBasicStrings::kAnsi;
  AppendLines(lines, act.before, "    ");
  AppendLines(lines, VisualBasicCallLines(plan, steps, names, strings),
              "    " + act.inner_indent);
  AppendLines(lines, act.after, "    ");
  lines.push_back("    " + function + " = " + names.back());
  lines.push_back("End Function");
  AppendLines(lines, act.below);
  return lines;
}

}  // namespace winscout::codegen
