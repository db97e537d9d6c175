#include "codegen/statements.h"

#include <initializer_list>

#include "platform/text_pieces.h"

namespace winscout::codegen {

std::string Statement(const SearchPlan& plan, const FinderStep& step,
                      const std::vector<std::string>& names,
                      const StatementSyntax& syntax) {
  using Unreached = StatementSyntax::Unreached;
  const bool target = step.level + 1 == plan.levels.size();
  if (step.call == FinderStep::Call::kNone &&
      (syntax.unreached == Unreached::kNone ||
       (syntax.unreached == Unreached::kTargetOnly && !target))) {
    return {};
  }
  const std::string& v = names[step.level];
  std::string line(syntax.indent);
  if (step.declares) line += syntax.declaration;
  line += v;
  line += " = ";
  auto call = [&](std::string_view function, bool wide) {
    line += syntax.call_prefix;
    line += function;
    if (wide) line += syntax.wide_suffix;
    line += '(';
  };
  const std::string parent(step.parent ? std::string_view(names[*step.parent])
                                       : syntax.null_handle);
  auto search_for = [&] {
    line += syntax.text(*step.class_name);
    line += ", ";
    line += step.title ? syntax.text(*step.title) : std::string(syntax.null_text);
    line += ')';
  };
  auto helper_argument = [&](const std::string* text) {
    line += ", ";
    if (!text) {
      line +=
          syntax.helper_null_text.empty() ? syntax.null_text : syntax.helper_null_text;
    } else {
      line += syntax.helper_text ? syntax.helper_text(*text) : syntax.text(*text);
    }
  };
  switch (step.call) {
    case FinderStep::Call::kNone:
      line += syntax.null_handle;
      break;
    case FinderStep::Call::kDesktop:
      call("GetDesktopWindow", false);
      line += ')';
      break;
    case FinderStep::Call::kDialogItem:
      call("GetDlgItem", false);
      line += parent + ", " + DecimalText(step.id) + ")";
      break;
    case FinderStep::Call::kFindWindow:
      call("FindWindow", true);
      search_for();
      break;
    case FinderStep::Call::kFindWindowEx:
      call("FindWindowEx", true);
      line += parent + ", ";
      line += step.after_self ? std::string_view(v) : syntax.null_handle;
      line += ", ";
      search_for();
      break;
    case FinderStep::Call::kFindLike:
      line += syntax.helper;
      line += '(' + parent + ", ";
      line += step.after_self ? std::string_view(v) : syntax.null_handle;
      for (const std::string* text :
           {step.class_name, step.title, step.class_start, step.title_end}) {
        helper_argument(text);
      }
      line += ')';
      break;
  }
  line += syntax.end;
  return line;
}

std::vector<std::string> StatementLines(const SearchPlan& plan,
                                        const std::vector<FinderStep>& steps,
                                        const std::vector<std::string>& names,
                                        const StatementSyntax& syntax) {
  std::vector<std::string> lines;
  for (const FinderStep& step : steps) {
    if (std::string line = Statement(plan, step, names, syntax); !line.empty()) {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

void AppendLines(std::vector<std::string>& lines,
                 std::initializer_list<std::string_view> more) {
  for (std::string_view line : more) lines.emplace_back(line);
}

void AppendLines(std::vector<std::string>& lines, const std::vector<std::string>& more,
                 std::string_view indent) {
  for (const std::string& line : more) lines.push_back(std::string(indent) + line);
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace winscout::codegen
