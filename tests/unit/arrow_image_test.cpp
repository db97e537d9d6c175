// The arrow image is kept as XPM text, from which the Windows build makes its
// icon. XPM is C, so the file is included here and its strings are read as an
// XPM reader reads them: the tests hold the drawing to its pixel-exact shape,
// a black outline and the standard 16-colour palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "resources/arrow.xpm"

namespace {

constexpr int kSize = 32;

const std::set<std::string> kStandardPalette = {
    "#000000", "#800000", "#008000", "#808000", "#000080", "#800080",
    "#008080", "#C0C0C0", "#808080", "#FF0000", "#00FF00", "#FFFF00",
    "#0000FF", "#FF00FF", "#00FFFF", "#FFFFFF"};
const std::string kBlack = "#000000";
const std::string kOlive = "#808000";
const std::string kYellow = "#FFFF00";
const std::string kPurple = "#800080";
const std::string kSilver = "#C0C0C0";
const std::string kTransparent = "NONE";

struct Header {
  int width = 0;
  int height = 0;
  int colours = 0;
  int chars_per_pixel = 0;
  int hot_x = -1;
  int hot_y = -1;
};

Header ReadHeader() {
  Header header;
  std::istringstream values(arrow_xpm[0]);
  values >> header.width >> header.height >> header.colours >> header.chars_per_pixel >>
      header.hot_x >> header.hot_y;
  return header;
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// Pixel character -> colour value of the "c" (colour visual) key, upper-cased.
std::map<char, std::string> ReadColourTable() {
  std::map<char, std::string> table;
  const auto colours = static_cast<std::size_t>(ReadHeader().colours);
  if (colours >= std::size(arrow_xpm)) {
    ADD_FAILURE() << "the header promises " << colours
                  << " colours, more than there are lines";
    return table;
  }
  for (std::size_t i = 1; i <= colours; ++i) {
    const std::string_view line = arrow_xpm[i];
    if (line.empty()) {
      ADD_FAILURE() << "colour line " << i << " is empty";
      continue;
    }
    std::istringstream rest{std::string(line.substr(1))};
    std::string key;
    std::string value;
    rest >> key >> value;
    EXPECT_EQ(key, "c") << "colour line " << i << ": " << line;
    EXPECT_TRUE(table.emplace(line[0], Upper(value)).second)
        << "character '" << line[0] << "' defined twice";
  }
  return table;
}

// A row of pixels; empty if the image has fewer strings than its header says.
std::string_view Row(int y) {
  const auto index = static_cast<std::size_t>(1 + ReadHeader().colours + y);
  return index < std::size(arrow_xpm) ? arrow_xpm[index] : std::string_view{};
}

// Colour of the pixel at (x, y); nothing for a character the table lacks or a
// row too short.
std::optional<std::string> ColourAt(const std::map<char, std::string>& table, int x,
                                    int y) {
  const std::string_view row = Row(y);
  if (static_cast<std::size_t>(x) >= row.size()) return std::nullopt;
  const auto found = table.find(row[static_cast<std::size_t>(x)]);
  if (found == table.end()) return std::nullopt;
  return found->second;
}

bool Opaque(const std::map<char, std::string>& table, int x, int y) {
  if (x < 0 || y < 0 || x >= kSize || y >= kSize) return false;
  return ColourAt(table, x, y) != kTransparent;
}

std::vector<int> OpaqueColumns(const std::map<char, std::string>& table, int y) {
  std::vector<int> columns;
  for (int x = 0; x < kSize; ++x) {
    if (Opaque(table, x, y)) columns.push_back(x);
  }
  return columns;
}

std::vector<int> Columns(int first, int last) {
  std::vector<int> columns;
  for (int x = first; x <= last; ++x) columns.push_back(x);
  return columns;
}

bool OnOutline(const std::map<char, std::string>& table, int x, int y) {
  return !Opaque(table, x - 1, y) || !Opaque(table, x + 1, y) ||
         !Opaque(table, x, y - 1) || !Opaque(table, x, y + 1);
}

TEST(ArrowImage, IsThirtyTwoSquareWithItsHotSpotAtTheTip) {
  const Header header = ReadHeader();
  EXPECT_EQ(header.width, kSize);
  EXPECT_EQ(header.height, kSize);
  EXPECT_EQ(header.chars_per_pixel, 1);
  EXPECT_EQ(header.hot_x, 15);
  EXPECT_EQ(header.hot_y, 7);
  ASSERT_EQ(std::size(arrow_xpm), static_cast<std::size_t>(1 + header.colours + kSize));
  for (int y = 0; y < kSize; ++y) {
    EXPECT_EQ(Row(y).size(), static_cast<std::size_t>(kSize)) << "row " << y;
  }
}

TEST(ArrowImage, UsesOnlyTheStandardPaletteAndTransparency) {
  const auto table = ReadColourTable();
  for (const auto& [character, colour] : table) {
    EXPECT_TRUE(colour == kTransparent || kStandardPalette.contains(colour))
        << "'" << character << "' is " << colour;
  }
  for (int y = 0; y < kSize; ++y) {
    const std::string_view row = Row(y);
    ASSERT_EQ(row.size(), static_cast<std::size_t>(kSize)) << "row " << y;
    for (int x = 0; x < kSize; ++x) {
      EXPECT_TRUE(ColourAt(table, x, y).has_value())
          << "(" << x << ", " << y << ") uses '" << row[static_cast<std::size_t>(x)]
          << "', which has no colour";
    }
  }
}

TEST(ArrowImage, TipIsTheSinglePixelAtTheHotSpot) {
  const auto table = ReadColourTable();
  EXPECT_EQ(OpaqueColumns(table, 7), std::vector<int>{15});
  EXPECT_EQ(OpaqueColumns(table, 6), std::vector<int>{});
}

TEST(ArrowImage, HeadWidensByTwoPixelsARowAroundColumnFifteen) {
  const auto table = ReadColourTable();
  EXPECT_EQ(OpaqueColumns(table, 7), Columns(15, 15));
  EXPECT_EQ(OpaqueColumns(table, 8), Columns(14, 16));
  EXPECT_EQ(OpaqueColumns(table, 9), Columns(13, 17));
  EXPECT_EQ(OpaqueColumns(table, 10), Columns(12, 18));
  EXPECT_EQ(OpaqueColumns(table, 11), Columns(11, 19));
}

TEST(ArrowImage, ShaftIsThreePixelsWideFromRowTwelveToTwentyThree) {
  const auto table = ReadColourTable();
  for (int y = 12; y <= 23; ++y) {
    EXPECT_EQ(OpaqueColumns(table, y), Columns(14, 16)) << "row " << y;
  }
}

TEST(ArrowImage, IsTransparentAboveTheTipAndBelowTheShaft) {
  const auto table = ReadColourTable();
  for (int y = 0; y < 7; ++y) {
    EXPECT_EQ(OpaqueColumns(table, y), std::vector<int>{}) << "row " << y;
  }
  for (int y = 24; y < kSize; ++y) {
    EXPECT_EQ(OpaqueColumns(table, y), std::vector<int>{}) << "row " << y;
  }
}

TEST(ArrowImage, OutlineIsBlack) {
  const auto table = ReadColourTable();
  int outline = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (Opaque(table, x, y) && OnOutline(table, x, y)) {
        ++outline;
        EXPECT_EQ(ColourAt(table, x, y), kBlack) << "(" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_GT(outline, 0);
}

TEST(ArrowImage, FillIsOliveWithYellowPurpleAndSilverHighlights) {
  const auto table = ReadColourTable();
  std::map<std::string, int> fill;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (Opaque(table, x, y) && !OnOutline(table, x, y))
        ++fill[ColourAt(table, x, y).value_or("")];
    }
  }
  const std::set<std::string> allowed = {kOlive, kYellow, kPurple, kSilver};
  for (const auto& [colour, count] : fill) {
    EXPECT_TRUE(allowed.contains(colour)) << count << " fill pixels are " << colour;
  }
  for (const auto& highlight : {kYellow, kPurple, kSilver}) {
    EXPECT_GT(fill[highlight], 0) << highlight;
    EXPECT_GT(fill[kOlive], fill[highlight])
        << "olive is the body, " << highlight << " a highlight";
  }
}

}  // namespace
