#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/StreamReplace.h"

namespace bvr {
namespace {

TEST(StreamReplace, ReplacesAcrossPieceBoundaries) {
  const std::string text =
      "<<\n/Box [0 0 595.000000 300.000000]\n>>\nx/Box [0 0 595.000000 300.000000]";
  const std::string pad(9, ' ');  // to the length of what it replaces
  const std::string expected =
      "<<\n/Box [0 .09 595.27 300]" + pad + "\n>>\nx/Box [0 .09 595.27 300]" + pad;
  // Every way of cutting the text into two pieces, and one byte at a time.
  std::vector<std::vector<std::string>> cuts;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    cuts.push_back({text.substr(0, i), text.substr(i)});
  }
  std::vector<std::string> bytes;
  for (char c : text) {
    bytes.emplace_back(1, c);
  }
  cuts.push_back(bytes);
  for (const auto& pieces : cuts) {
    StreamReplace r("/Box [0 0 595.000000 300.000000]", "/Box [0 .09 595.27 300]");
    std::string out;
    for (const std::string& piece : pieces) {
      out += r.Feed(piece);
    }
    out += r.Finish();
    ASSERT_EQ(out, expected) << pieces.front().size();
    EXPECT_EQ(r.Replaced(), 2);
  }
}

TEST(StreamReplace, LengthNeverChanges) {
  const struct {
    const char* from;
    const char* to;
    const char* text;
    const char* out;
  } cases[] = {
      {"aa", "b", "aaa", "b a"},         // a replacement is not searched again
      {"ab", "xyz", "abab", "xyxy"},     // a longer replacement is cut
      {"abc", "ABC", "ababc", "abABC"},  // a false start before the match
      {"abc", "ABC", "ab", "ab"},        // held back, then given back at the end
      {"", "x", "text", "text"},
  };
  for (const auto& c : cases) {
    StreamReplace r(c.from, c.to);
    std::string out = r.Feed(c.text);
    out += r.Finish();
    EXPECT_EQ(out, c.out) << c.from << " in " << c.text;
  }
}

}  // namespace
}  // namespace bvr
