#include "codegen/csharp_emitter.h"

#include <algorithm>

#include "codegen/finder_steps.h"
#include "codegen/finder_texts.h"
#include "codegen/literals.h"
#include "codegen/names.h"
#include "codegen/statements.h"

namespace winscout::codegen {
namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
char Lower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

// The leading capitals in lower case, but for the one that starts the next
// word: MainFrame -> mainFrame, HWND -> hwnd, HTMLView -> htmlView.
std::string CamelCase(std::string_view var_name) {
  std::string name(var_name);
  std::size_t capitals = 0;
  while (capitals < name.size() && IsUpper(name[capitals])) ++capitals;
  if (capitals > 1 && capitals < name.size()) --capitals;
  for (std::size_t i = 0; i < std::max<std::size_t>(capitals, 1); ++i) {
    name[i] = Lower(name[i]);
  }
  return name;
}

}  // namespace

std::vector<std::string> CSharpNames(const SearchPlan& plan, std::string_view taken) {
  return NumberedNames(
      plan, {.base = CamelCase, .reserved = FinderPartText(FinderPart::kCsReserved)},
      taken);
}

std::vector<std::string> EmitCSharp(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note, unicode, part] = source;
  std::vector<std::string> lines;
  if (part != CodePart::kBody) {
    AppendFinderText(
        lines, IsDesktopPlan(plan) ? FinderPart::kCsDesktop : FinderPart::kCsFindWindows);
    if (calls.dialog_item) AppendFinderText(lines, FinderPart::kCsDialogItem);
    AppendLines(lines, act.declarations);
    if (calls.find_like) AppendFinderText(lines, FinderPart::kCsHelper);
    lines.push_back("");
  }
  if (part == CodePart::kHead) return lines;
  if (!note.empty()) lines.push_back("// " + note);
  AppendLines(lines, {"static System.IntPtr FindTarget()", "{"});
  AppendLines(lines, act.before);
  const std::string indent = "    " + act.inner_indent;
  // Waiting, the variables are declared above the loop.
  const StatementSyntax syntax{.indent = indent,
                               .declaration = style.action.wait ? "" : "System.IntPtr ",
                               .null_handle = "System.IntPtr.Zero",
                               .null_text = "null",
                               .wide_suffix = "W",
                               .end = ";",
                               .text = CSharpLiteral,
                               .helper = "FindWindowLike"};
  AppendLines(lines, StatementLines(plan, steps, names, syntax));
  AppendLines(lines, act.after);
  lines.push_back("    return " + names.back() + ";");
  lines.push_back("}");
  AppendLines(lines, act.below);
  return lines;
}

}  // namespace winscout::codegen
