#include "codegen/finder_language.h"

#include "codegen/cpp_emitter.h"
#include "codegen/csharp_emitter.h"
#include "codegen/python_emitter.h"
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

std::string EmitFinderCode(const SearchPlan& plan, FinderLanguage language,
                           const FinderStyle& style) {
  switch (language) {
    case FinderLanguage::kVisualBasic:
      return EmitVisualBasic(plan, style);
    case FinderLanguage::kVba:
      return EmitVba(plan, style.way, style.action);
    case FinderLanguage::kCpp:
      return EmitCpp(plan, style.way, style.action);
    case FinderLanguage::kCSharp:
      return EmitCSharp(plan, style.way, style.action);
    case FinderLanguage::kPython:
      return EmitPython(plan, style.way, style.action);
  }
  return {};
}

}  // namespace winscout::codegen
