#include "codegen/python_emitter.h"

#include <algorithm>

#include "codegen/finder_steps.h"
#include "codegen/finder_texts.h"
#include "codegen/literals.h"
#include "codegen/names.h"
#include "codegen/statements.h"

namespace winscout::codegen {
namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// Words split where a lower-case letter meets a capital, or where a run of
// capitals meets a word: MainFrame -> main_frame, HTMLView -> html_view.
std::string SnakeCase(std::string_view var_name) {
  std::string name;
  for (std::size_t i = 0; i < var_name.size(); ++i) {
    const char c = var_name[i];
    if (IsUpper(c) && i > 0 &&
        (IsLower(var_name[i - 1]) ||
         (i + 1 < var_name.size() && IsLower(var_name[i + 1])))) {
      name += '_';
    }
    name += IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return name;
}

// The imports, the functions' types and the helper.
void AppendHead(const FinderSource& source, std::vector<std::string>& lines) {
  AppendFinderText(lines, FinderPart::kPyImports);
  if (IsDesktopPlan(source.plan)) {
    AppendFinderText(lines, FinderPart::kPyDesktop);
    AppendLines(lines, source.act.declarations);
    lines.push_back("");
    return;
  }
  AppendFinderText(lines, FinderPart::kPyFindWindows);
  if (source.calls.dialog_item) AppendFinderText(lines, FinderPart::kPyDialogItem);
  AppendLines(lines, source.act.declarations);
  if (source.calls.find_like) {
    AppendFinderText(lines, FinderPart::kPyHelper);
    lines.push_back("");
  }
  lines.push_back("");
}

}  // namespace

std::vector<std::string> PythonNames(const SearchPlan& plan, std::string_view taken) {
  return NumberedNames(
      plan, {.base = SnakeCase, .reserved = FinderPartText(FinderPart::kPyReserved)},
      taken);
}

std::vector<std::string> EmitPython(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note, unicode, part] = source;
  std::vector<std::string> lines;
  if (part != CodePart::kBody) AppendHead(source, lines);
  if (part == CodePart::kHead) return lines;
  if (!note.empty()) lines.push_back("# " + note);
  AppendLines(lines, act.before);
  const StatementSyntax syntax{.indent = act.inner_indent,
                               .null_handle = "None",
                               .null_text = "None",
                               .call_prefix = "user32.",
                               .wide_suffix = "W",
                               .text = PythonLiteral,
                               .helper = "find_window_like"};
  AppendLines(lines, StatementLines(plan, steps, names, syntax));
  AppendLines(lines, act.after);
  return lines;
}

}  // namespace winscout::codegen
