#include "codegen/var_name.h"

namespace winscout::codegen {

std::string VarNameFromClass(std::string_view class_name) {
  std::string name;
  for (char c : class_name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) name += c;
  }
  return name.empty() ? std::string("X") : name;
}

}  // namespace winscout::codegen
