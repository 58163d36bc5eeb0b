#include <gtest/gtest.h>

#include <set>
#include <string>

#include "strings/BvrError.h"
#include "strings/VYKBVRResources.h"
#include "strings/Windows1252.h"

namespace bvr {
namespace {

TEST(Resources, TextsAreLookedUpByNumber) {
  struct Row {
    int id;
    const char* text;
  };
  const Row rows[] = {
      {64912, "N° d'adhérent"},
      {64913, "N° de référence"},
      {64918, "Longueur du n° interne"},
      {64942,
       "(Distance entre le bord de droite du BVR et le premier caractère de la ligne de codage)"},
      {64946, "Versemennt par : récépissé"},
      {64956, "&OK"},
      {64970, "Zone décimale/Impression..."},
      {64975, "Position code BVR"},
      {SInvalidAccountFormat, "Format du n° d'adhérent invalide"},
      {SAmountTooLarge, "Montant trop grand"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(LoadResString(row.id), row.text) << row.id;
  }
}

TEST(Resources, EveryNumberLiesInTheLibraryRangeAndUnknownOnesAreEmpty) {
  int found = 0;
  for (int id = kFirstStringId - 5; id <= kLastStringId + 5; ++id) {
    if (!LoadResString(id).empty()) {
      EXPECT_GE(id, kFirstStringId);
      EXPECT_LE(id, kLastStringId);
      ++found;
    }
  }
  EXPECT_EQ(found, 51);
}

TEST(Fmt, FillsDirectivesInOrder) {
  EXPECT_EQ(Fmt("%s on line %d").s("String expected").d(12).str(), "String expected on line 12");
  EXPECT_EQ(Fmt("Error reading %s%s%s: %s").s("A").s(".").s("B.C").s("D").str(),
            "Error reading A.B.C: D");
  // A value that itself holds a directive is not filled again.
  EXPECT_EQ(Fmt("%s and %s").s("%s").s("x").str(), "%s and x");
}

TEST(Windows1252, EveryByteRoundTripsThroughItsCodePoint) {
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) {
    const char32_t cp = Windows1252ToUnicode(static_cast<std::uint8_t>(b));
    EXPECT_TRUE(seen.insert(cp).second) << b;
    const auto back = UnicodeToWindows1252(cp);
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, b);
  }
  EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
  EXPECT_EQ(Windows1252ToUnicode(0xE9), U'é');
  EXPECT_FALSE(UnicodeToWindows1252(U'\u0100').has_value());
}

TEST(Utf8, EncodesAndDecodesAndSurvivesMalformedInput) {
  for (char32_t cp : {U'A', U'é', U'\u20AC', U'\U0001F600'}) {
    std::string text;
    AppendUtf8(text, cp);
    std::size_t pos = 0;
    EXPECT_EQ(NextUtf8(text, pos), cp);
    EXPECT_EQ(pos, text.size());
  }
  const std::string bad = "\xC3";  // truncated sequence
  std::size_t pos = 0;
  EXPECT_EQ(NextUtf8(bad, pos), U'\uFFFD');
  EXPECT_EQ(pos, 1u);
  const std::string overlong = "\xC0\xAF";
  pos = 0;
  EXPECT_EQ(NextUtf8(overlong, pos), U'\uFFFD');
}

}  // namespace
}  // namespace bvr
