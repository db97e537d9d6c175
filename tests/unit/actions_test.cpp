// What fits each kind of control, one row a class and style; the packed form
// the action templates are carried in.

#include "codegen/actions.h"

#include <gtest/gtest.h>

#include "platform/packed_text.h"

namespace winscout::testing {
namespace {

using codegen::Action;
using codegen::TargetKind;

TEST(ActionsTest, ClassesAndButtonStylesGiveTheirActions) {
  struct Row {
    const char* class_name;
    std::uint32_t style;
    TargetKind kind;
    std::vector<Action> actions;
  };
  const std::vector<Action> every = {Action::kReadText, Action::kClose};
  auto with = [&](std::vector<Action> own) {
    own.insert(own.begin(), Action::kFindOnly);
    own.insert(own.end(), every.begin(), every.end());
    return own;
  };
  const Row rows[] = {
      {"Button", 0x0, TargetKind::kPushButton, with({Action::kClick})},
      {"button", 0x1, TargetKind::kPushButton, with({Action::kClick})},
      {"Button", 0x3, TargetKind::kCheckBox, with({Action::kCheck, Action::kUncheck})},
      {"Button", 0x9, TargetKind::kRadioButton, with({Action::kCheck})},
      {"Button", 0x7, TargetKind::kOther, with({})},  // a group box
      {"Edit", 0, TargetKind::kEdit, with({Action::kSetText})},
      {"RichEdit20W", 0, TargetKind::kEdit, with({Action::kSetText})},
      {"COMBOBOX", 0, TargetKind::kComboBox,
       with({Action::kChooseItem, Action::kReadItems})},
      {"ListBox", 0, TargetKind::kListBox,
       with({Action::kChooseItem, Action::kReadItems})},
      {"SysListView32", 0, TargetKind::kListView,
       with({Action::kSelectItem, Action::kReadItems})},
      {"SysTreeView32", 0, TargetKind::kTreeView,
       with({Action::kSelectItem, Action::kReadItems})},
      {"Main_Frame2", 0x3, TargetKind::kOther, with({})},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(codegen::KindOfTarget(row.class_name, row.style), row.kind)
        << row.class_name;
    EXPECT_EQ(codegen::ActionsFor(row.kind), row.actions) << row.class_name;
  }
}

// Raw DEFLATE as zlib writes it, and streams that end early or go wrong.
TEST(ActionsTest, PackedTextsUnpack) {
  struct Row {
    std::vector<unsigned char> packed;
    std::string text;
  };
  const Row rows[] = {
      {{}, ""},
      {{3, 0}, ""},
      {{75, 76, 74, 6, 0}, "abc"},
      {{75, 76, 74, 196, 10, 1},
       "abababababababababababab"},  // reaches into what it writes
      {{75, 76, 74, 78, 73, 77, 75, 207, 0, 83, 0}, "abcdefghbcdef"},
      {{1, 3, 0, 252, 255, 'a', 'b', 'c'}, "abc"},  // stored
      {{75, 4, 66, 0}, "a"},  // a copy from before the start ends the text
      {{75, 76, 74, 78, 73, 77, 75, 207}, "abcdefg"},  // so does the end of the bytes
  };
  for (const Row& row : rows) EXPECT_EQ(UnpackText(row.packed), row.text);
}

}  // namespace
}  // namespace winscout::testing
