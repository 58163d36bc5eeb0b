// Saving, loading into a fresh object and saving again gives the same text, for random
// layouts that set every published value (fixed seed), and for every code point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "BvrTextTestSupport.h"
#include "strings/Windows1252.h"

namespace bvr::test {
namespace {

bool SevenBit(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 128; });
}

class RandomLayout {
 public:
  explicit RandomLayout(std::uint32_t seed) : rng_(seed) {}

  void Fill(TBvrProperties& p) {
    Zone(p.PaymentFor().Receipt());
    Zone(p.PaymentFor().Processing());
    p.PaymentFor().Receipt().SetText(Lines());
    p.PaymentFor().Processing().SetText(Lines());
    Zone(p.PaymentBy().Receipt());
    Zone(p.PaymentBy().Processing());
    p.Account().Setnumber(Maybe(4) ? "" : Text());
    Zone(p.Account().Receipt());
    Zone(p.Account().Processing());
    Zone(p.Amount().Receipt());
    Zone(p.Amount().Processing());
    p.Amount().SetdecimalWidth(Int());
    p.Amount().SetCommaWidth(Int());
    p.Amount().SetCharWidth(Int());
    p.Amount().NegativeAmountChar = Maybe(3) ? '*' : static_cast<std::uint8_t>(Below(256));
    p.Amount().ShowNegativeAmount = Maybe(2);
    TNumberReference& n = p.Reference().number();
    n.AccountNumber = Maybe(3) ? "" : Text();
    n.AccountNumberIndexStart = Int();
    n.AccountNumberLength = Int();
    n.InternalNumberIndexStart = Int();
    n.InternalNumberLength = Int();
    Zone(p.Reference().Receipt());
    Zone(p.Reference().Processing());
    p.readOnly = Maybe(2);
    p.CodageZone().fromRight = Int();
    p.CodageZone().fromBottom = Int();
    p.Tag = Maybe(2) ? 0 : Int();
    p.DesignLeft = Maybe(2) ? 0 : Int();
    p.DesignTop = Maybe(2) ? 0 : Int();
  }

 private:
  bool Maybe(int oneIn) { return Below(static_cast<std::uint32_t>(oneIn)) == 0; }
  std::uint32_t Below(std::uint32_t n) {
    return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng_);
  }

  std::int32_t Int() {
    switch (Below(4)) {
      case 0:
        return static_cast<std::int32_t>(Below(2000));
      case 1:
        return -static_cast<std::int32_t>(Below(2000));
      case 2:
        return Maybe(2) ? INT32_MIN : INT32_MAX;
      default:
        return static_cast<std::int32_t>(rng_());
    }
  }

  char32_t CodePoint() {
    switch (Below(8)) {
      case 0:
        return Below(32);  // control characters, NUL included
      case 1:
        return '\'';
      case 2:
        return Windows1252ToUnicode(static_cast<std::uint8_t>(128 + Below(128)));
      case 3:
        return 0x100 + Below(0xD800 - 0x100);
      case 4:
        return 0xE000 + Below(0x10000 - 0xE000);
      case 5:
        return 0x10000 + Below(0x110000 - 0x10000);
      default:
        return 32 + Below(96);
    }
  }

  std::string Text() {
    static constexpr std::uint32_t kLengths[] = {0, 1, 63, 64, 65, 128, 129, 200};
    const std::uint32_t length = Maybe(3) ? kLengths[Below(8)] : Below(100);
    std::string s;
    for (std::uint32_t i = 0; i < length; ++i) {
      AppendUtf8(s, CodePoint());
    }
    return s;
  }

  std::vector<std::string> Lines() {
    std::vector<std::string> lines(Maybe(3) ? 0 : Below(6));
    for (std::string& line : lines) {
      line = Text();
    }
    return lines;
  }

  void Zone(TBaseZone& z) {
    z.SetLeft(Int());
    z.SetTop(Int());
    z.SetWidth(Int());
    z.Setheight(Int());
    z.Imprime = Maybe(2);
  }
  void Zone(TFontBaseZone& z) {
    Zone(static_cast<TBaseZone&>(z));
    Font(z.Font());
  }
  void Zone(TZone& z) {
    Zone(static_cast<TBaseZone&>(z));
    Font(z.Font());
  }
  void Zone(TlineTextZone& z) {
    Zone(static_cast<TBaseZone&>(z));
    Font(z.Font());
  }

  void Font(TFont& f) {
    f.SetCharset(static_cast<TFontCharset>(Below(256)));
    switch (Below(3)) {
      case 0:
        f.SetColor(SystemColor(static_cast<int>(Below(32))));  // 25 and 31 have no name
        break;
      case 1:
        f.SetColor(static_cast<TColor>(Below(0x1000000)));
        break;
      default:
        f.SetColor(Int());
    }
    f.SetHeight(Int());
    f.SetName(Text());
    f.SetOrientation(Maybe(2) ? 0 : Int());
    f.SetPitch(static_cast<TFontPitch>(Below(3)));
    f.SetStyle(static_cast<TFontStyles>(Below(16)));
  }

  std::mt19937 rng_;
};

TEST(BvrTextRoundTrip, RandomLayoutsSaveLoadSaveIdentically) {
  RandomLayout random(20240611);
  for (int i = 0; i < 2000; ++i) {
    auto original = NewLayout();
    random.Fill(*original);
    const std::string text = original->SaveToText();
    ASSERT_TRUE(SevenBit(text)) << "case " << i;
    auto copy = NewLayout();
    try {
      copy->LoadFromText(text);
    } catch (const EBvrError& e) {
      FAIL() << "case " << i << ": " << e.what() << "\n" << text;
    }
    ASSERT_EQ(copy->SaveToText(), text) << "case " << i;
    // The values themselves, not only their text.
    ASSERT_EQ(copy->PaymentFor().Receipt().Text(), original->PaymentFor().Receipt().Text());
    ASSERT_EQ(copy->Account().number(), original->Account().number());
    ASSERT_EQ(copy->PaymentBy().Processing().Font().Name(),
              original->PaymentBy().Processing().Font().Name());
    ASSERT_EQ(copy->Amount().NegativeAmountChar, original->Amount().NegativeAmountChar);
  }
}

TEST(BvrTextRoundTrip, EveryCodePointIsReadBackUnchanged) {
  std::vector<std::string> lines(1);
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) {
      continue;
    }
    if (lines.back().size() > 4000) {
      lines.emplace_back();
    }
    AppendUtf8(lines.back(), c);
  }
  auto p = NewLayout();
  p->PaymentFor().Receipt().SetText(lines);
  const std::string text = p->SaveToText();
  ASSERT_TRUE(SevenBit(text));
  auto q = NewLayout();
  q->LoadFromText(text);
  EXPECT_TRUE(q->PaymentFor().Receipt().Text() == lines);
}

TEST(BvrTextRoundTrip, EveryReplacementCharacterIsReadBackUnchanged) {
  for (int b = 0; b < 256; ++b) {
    auto p = NewLayout();
    p->Amount().NegativeAmountChar = static_cast<std::uint8_t>(b);
    auto q = NewLayout();
    q->LoadFromText(p->SaveToText());
    EXPECT_EQ(q->Amount().NegativeAmountChar, b);
  }
}

}  // namespace
}  // namespace bvr::test
