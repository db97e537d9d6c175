#include "codegen/var_name.h"

#include <gtest/gtest.h>

namespace winscout::codegen {
namespace {

struct VarNameCase {
  std::string class_name;
  std::string expected;
};

class VarNameFromClassTest : public ::testing::TestWithParam<VarNameCase> {};

TEST_P(VarNameFromClassTest, KeepsAsciiLettersInOrderAndCase) {
  EXPECT_EQ(VarNameFromClass(GetParam().class_name), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, VarNameFromClassTest,
    ::testing::Values(
        VarNameCase{"Edit", "Edit"}, VarNameCase{"Main_Frame2", "MainFrame"},
        VarNameCase{"SysListView32", "SysListView"}, VarNameCase{"Afx:400000:8", "Afx"},
        VarNameCase{"Tool.Pane 2", "ToolPane"}, VarNameCase{"#32770", "X"},
        VarNameCase{"", "X"}, VarNameCase{"_X_", "X"},
        VarNameCase{"\xC3\x9Cn\xC3\xAF"
                    "code",
                    "ncode"},
        VarNameCase{"AbCdEfGhIjKlMnOpQrStUvWxYz", "AbCdEfGhIjKlMnOpQrStUvWxYz"},
        VarNameCase{"Edit1", "Edit"}, VarNameCase{"Edit2", "Edit"},
        VarNameCase{"a\"b\r\nc\td", "abcd"}, VarNameCase{"@[`{", "X"},
        VarNameCase{"\xE9t\xE9", "t"},
        VarNameCase{std::string(300, 'q'), std::string(300, 'q')}));

}  // namespace
}  // namespace winscout::codegen
