#include "codegen/handle_text.h"

#include <gtest/gtest.h>

namespace winscout::codegen {
namespace {

using Kind = HandleTextKind;

struct HandleTextCase {
  std::string text;
  Kind kind;
  WindowHandle handle = 0;
};

void PrintTo(const HandleTextCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseHandleTextTest : public ::testing::TestWithParam<HandleTextCase> {};

TEST_P(ParseHandleTextTest, ReadsTheHandleBox) {
  const ParsedHandleText parsed = ParseHandleText(GetParam().text);
  EXPECT_EQ(parsed.kind, GetParam().kind);
  if (GetParam().kind == Kind::kHandle) {
    EXPECT_EQ(parsed.handle, GetParam().handle);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PlainNumbers, ParseHandleTextTest,
    ::testing::Values(HandleTextCase{"132456", Kind::kHandle, 132456},
                      HandleTextCase{"-5", Kind::kHandle, -5},
                      HandleTextCase{"+7", Kind::kHandle, 7},
                      HandleTextCase{"  42  ", Kind::kHandle, 42},
                      HandleTextCase{"007", Kind::kHandle, 7},
                      HandleTextCase{"2147483647", Kind::kHandle, 2147483647},
                      HandleTextCase{"-2147483648", Kind::kHandle, -2147483647 - 1}));

INSTANTIATE_TEST_SUITE_P(
    RoundingHalfToEven, ParseHandleTextTest,
    ::testing::Values(
        HandleTextCase{"2.5", Kind::kHandle, 2}, HandleTextCase{"3.5", Kind::kHandle, 4},
        HandleTextCase{"-2.5", Kind::kHandle, -2},
        HandleTextCase{"-3.5", Kind::kHandle, -4},
        HandleTextCase{"2.5000000000000000001", Kind::kHandle, 3},
        HandleTextCase{"2.4999999999999999999", Kind::kHandle, 2},
        HandleTextCase{"0.5", Kind::kHandle, 0}, HandleTextCase{"1.5", Kind::kHandle, 2},
        HandleTextCase{".5", Kind::kHandle, 0}, HandleTextCase{".51", Kind::kHandle, 1},
        HandleTextCase{"7.", Kind::kHandle, 7},
        HandleTextCase{"2147483647.4", Kind::kHandle, 2147483647},
        HandleTextCase{"-2147483648.5", Kind::kHandle, -2147483647 - 1}));

INSTANTIATE_TEST_SUITE_P(
    Exponents, ParseHandleTextTest,
    ::testing::Values(HandleTextCase{"1e3", Kind::kHandle, 1000},
                      HandleTextCase{"1.5E+2", Kind::kHandle, 150},
                      HandleTextCase{"25e-1", Kind::kHandle, 2},
                      HandleTextCase{"35E-1", Kind::kHandle, 4},
                      HandleTextCase{"1e-999999999999999", Kind::kHandle, 0},
                      HandleTextCase{"0e999999999999999", Kind::kHandle, 0},
                      HandleTextCase{"1e9", Kind::kHandle, 1000000000},
                      HandleTextCase{"1e10", Kind::kOutOfRange},
                      HandleTextCase{"1e999999999999999", Kind::kOutOfRange}));

// "0" alone is the pick's answer for "no window": nothing to do. Other
// spellings of zero are numbers like any other and name no window.
INSTANTIATE_TEST_SUITE_P(Zero, ParseHandleTextTest,
                         ::testing::Values(HandleTextCase{"0", Kind::kNoHandle},
                                           HandleTextCase{"   0 ", Kind::kNoHandle},
                                           HandleTextCase{"00", Kind::kHandle, 0},
                                           HandleTextCase{"0.4", Kind::kHandle, 0},
                                           HandleTextCase{"-0", Kind::kHandle, 0},
                                           HandleTextCase{"0.0", Kind::kHandle, 0}));

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, ParseHandleTextTest,
    ::testing::Values(HandleTextCase{"2147483648", Kind::kOutOfRange},
                      HandleTextCase{"-2147483649", Kind::kOutOfRange},
                      HandleTextCase{"2147483647.5", Kind::kOutOfRange},
                      HandleTextCase{"99999999999999999999999", Kind::kOutOfRange},
                      HandleTextCase{"4294967296", Kind::kOutOfRange},
                      HandleTextCase{std::string(5000, '9'), Kind::kOutOfRange},
                      HandleTextCase{"0." + std::string(5000, '0') + "1", Kind::kHandle,
                                     0},
                      HandleTextCase{std::string(5000, '0') + "12", Kind::kHandle, 12}));

INSTANTIATE_TEST_SUITE_P(
    NotNumeric, ParseHandleTextTest,
    ::testing::Values(
        HandleTextCase{"", Kind::kNotNumeric}, HandleTextCase{"   ", Kind::kNotNumeric},
        HandleTextCase{"abc", Kind::kNotNumeric},
        HandleTextCase{"12a", Kind::kNotNumeric},
        HandleTextCase{"0x10", Kind::kNotNumeric},
        HandleTextCase{"1 2", Kind::kNotNumeric},
        HandleTextCase{"- 5", Kind::kNotNumeric},
        HandleTextCase{"+-5", Kind::kNotNumeric}, HandleTextCase{".", Kind::kNotNumeric},
        HandleTextCase{"1.2.3", Kind::kNotNumeric},
        HandleTextCase{"e5", Kind::kNotNumeric}, HandleTextCase{"1e", Kind::kNotNumeric},
        HandleTextCase{"1e+", Kind::kNotNumeric},
        HandleTextCase{"\t5", Kind::kNotNumeric},
        HandleTextCase{"5\r\n", Kind::kNotNumeric},
        HandleTextCase{std::string("5\0", 2), Kind::kNotNumeric},
        HandleTextCase{std::string(100000, 'x'), Kind::kNotNumeric}));

}  // namespace
}  // namespace winscout::codegen
