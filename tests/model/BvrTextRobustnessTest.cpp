// Enormous or deeply nested input ends in a message or a clean load, never in a stack
// overflow: nothing in the reader recurses on its input.
#include <gtest/gtest.h>

#include <string>

#include "BvrTextTestSupport.h"

namespace bvr::test {
namespace {

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string s;
  s.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) {
    s += piece;
  }
  return s;
}

const std::string kHeader = "object BVRPropertiesParams: TBvrProperties\r\n";

TEST(BvrTextRobustness, AMillionContinuations) {
  const std::string text =
      kHeader + "  Account.number = 'x'" + Repeat(" +\r\n    'ab'", 1000000) + "\r\nend\r\n";
  ShouldRead(text, [](TBvrProperties& p) { EXPECT_EQ(p.Account().number().size(), 2000001u); });
}

TEST(BvrTextRobustness, DeeplyNestedInputStopsAtTheFirstLevel) {
  const std::size_t depth = 200000;
  ShouldFail(
      kHeader + Repeat("  object A: TBvrProperties\r\n", depth) + Repeat("end\r\n", depth + 1),
      "'end' expected on line 2");
  ShouldFail(kHeader + "  PaymentFor.Receipt.Text.Strings = " + Repeat("(", depth) + "\r\nend\r\n",
             "String expected on line 2");
  ShouldFail(kHeader + "  PaymentBy.Receipt.Font.Style = " + Repeat("[", depth) + "\r\nend\r\n",
             "Identifier expected on line 2");
  ShouldFail(
      kHeader + "  Tag" + Repeat(".Tag", depth) + " = 1\r\nend\r\n",
      "Error reading BVRPropertiesParams.Tag" + Repeat(".Tag", depth) + ": Invalid property path");
}

TEST(BvrTextRobustness, ALongLineAndManyLines) {
  const std::string big(16 << 20, 'z');
  ShouldRead(kHeader + "  Account.Receipt.Font.Name = '" + big + "'\r\nend\r\n",
             [&](TBvrProperties& p) { EXPECT_EQ(p.Account().Receipt().Font().Name(), big); });
  ShouldRead(kHeader + Repeat("  Tag = 1\r\n", 300000) + "  Tag = 2\r\nend\r\n",
             [](TBvrProperties& p) { EXPECT_EQ(p.Tag, 2); });
  ShouldFail(kHeader + Repeat("\r\n", 300000) + "  Tag = 'x'#\r\nend\r\n",
             "Number expected on line 300002");
}

}  // namespace
}  // namespace bvr::test
