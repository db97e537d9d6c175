#include "codegen/cpp_emitter.h"

#include "codegen/finder_steps.h"
#include "codegen/finder_texts.h"
#include "codegen/literals.h"
#include "codegen/names.h"
#include "codegen/statements.h"

namespace winscout::codegen {
std::vector<std::string> CppNames(const SearchPlan& plan, std::string_view taken) {
  return NumberedNames(plan,
                       {.base =
                            [](std::string_view var_name) {
                              std::string name = "hwnd" + std::string(var_name);
                              if (name[4] >= 'a' && name[4] <= 'z') {
                                name[4] = static_cast<char>(name[4] - 32);
                              }
                              return name;
                            }},
                       taken);
}

std::vector<std::string> EmitCpp(const FinderSource& source) {
  const auto& [plan, style, names, steps, calls, act, note, unicode, part] = source;
  std::vector<std::string> lines;
  if (part != CodePart::kBody && calls.find_like) {
    AppendFinderText(lines, FinderPart::kCppHelper);
    lines.push_back("");
  }
  if (part == CodePart::kHead) return lines;
  if (!note.empty()) lines.push_back("// " + note);
  // A level no search reached is read by nothing but, as the target, the
  // caller: declared above the target it would be an unused variable.
  AppendLines(lines, act.before);
  // Waiting, the variables are declared above the loop.
  const StatementSyntax syntax{.indent = act.inner_indent,
                               .declaration = style.action.wait ? "" : "HWND ",
                               .null_handle = "nullptr",
                               .null_text = "nullptr",
                               .wide_suffix = "W",
                               .end = ";",
                               .text = CppWideLiteral,
                               .helper = "findWindowLike",
                               .unreached = StatementSyntax::Unreached::kTargetOnly};
  AppendLines(lines, StatementLines(plan, steps, names, syntax));
  AppendLines(lines, act.after);
  return lines;
}

}  // namespace winscout::codegen
