#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "pdfwrite/FontTables.h"
#include "pdfwrite/PdfSyntax.h"

namespace bvr::pdf {
namespace {

TEST(PdfSyntax, NumbersAreAsShortAsTheirPrecision) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {0, 3, "0"},
      {12.5, 3, "12.5"},
      {-3.125, 3, "-3.125"},
      {297.6377, 3, "297.638"},
      {0.0004, 3, "0"},
      {-0.0004, 3, "0"},
      {-0.0006, 3, "-0.001"},
      {1e6, 3, "1000000"},
      {2.2386, 6, "2.2386"},
      {55.25, 1, "55.3"},
      {0.1, 0, "0"},
      {99.9999, 3, "100"},
      {std::numeric_limits<double>::quiet_NaN(), 3, "0"},
      {std::numeric_limits<double>::infinity(), 3, "0"},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendNumber(out, c.value, c.decimals);
    EXPECT_EQ(out, c.text) << c.value << " with " << c.decimals;
  }
}

TEST(PdfSyntax, TitlesKeepEveryCharacterAsUtf16) {
  EXPECT_EQ(TextString("QR-factures"), "<FEFF00510052002D00660061006300740075007200650073>");
  EXPECT_EQ(TextString("é"), "<FEFF00E9>");
  EXPECT_EQ(TextString("\xF0\x9F\x98\x80"), "<FEFFD83DDE00>");  // U+1F600, a surrogate pair
}

// A name table holding one record of name 6, on the given platform.
std::string NameTable(unsigned platform, const std::string& stored) {
  std::string table;
  const auto u16 = [&table](unsigned v) {
    table += static_cast<char>(v >> 8);
    table += static_cast<char>(v & 0xFF);
  };
  u16(0);
  u16(1);
  u16(6 + 12);
  u16(platform);
  u16(platform == 3 ? 1 : 0);
  u16(0);
  u16(6);
  u16(static_cast<unsigned>(stored.size()));
  u16(0);
  return table + stored;
}

TEST(PdfSyntax, PostScriptNameComesFromTheNameTable) {
  EXPECT_EQ(PostScriptName(NameTable(1, "LiberationSans-Bold")), "LiberationSans-Bold");
  const std::string wide("\0A\0r\0i\0a\0l\0 \0(\0x\0)", 18);
  EXPECT_EQ(PostScriptName(NameTable(3, wide)), "Arialx");  // no spaces, no delimiters
  EXPECT_EQ(PostScriptName(NameTable(2, "Other")), "");     // an encoding not read
  EXPECT_EQ(PostScriptName(std::string_view("\0\0\0\x05\0\x06", 6)), "");  // records past the end
  EXPECT_EQ(PostScriptName(""), "");
  EXPECT_EQ(NameSafe("liberation sans (x)/\xC3\xA9#1"), "liberationsansx1");
}

TEST(PdfSyntax, BoxAngleAndPitchComeFromHeadAndPost) {
  const auto u16 = [](std::string& table, std::size_t at, unsigned v) {
    table[at] = static_cast<char>(v >> 8);
    table[at + 1] = static_cast<char>(v & 0xFF);
  };
  std::string head(54, '\0');
  std::string post(32, '\0');
  const unsigned box[] = {0x10000 - 1114, 0x10000 - 431, 2666, 2025};  // signed in the table
  for (std::size_t i = 0; i < 4; ++i) {
    u16(head, 36 + 2 * i, box[i]);
  }
  u16(post, 4, 0x10000 - 13);  // -12.5 as 16.16: -13 + 0x8000 / 65536
  u16(post, 6, 0x8000);
  u16(post, 14, 1);
  const TableMetrics metrics = ReadTableMetrics(head, post);
  EXPECT_EQ(metrics.box, (std::array<double, 4>{-1114, -431, 2666, 2025}));
  EXPECT_DOUBLE_EQ(metrics.italicAngle, -12.5);
  EXPECT_TRUE(metrics.fixedPitch);
  const TableMetrics none = ReadTableMetrics("", "");  // tables too short: nothing read
  EXPECT_EQ(none.box, (std::array<double, 4>{}));
  EXPECT_EQ(none.italicAngle, 0);
  EXPECT_FALSE(none.fixedPitch);
}

}  // namespace
}  // namespace bvr::pdf
