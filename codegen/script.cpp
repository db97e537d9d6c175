#include "codegen/script.h"

#include "codegen/finder_language.h"
#include "platform/text_pieces.h"

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

}  // namespace

std::string EmitScript(const Script& script, FinderLanguage language,
                       const FinderStyle& style) {
  std::string out;
  int number = 0;
  for (const ScriptStep& step : script.steps) {
    FinderStyle step_style = style;
    step_style.action = step.action;
    out += (TextPieces() << CommentMark(language) << "Step " << ++number << ": "
                         << step.said << "\r\n")
               .Take();
    out += step.message ? EmitSendCode(step.plan, language, step_style, *step.message)
                        : EmitFinderCode(step.plan, language, step_style);
    out += "\r\n";
  }
  if (!script.note.empty())
    out += std::string(CommentMark(language)) + script.note + "\r\n";
  return out;
}

}  // namespace winscout::codegen
