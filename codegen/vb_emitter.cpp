#include "codegen/vb_emitter.h"

#include "codegen/finder_steps.h"
#include "codegen/statements.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {

std::vector<std::string> EmitVisualBasic(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note, unicode, part] = source;
  std::vector<std::string> lines;
  if (part != CodePart::kBody) {
    if (style.declarations) {
      lines = VisualBasicDeclarations(calls, unicode, /*vba7=*/false);
    } else if (unicode) {
      lines.push_back(VisualBasicUnicodeNote(calls.find_like));
    }
  }
  // The action's Declare lines, or the note that asks for them.
  if (part != CodePart::kBody) AppendLines(lines, act.declarations);
  const VisualBasicStrings strings = !unicode             ? VisualBasicStrings::kAnsi
                                     : style.declarations ? VisualBasicStrings::kPointers
                                                          : VisualBasicStrings::kUnicode;
  if (part != CodePart::kBody && calls.find_like) {
    AppendLines(lines, VisualBasicHelperLines(strings == VisualBasicStrings::kPointers,
                                              /*vba=*/false));
  }
  if (part == CodePart::kHead) return lines;
  if (!note.empty()) AppendLines(lines, VisualBasicComment(note));
  for (const std::string& name : names) lines.push_back("Dim " + name + " As Long");
  AppendLines(lines, act.before);
  AppendLines(lines, VisualBasicCallLines(plan, steps, names, strings), act.inner_indent);
  AppendLines(lines, act.after);
  return lines;
}

}  // namespace winscout::codegen
