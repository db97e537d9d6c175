#include "codegen/vb_emitter.h"

#include "codegen/finder_steps.h"
#include "codegen/statements.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {

std::vector<std::string> EmitVisualBasic(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note] = source;
  const bool unicode = NeedsUnicode(plan, style.way);
  std::vector<std::string> lines;
  if (style.declarations) {
    lines = VisualBasicDeclarations(calls, unicode, /*vba7=*/false);
  } else if (unicode) {
    lines.push_back(VisualBasicUnicodeNote(calls.find_like));
  }
  // The action's Declare lines, or the note that asks for them.
  AppendLines(lines, act.declarations);
  const VisualBasicStrings strings = !unicode             ? VisualBasicStrings::kAnsi
                                     : style.declarations ? VisualBasicStrings::kPointers
                                                          : VisualBasicStrings::kUnicode;
  if (calls.find_like) {
    AppendLines(lines, VisualBasicHelperLines(strings == VisualBasicStrings::kPointers,
                                              /*vba=*/false));
  }
  if (!note.empty()) AppendLines(lines, VisualBasicComment(note));
  for (const std::string& name : names) lines.push_back("Dim " + name + " As Long");
  AppendLines(lines, act.before);
  AppendLines(lines, VisualBasicCallLines(plan, steps, names, strings), act.inner_indent);
  AppendLines(lines, act.after);
  return lines;
}

}  // namespace winscout::codegen
