// Spaces mapped to U+0020 in the ToUnicode maps on their way to the file: only destinations
// that say U+0009 change, in as many bytes, whichever way the stream is cut into pieces.
#include <gtest/gtest.h>

#include <string>

#include "report/ToUnicodeSpaces.h"

namespace bvr {
namespace {

std::string Through(const std::string& pdf, std::size_t piece, int* replaced = nullptr) {
  ToUnicodeSpaces filter;
  std::string out;
  for (std::size_t at = 0; at < pdf.size(); at += piece) {
    out += filter.Feed(std::string_view(pdf).substr(at, piece));
  }
  out += filter.Finish();
  if (replaced != nullptr) {
    *replaced = filter.Replaced();
  }
  return out;
}

TEST(ToUnicodeSpaces, OnlyTabDestinationsBecomeSpaces) {
  struct Case {
    const char* what;
    std::string in;
    std::string out;
    int replaced;
  };
  const Case cases[] = {
      {"in a range's array (as Qt writes it)",
       "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<0045> <0009> <0066>]\nendbfrange\n",
       "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<0045> <0020> <0066>]\nendbfrange\n",
       1},
      {"a range of one glyph", "1 beginbfrange\n<0004> <0004> <0009>\nendbfrange\n",
       "1 beginbfrange\n<0004> <0004> <0020>\nendbfrange\n", 1},
      {"a longer range stays: its next glyphs would shift",
       "1 beginbfrange\n<0004> <0005> <0009>\nendbfrange\n",
       "1 beginbfrange\n<0004> <0005> <0009>\nendbfrange\n", 0},
      {"glyph 9 as a source stays", "1 beginbfrange\n<0009> <0009> <0041>\nendbfrange\n",
       "1 beginbfrange\n<0009> <0009> <0041>\nendbfrange\n", 0},
      {"a char map", "2 beginbfchar\n<0009> <0041>\n<0003> <0009>\nendbfchar\n",
       "2 beginbfchar\n<0009> <0041>\n<0003> <0020>\nendbfchar\n", 1},
      {"outside a map nothing changes", "BT <0009> Tj ET\n[<0009>]\n",
       "BT <0009> Tj ET\n[<0009>]\n", 0},
  };
  for (const Case& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{1000}}) {
      int replaced = 0;
      const std::string out = Through("%PDF\n" + c.in + "%%EOF\n", piece, &replaced);
      EXPECT_EQ(out, "%PDF\n" + c.out + "%%EOF\n") << c.what << ", pieces of " << piece;
      EXPECT_EQ(replaced, c.replaced) << c.what;
    }
  }
}

}  // namespace
}  // namespace bvr
