#include "codegen/finder_language.h"

#include <utility>

#include "codegen/action_code.h"
#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/python_emitter.h"
#include "codegen/statements.h"
#include "codegen/vb_emitter.h"
#include "codegen/vba_emitter.h"
#include "codegen/visual_basic.h"

namespace winscout::codegen {
std::string_view FinderLanguageName(FinderLanguage language) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return "Visual Basic";
    case FinderLanguage::kVba:
      return "VBA (Office)";
    case FinderLanguage::kCpp:
      return "C++";
    case FinderLanguage::kCSharp:
      return "C#";
    case FinderLanguage::kPython:
      return "Python";
  }
  return {};
}

namespace {

// Each language's names and code, by FinderLanguage.
constexpr FinderEmitter kEmitters[] = {{VisualBasicNames, EmitVisualBasic},
                                       {VbaNames, EmitVba},
                                       {CppNames, EmitCpp},
                                       {CSharpNames, EmitCSharp},
                                       {PythonNames, EmitPython}};

}  // namespace

const FinderEmitter& EmitterOf(FinderLanguage language) {
  return kEmitters[static_cast<int>(language)];
}

std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style) {
  const FinderEmitter& emitter = EmitterOf(language);
  std::vector<std::string> names = emitter.names(plan, {});
  std::vector<FinderStep> steps = FinderSteps(plan, style.way);
  const FinderCalls calls = CallsOf(steps);
  ActionCode act = SpellAction(style.action, language, names, style.declarations);
  std::string note = PositionNote(plan, style.way, names);
  const FinderSource source{.plan = plan,
                            .style = style,
                            .names = std::move(names),
                            .steps = std::move(steps),
                            .calls = calls,
                            .act = std::move(act),
                            .note = std::move(note),
                            .unicode = NeedsUnicode(plan, style.way)};
  return JoinLines(emitter.lines(source));
}

}  // namespace winscout::codegen
