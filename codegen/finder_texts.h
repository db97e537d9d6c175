#pragma once

#include <string>
#include <vector>

namespace winscout::codegen {

// The longer fixed texts of the finder code, kept in finder_texts.txt and
// packed into the program at build time.
enum class FinderPart {
  kVbFindWindow,
  kVbFindWindowEx,
  kVbDialogItem,
  kVbDesktop,
  kVbTextFunctions,
  kVbHelperComment,
  kVbHelperHeading,
  kVbHelperBody,
  kCppHelper,
  kCsDesktop,
  kCsFindWindows,
  kCsDialogItem,
  kCsHelper,
  kPyImports,
  kPyDesktop,
  kPyFindWindows,
  kPyDialogItem,
  kPyHelper,
  kSendVb,
  kSendVba,
  kSendVbDeclare,
  kSendVbChildDeclare,
  kSendCpp,
  kSendCs,
  kSendCsImport,
  kSendCsChild,
  kSendPy,
  kSendPyChild,
  // The notes of the code that acts on the window ($1 .. $6 in
  // action_templates.txt), in that order.
  kNoteHung,
  kNoteClick,
  kNoteCheck,
  kNoteChoose,
  kNoteItems,
  kNoteWait,
  kVbUnicodeNote,
  kVbUnicodeHelperNote,
};

// The part's lines.
std::vector<std::string> FinderTextLines(FinderPart part);
// The same, appended.
void AppendFinderText(std::vector<std::string>& lines, FinderPart part);

}  // namespace winscout::codegen
