// Loading a layout: what the reader accepts beyond what the writer produces, the exact
// messages of every failure, and the object's state after one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BvrTextTestSupport.h"
#include "model/DemoLayout.h"
#include "model/ZoneShape.h"
#include "strings/Windows1252.h"

namespace bvr::test {
namespace {

const std::string kHeader = "object BVRPropertiesParams: TBvrProperties\r\n";

TEST(BvrTextReader, DemonstrationLayout) {
  ShouldRead(std::string(DemonstrationLayoutText()), [](TBvrProperties& p) {
    EXPECT_EQ(
        p.PaymentFor().Receipt().Text(),
        (std::vector<std::string>{"Plenwick", "Rue du March\xC3\xA9 10", "1200 Gen\xC3\xA8ve"}));
    EXPECT_EQ(p.PaymentFor().Receipt().Left(), 26);
    EXPECT_EQ(p.PaymentFor().Receipt().Font().Name(), "Arial");
    EXPECT_EQ(p.PaymentFor().Receipt().Font().Height(), -19);
    EXPECT_EQ(p.Amount().Receipt().Font().Charset(), ANSI_CHARSET);
    EXPECT_EQ(p.Account().number(), "01-987654-4");
    EXPECT_EQ(p.Account().Receipt().LineText(), "01-987654-4");
    EXPECT_EQ(p.Account().Processing().LineText(), "01-987654-4");
    EXPECT_EQ(p.Amount().CommaWidth(), 60);
    EXPECT_EQ(p.Reference().number().AccountNumber, "00123456");
    EXPECT_EQ(p.Reference().number().InternalNumberIndexStart, 9);
    EXPECT_EQ(p.Reference().Processing().height(), 92);
    EXPECT_EQ(p.DesignLeft, 256);
    EXPECT_EQ(p.DesignTop, 24);
    EXPECT_EQ(p.Name, kObjectName);
  });
}

TEST(BvrTextReader, FreeSpacingLineBreaksAndLetterCase) {
  ShouldRead(
      "OBJECT   Other :TSomething\n"
      "paymentfor . RECEIPT .left=\n\n   -26\tPaymentFor.Receipt.Imprime = false\n"
      "PaymentFor.Receipt.Font.Style=[ FSBOLD ,fsitalic ]"
      "  PaymentFor.Receipt.Font.Color = CLRED PaymentFor.Receipt.Font.Pitch = FPFIXED\n"
      "  PaymentFor.Receipt.Font.Charset = ansi_charset\n"
      "  readonly = TRUE End",
      [](TBvrProperties& p) {
        const TZone& z = p.PaymentFor().Receipt();
        EXPECT_EQ(z.Left(), -26);
        EXPECT_FALSE(z.Imprime);
        EXPECT_EQ(z.Font().Style(), fsBold | fsItalic);
        EXPECT_EQ(z.Font().Color(), clRed);
        EXPECT_EQ(z.Font().Pitch(), TFontPitch::fpFixed);
        EXPECT_EQ(z.Font().Charset(), ANSI_CHARSET);
        EXPECT_TRUE(p.readOnly);
        EXPECT_EQ(p.Name, kObjectName);  // the header's name is not taken
      });
}

TEST(BvrTextReader, UnnamedHeaderAndTextAfterTheEnd) {
  ShouldRead("object TBvrProperties\r\n  Tag = 3\r\nend\r\nanything at all 'unterminated",
             [](TBvrProperties& p) { EXPECT_EQ(p.Tag, 3); });
}

struct StringCase {
  const char* what;
  std::string value;     // as written after "Account.number = "
  std::string expected;  // UTF-8
};

TEST(BvrTextReader, Strings) {
  const StringCase cases[] = {
      {"pieces joined by +", "'ab' +\r\n    #39 + 'c'", "ab'c"},
      {"adjacent pieces", "'a'#9#$41'b'", "a\tAb"},
      {"doubled apostrophe", "'d''Orbe'", "d'Orbe"},
      {"only a doubled apostrophe", "''''", "'"},
      {"raw byte as Windows-1252", "'Gen\xE8ve \x80'", "Gen\xC3\xA8ve \xE2\x82\xAC"},
      {"raw byte beside a small code", "'\x80'#65",
       "\xE2\x82\xAC"
       "A"},
      {"raw byte as a code point when a code above 127 occurs", "'\x80'#8364",
       "\xC2\x80\xE2\x82\xAC"},
      {"the rule spans the pieces joined by +", "'\x80' +\r\n #300", "\xC2\x80\xC4\xAC"},
      {"raw control characters inside quotes", "'a\tb'", "a\tb"},
      {"code beyond the code page", "#128512", "\xF0\x9F\x98\x80"},
      {"NUL", "'a'#0'b'", std::string("a\0b", 3)},
      {"last code point", "#1114111", "\xF4\x8F\xBF\xBF"},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.what);
    ShouldRead(kHeader + "  Account.number = " + c.value + "\r\nend\r\n",
               [&](TBvrProperties& p) { EXPECT_EQ(p.Account().number(), c.expected); });
  }
}

TEST(BvrTextReader, EveryRawByteIsReadAsWindows1252) {
  for (int b = 1; b < 256; ++b) {
    if (b == '\'' || b == '\r' || b == '\n') {
      continue;
    }
    SCOPED_TRACE(b);
    std::string expected;
    AppendUtf8(expected, Windows1252ToUnicode(static_cast<std::uint8_t>(b)));
    ShouldRead(kHeader + "  Account.number = '" + static_cast<char>(b) + "'\r\nend\r\n",
               [&](TBvrProperties& p) { EXPECT_EQ(p.Account().number(), expected); });
  }
}

TEST(BvrTextReader, NumbersAndNames) {
  ShouldRead(
      LayoutText({"Tag = $1F", "PaymentFor.Receipt.Left = -$10",
                  "PaymentFor.Receipt.Top = 2147483647", "PaymentFor.Receipt.Width = -2147483648",
                  "PaymentFor.Receipt.height = $FFFFFFFF",
                  "PaymentFor.Receipt.Font.Color = $FF000008",
                  "PaymentFor.Processing.Font.Color = 255", "PaymentFor.Receipt.Font.Charset = 238",
                  "PaymentFor.Processing.Font.Charset = 255", "PaymentFor.Receipt.Font.Style = []",
                  "PaymentBy.Receipt.Font.Size = 12", "Left = -5", "Top = 0"}),
      [](TBvrProperties& p) {
        const TZone& z = p.PaymentFor().Receipt();
        EXPECT_EQ(p.Tag, 31);
        EXPECT_EQ(z.Left(), -16);
        EXPECT_EQ(z.Top(), 2147483647);
        EXPECT_EQ(z.Width(), -2147483647 - 1);
        EXPECT_EQ(z.height(), -1);
        EXPECT_EQ(z.Font().Color(), clWindowText);
        EXPECT_EQ(p.PaymentFor().Processing().Font().Color(), clRed);
        EXPECT_EQ(z.Font().Charset(), 238);
        EXPECT_EQ(p.PaymentFor().Processing().Font().Charset(), 255);
        EXPECT_EQ(p.PaymentBy().Receipt().Font().Height(), -16);
        EXPECT_EQ(p.DesignLeft, -5);
        EXPECT_EQ(p.DesignTop, 0);
      });
}

TEST(BvrTextReader, ReplacementCharacter) {
  const std::pair<const char*, int> cases[] = {{"'-'", '-'},     {"#8364", 0x80}, {"#129", 0x81},
                                               {"'\xE9'", 0xE9}, {"#255", 0xFF},  {"#0", 0}};
  for (const auto& [value, expected] : cases) {
    SCOPED_TRACE(value);
    ShouldRead(LayoutText({std::string("Amount.NegativeAmountChar = ") + value}),
               [&](TBvrProperties& p) { EXPECT_EQ(p.Amount().NegativeAmountChar, expected); });
  }
}

TEST(BvrTextReader, LineFeedsAloneEndLinesAsWell) {
  std::string text(DemonstrationLayoutText());
  std::string lf;
  for (char c : text) {
    if (c != '\r') {
      lf += c;
    }
  }
  ShouldRead(lf, [&](TBvrProperties& p) { EXPECT_EQ(p.SaveToText(), text); });
}

TEST(BvrTextReader, TextListsReplaceTheLinesAndKeepEmptyOnes) {
  auto p = NewLayout();
  p->PaymentFor().Processing().SetText({"old"});
  ShouldRead(
      LayoutText({"PaymentFor.Receipt.Text.Strings = (", "  'a'", "  ''", "  'b')",
                  "PaymentFor.Receipt.TEXT.strings = ( 'c' '' 'd'+'e' )"}),
      [](TBvrProperties& q) {
        EXPECT_EQ(q.PaymentFor().Receipt().Text(), (std::vector<std::string>{"c", "", "de"}));
        EXPECT_TRUE(q.PaymentFor().Processing().Text().empty());  // defaults first
      },
      p.get());
  ShouldRead(LayoutText({"PaymentFor.Receipt.Text.Strings = ()"}),
             [](TBvrProperties& q) { EXPECT_TRUE(q.PaymentFor().Receipt().Text().empty()); });
}

TEST(BvrTextReader, WhatTheFileDoesNotMentionKeepsItsValue) {
  auto p = NewLayout();
  p->Amount().NegativeAmountChar = '-';
  p->Account().Setnumber("01-1-1");
  p->PaymentFor().Receipt().SetLeft(999);
  ShouldRead(
      LayoutText({"Tag = 1"}),
      [](TBvrProperties& q) {
        EXPECT_EQ(q.Amount().NegativeAmountChar, '-');
        EXPECT_EQ(q.Account().number(), "01-1-1");
        EXPECT_EQ(q.Account().Receipt().LineText(), "");
        EXPECT_EQ(q.Account().Processing().LineText(), "");
        EXPECT_EQ(q.PaymentFor().Receipt().Left(), 10);  // reset by the defaults
      },
      p.get());
  ShouldRead(LayoutText({"Account.number = '01-2-2'"}), [](TBvrProperties& q) {
    EXPECT_EQ(q.Account().Receipt().LineText(), "01-2-2");
    EXPECT_EQ(q.Account().Processing().LineText(), "01-2-2");
  });
}

TEST(BvrTextReader, NameLinesAreReadButTheObjectKeepsItsName) {
  ShouldRead(LayoutText({"Name = 'Other'", "Tag = 2"}), [](TBvrProperties& p) {
    EXPECT_EQ(p.Name, kObjectName);
    EXPECT_EQ(p.Tag, 2);
  });
}

struct FailCase {
  const char* what;
  std::string text;
  std::string message;
};

std::string Err(const std::string& path, const std::string& reason) {
  return "Error reading BVRPropertiesParams." + path + ": " + reason;
}

TEST(BvrTextReader, Failures) {
  const std::string ipv = "Invalid property value";
  const FailCase cases[] = {
      // Syntax: nothing is applied, the line is where the reader stood.
      {"no header", "objekt X: TBvrProperties\r\nend\r\n", "'object' expected on line 1"},
      {"header without a name", "object : TBvrProperties\r\nend\r\n",
       "Identifier expected on line 1"},
      {"header without a class", "object X: 'T'\r\nend\r\n", "Identifier expected on line 1"},
      {"empty text", "", "'object' expected on line 1"},
      {"missing =", LayoutText({"Tag = 1", "readOnly True"}), "'=' expected on line 3"},
      {"unit after a number", LayoutText({"PaymentFor.Receipt.Left = 26px", "Tag = 1"}),
       "'=' expected on line 2"},
      {"value missing at the end of a line", LayoutText({"Tag =", "PaymentFor.Receipt.Top = 5"}),
       "Invalid property value on line 2"},
      {"CR line ends", "object X: TBvrProperties\r  Tag = 1\r  Left = 26px\r  Tag = 2\rend\r",
       "'=' expected on line 3"},
      {"LF and CR LF line ends", "object X: TBvrProperties\n  Tag = 1\r\n  Tag 2\nend\n",
       "'=' expected on line 3"},
      {"missing name after a dot", LayoutText({"PaymentFor. = 1"}),
       "Identifier expected on line 2"},
      {"line without a name", LayoutText({"= 1"}), "Identifier expected on line 2"},
      {"unterminated string", LayoutText({"Account.number = 'abc", "Tag = 1"}),
       "Invalid string constant on line 2"},
      {"unterminated string at the end", kHeader + "  Account.number = 'abc",
       "Invalid string constant on line 2"},
      {"code beyond Unicode", LayoutText({"Account.number = #1114112"}),
       "Invalid string constant on line 2"},
      {"surrogate code", LayoutText({"Account.number = 'a'#55296"}),
       "Invalid string constant on line 2"},
      {"huge code", LayoutText({"Account.number = #99999999999999999999999"}),
       "Invalid string constant on line 2"},
      {"+ without a string", LayoutText({"Account.number = 'a' +", "  12"}),
       "String expected on line 3"},
      {"list item that is not a string",
       LayoutText({"PaymentFor.Receipt.Text.Strings = (", "'a'", "12)"}),
       "String expected on line 4"},
      {"unclosed list", kHeader + "  PaymentFor.Receipt.Text.Strings = (\r\n 'a'\r\n",
       "')' expected on line 4"},
      {"nested list", LayoutText({"PaymentFor.Receipt.Text.Strings = ((('a')))"}),
       "String expected on line 2"},
      {"set without a comma", LayoutText({"PaymentBy.Receipt.Font.Style = [fsBold fsItalic]"}),
       "']' expected on line 2"},
      {"set without a name", LayoutText({"PaymentBy.Receipt.Font.Style = [fsBold,]"}),
       "Identifier expected on line 2"},
      {"minus without digits", LayoutText({"Tag = -x"}), "Number expected on line 2"},
      {"dollar without digits", LayoutText({"Tag = $"}), "Number expected on line 2"},
      {"hash without digits", LayoutText({"Account.number = 'a'#x"}), "Number expected on line 2"},
      {"floating point", LayoutText({"Tag = 1.5"}), "Invalid property value on line 2"},
      {"exponent", LayoutText({"Tag = 1e5"}), "Invalid property value on line 2"},
      {"binary data", LayoutText({"Tag = {0A0B}"}), "Invalid property value on line 2"},
      {"collection", LayoutText({"Tag = <>"}), "Invalid property value on line 2"},
      {"no value", LayoutText({"Tag = )"}), "Invalid property value on line 2"},
      {"missing end", kHeader + "  Tag = 1\r\n", "'end' expected on line 3"},
      {"nested object section",
       LayoutText({"Tag = 1", "object Child: TBvrProperties", "  Tag = 2", "end"}),
       "'end' expected on line 3"},
      {"nested inherited section", LayoutText({"inherited Child: TFoo", "end"}),
       "'end' expected on line 2"},
      {"byte that starts no token", LayoutText({"\x01\xE9 = 1"}), "Identifier expected on line 2"},
      // Applying: the message names the object and the path.
      {"unknown property", LayoutText({"PaymentFor.Receipt.Colour = clRed"}),
       Err("PaymentFor.Receipt.Colour", "Property Colour does not exist")},
      {"unknown section", LayoutText({"Payment.Receipt.Left = 1"}),
       Err("Payment.Receipt.Left", "Property Payment does not exist")},
      {"path through an integer", LayoutText({"PaymentFor.Receipt.Left.X = 1"}),
       Err("PaymentFor.Receipt.Left.X", "Invalid property path")},
      {"path through a Boolean", LayoutText({"readOnly.X = True"}),
       Err("readOnly.X", "Invalid property path")},
      {"path through the design position", LayoutText({"Left.X = 1"}),
       Err("Left.X", "Invalid property path")},
      {"path through the name", LayoutText({"Name.X = 'a'"}),
       Err("Name.X", "Invalid property path")},
      {"list under another name", LayoutText({"PaymentFor.Receipt.Text.Lines = ('a')"}),
       Err("PaymentFor.Receipt.Text.Lines", "Property Lines does not exist")},
      {"path past the list", LayoutText({"PaymentFor.Receipt.Text.Strings.X = ('a')"}),
       Err("PaymentFor.Receipt.Text.Strings.X", "Invalid property path")},
      {"list without Strings", LayoutText({"PaymentFor.Receipt.Text = ('a')"}),
       Err("PaymentFor.Receipt.Text", ipv)},
      {"lines that are not a list", LayoutText({"PaymentFor.Receipt.Text.Strings = 'a'"}),
       Err("PaymentFor.Receipt.Text.Strings", ipv)},
      {"value for a section", LayoutText({"PaymentFor = 1"}), Err("PaymentFor", ipv)},
      {"value for a zone", LayoutText({"PaymentFor.Receipt = 1"}), Err("PaymentFor.Receipt", ipv)},
      {"string for an integer", LayoutText({"PaymentFor.Receipt.Left = '1'"}),
       Err("PaymentFor.Receipt.Left", ipv)},
      {"integer above 32 bits", LayoutText({"PaymentFor.Receipt.Left = 2147483648"}),
       Err("PaymentFor.Receipt.Left", ipv)},
      {"integer below 32 bits", LayoutText({"PaymentFor.Receipt.Left = -2147483649"}),
       Err("PaymentFor.Receipt.Left", ipv)},
      {"hexadecimal above 32 bits", LayoutText({"PaymentFor.Receipt.Left = $100000000"}),
       Err("PaymentFor.Receipt.Left", ipv)},
      {"enormous integer", LayoutText({"Tag = 123456789012345678901234567890"}), Err("Tag", ipv)},
      {"number for a Boolean", LayoutText({"readOnly = 1"}), Err("readOnly", ipv)},
      {"other name for a Boolean", LayoutText({"readOnly = Yes"}), Err("readOnly", ipv)},
      {"unknown colour", LayoutText({"PaymentBy.Receipt.Font.Color = clPink"}),
       Err("PaymentBy.Receipt.Font.Color", ipv)},
      {"string for a colour", LayoutText({"PaymentBy.Receipt.Font.Color = 'clRed'"}),
       Err("PaymentBy.Receipt.Font.Color", ipv)},
      {"unknown style", LayoutText({"PaymentBy.Receipt.Font.Style = [fsBold, fsHeavy]"}),
       Err("PaymentBy.Receipt.Font.Style", ipv)},
      {"style without brackets", LayoutText({"PaymentBy.Receipt.Font.Style = fsBold"}),
       Err("PaymentBy.Receipt.Font.Style", ipv)},
      {"charset above 255", LayoutText({"PaymentBy.Receipt.Font.Charset = 256"}),
       Err("PaymentBy.Receipt.Font.Charset", ipv)},
      {"negative charset", LayoutText({"PaymentBy.Receipt.Font.Charset = -1"}),
       Err("PaymentBy.Receipt.Font.Charset", ipv)},
      {"unknown charset", LayoutText({"PaymentBy.Receipt.Font.Charset = KLINGON_CHARSET"}),
       Err("PaymentBy.Receipt.Font.Charset", ipv)},
      {"number for a pitch", LayoutText({"PaymentBy.Receipt.Font.Pitch = 1"}),
       Err("PaymentBy.Receipt.Font.Pitch", ipv)},
      {"unknown pitch", LayoutText({"PaymentBy.Receipt.Font.Pitch = fpWide"}),
       Err("PaymentBy.Receipt.Font.Pitch", ipv)},
      {"two characters", LayoutText({"Amount.NegativeAmountChar = 'ab'"}),
       Err("Amount.NegativeAmountChar", ipv)},
      {"no character", LayoutText({"Amount.NegativeAmountChar = ''"}),
       Err("Amount.NegativeAmountChar", ipv)},
      {"character outside the code page", LayoutText({"Amount.NegativeAmountChar = #128"}),
       Err("Amount.NegativeAmountChar", ipv)},
      {"number for a character", LayoutText({"Amount.NegativeAmountChar = 45"}),
       Err("Amount.NegativeAmountChar", ipv)},
      {"number for a string", LayoutText({"Account.number = 12"}), Err("Account.number", ipv)},
      {"identifier for a font name", LayoutText({"Account.Receipt.Font.Name = arial"}),
       Err("Account.Receipt.Font.Name", ipv)},
      {"number for the name", LayoutText({"Name = 12"}), Err("Name", ipv)},
      {"string for the design position", LayoutText({"Left = '1'"}), Err("Left", ipv)},
      {"design position above 32 bits", LayoutText({"Top = 4294967296"}), Err("Top", ipv)},
  };
  for (const FailCase& c : cases) {
    SCOPED_TRACE(c.what);
    ShouldFail(c.text, c.message);
  }
}

TEST(BvrTextReader, FailureMessageUsesTheObjectsOwnName) {
  TBvrProperties p;
  p.Name = "Mine";
  try {
    p.LoadFromText("object Other: TBvrProperties\r\n  Foo = 1\r\nend\r\n");
    FAIL() << "loaded";
  } catch (const EBvrError& e) {
    EXPECT_STREQ(e.what(), "Error reading Mine.Foo: Property Foo does not exist");
  }
  TBvrProperties unnamed;
  try {
    unnamed.LoadFromText("object TBvrProperties\r\n  Foo = 1\r\nend\r\n");
    FAIL() << "loaded";
  } catch (const EBvrError& e) {
    EXPECT_STREQ(e.what(), "Error reading Foo: Property Foo does not exist");
  }
}

// Counts how often the model pushed a zone to its designer rectangle.
class CountingShape : public IZoneShape {
 public:
  int bounds = 0;
  void SetZoneBounds(const ZoneRect&, double) override { ++bounds; }
  void Invalidate() override {}
  void SetTextFont(const TFont&) override {}
  void SetLines(const std::vector<std::string>&) override {}
  void SetLineText(const std::string&) override {}
  ZoneRect BoundsRect() const override { return {}; }
  void SetOnBoundsChanged(std::function<void()>) override {}
};

TEST(BvrTextReader, StateAfterSuccessAndFailure) {
  struct Case {
    const char* what;
    std::string text;
    bool loads;
    std::int32_t left;  // PaymentFor.Receipt.Left afterwards
    std::int32_t top;   // PaymentFor.Receipt.Top afterwards
  };
  const Case cases[] = {
      {"success", LayoutText({"PaymentFor.Receipt.Left = 1", "PaymentFor.Receipt.Top = 2"}), true,
       1, 2},
      {"syntax error after good lines: defaults only",
       LayoutText({"PaymentFor.Receipt.Left = 1", "PaymentFor.Receipt.Top = 2", "Tag 3"}), false,
       10, 80},
      {"apply error: the lines before it are applied",
       LayoutText({"PaymentFor.Receipt.Left = 1", "PaymentFor.Receipt.Colour = clRed",
                   "PaymentFor.Receipt.Top = 2"}),
       false, 1, 80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto p = NewLayout();
    p->PaymentFor().Receipt().SetLeft(555);
    p->PaymentFor().Receipt().SetTop(555);
    CountingShape shape;
    p->PaymentFor().Receipt().SetShape(&shape);
    bool loaded = true;
    try {
      p->LoadFromText(c.text);
    } catch (const EBvrError&) {
      loaded = false;
    }
    EXPECT_EQ(loaded, c.loads);
    EXPECT_EQ(p->PaymentFor().Receipt().Left(), c.left);
    EXPECT_EQ(p->PaymentFor().Receipt().Top(), c.top);
    EXPECT_EQ(shape.bounds, c.loads ? 1 : 0);
    p->PaymentFor().Receipt().SetShape(nullptr);
  }
}

}  // namespace
}  // namespace bvr::test
