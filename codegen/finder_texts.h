#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace winscout::codegen {

// The longer fixed texts of the finder code, kept in finder_texts.txt and
// packed into the program at build time.
enum class FinderPart : std::uint8_t {
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
  // The words no variable may be (InWordList's form): Visual Basic's in
  // lower case.
  kVbReserved,
  kCsReserved,
  kPyReserved,
};

// The part's text, its lines parted by line breaks.
std::string FinderPartText(FinderPart part);

// The part's lines.
std::vector<std::string> FinderTextLines(FinderPart part);
// The same, appended.
void AppendFinderText(std::vector<std::string>& lines, FinderPart part);

}  // namespace winscout::codegen
