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

// A copy is two bytes: the distance back less one in the high twelve bits,
// the length less three in the low four.
TEST(ActionsTest, PackedTextsUnpack) {
  struct Row {
    std::vector<unsigned char> packed;
    std::string text;
  };
  const Row rows[] = {
      {{}, ""},
      {{0, 'a', 'b', 'c'}, "abc"},
      {{0b100, 'a', 'b', 0x13, 0x00}, "abababab"},  // reaches into what it writes
      {{0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0b1, 0x62, 0x00}, "abcdefghbcdef"},
      {{0b10, 'a', 0x20, 0x00}, "a"},  // a copy from before the start ends the text
      {{0b10, 'a', 0x00}, "a"},        // so does half a copy
  };
  for (const Row& row : rows) EXPECT_EQ(UnpackText(row.packed), row.text);
}

}  // namespace
}  // namespace winscout::testing
