// Text echoed into messages: what a terminal would act on or cannot show is escaped.
#include "strings/MessageText.h"

#include <gtest/gtest.h>

#include <string>

namespace bvr {
namespace {

TEST(EscapedForMessage, EscapesControlsAndBytesThatAreNotUtf8) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"Müller 3 €", "Müller 3 €"},
      {"a\nb\r\tc", "a\\x0Ab\\x0D\\x09c"},
      {"\x1B[2J", "\\x1B[2J"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"\xC0\x80", "\\xC0\\x80"},                    // overlong NUL
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},           // a surrogate
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xE2\x82", "\\xE2\\x82"},                    // cut short
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},      // four bytes, whole
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapedForMessage(c.text), c.shown) << c.shown;
  }
}

TEST(EscapedForMessage, CutsAfterTheLimitBetweenCharacters) {
  EXPECT_EQ(EscapedForMessage("ab€cd", 3), "ab€...");  // the character is not split
}

}  // namespace
}  // namespace bvr
