#pragma once

#include <string>
#include <vector>

#include "codegen/finder_source.h"

namespace winscout::codegen {

// Classic Visual Basic statements: the declarations (the Declare lines where
// the style asks for them, then one Dim line per level), then the search
// lines; its lines.
// An action adds its statements after the searches (and around them, to
// wait for the window).
std::vector<std::string> EmitVisualBasic(const FinderSource& source);

}  // namespace winscout::codegen
