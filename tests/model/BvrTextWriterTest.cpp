// Saving a layout: the exact text, the omission of defaults, value syntax, string escapes and
// the line limit of long strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "BvrTextTestSupport.h"
#include "model/DemoLayout.h"

namespace bvr::test {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

TEST(BvrTextWriter, DemonstrationLayoutIsWrittenByteForByte) {
  auto p = NewLayout();
  LoadDemonstrationLayout(*p);
  EXPECT_EQ(p->SaveToText(), DemonstrationLayoutText());
}

TEST(BvrTextWriter, FreshLayoutWritesOnlyWhatHasNoDefault) {
  auto p = NewLayout();
  const std::string text = p->SaveToText();
  const auto lines = Lines(text);
  // 10 zones x (5 geometry + 5 font lines), 3 amount widths, 4 reference integers, readOnly
  // and the two coding-line offsets, between header and end.
  ASSERT_EQ(lines.size(), 112u);
  EXPECT_EQ(lines.front(), "object BVRPropertiesParams: TBvrProperties");
  EXPECT_EQ(lines[1], "  PaymentFor.Receipt.Left = 10");
  EXPECT_EQ(lines.back(), "end");
  EXPECT_EQ(text.substr(text.size() - 5), "end\r\n");
  EXPECT_TRUE(Has(lines, "  Reference.number.AccountNumberLength = 0"));
  EXPECT_TRUE(Has(lines, "  Amount.Receipt.Font.Name = 'arial'"));
  EXPECT_TRUE(Has(lines, "  Amount.Receipt.Font.Charset = DEFAULT_CHARSET"));
  EXPECT_TRUE(Has(lines, "  Amount.Receipt.Font.Color = clWindowText"));
  EXPECT_TRUE(Has(lines, "  Amount.Receipt.Font.Height = -15"));
  EXPECT_TRUE(Has(lines, "  Amount.Receipt.Font.Style = []"));
  EXPECT_EQ(lines[lines.size() - 2], "  CodageZone.fromBottom = 190");
  for (const char* absent : {"  Tag", "  Left", "  Top", "  Account.number",
                             "  Reference.number.AccountNumber =", "  PaymentFor.Receipt.Text",
                             "  Amount.NegativeAmountChar", "  Amount.ShowNegativeAmount"}) {
    EXPECT_FALSE(HasPrefix(lines, absent)) << absent;
  }
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("Orientation"), std::string::npos) << line;
    EXPECT_EQ(line.find("Pitch"), std::string::npos) << line;
    EXPECT_EQ(line.find("Size"), std::string::npos) << line;
  }
}

struct ValueCase {
  const char* what;
  std::function<void(TBvrProperties&)> set;
  const char* line;
};

TEST(BvrTextWriter, ValueSyntax) {
  const ValueCase cases[] = {
      {"negative integer", [](TBvrProperties& p) { p.PaymentBy().Receipt().SetLeft(-42); },
       "  PaymentBy.Receipt.Left = -42"},
      {"Boolean", [](TBvrProperties& p) { p.PaymentBy().Receipt().Imprime = false; },
       "  PaymentBy.Receipt.Imprime = False"},
      {"named fixed colour",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetColor(clRed); },
       "  PaymentBy.Receipt.Font.Color = clRed"},
      {"unnamed colour",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetColor(16744576); },
       "  PaymentBy.Receipt.Font.Color = 16744576"},
      {"unnamed system colour (index 25)",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetColor(SystemColor(25)); },
       "  PaymentBy.Receipt.Font.Color = -16777191"},
      {"last system colour",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetColor(SystemColor(30)); },
       "  PaymentBy.Receipt.Font.Color = clMenuBar"},
      {"clNone", [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetColor(clNone); },
       "  PaymentBy.Receipt.Font.Color = clNone"},
      {"clDefault", [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetColor(clDefault); },
       "  PaymentBy.Receipt.Font.Color = clDefault"},
      {"named charset", [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetCharset(238); },
       "  PaymentBy.Receipt.Font.Charset = EASTEUROPE_CHARSET"},
      {"unnamed charset", [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetCharset(3); },
       "  PaymentBy.Receipt.Font.Charset = 3"},
      {"all styles", [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetStyle(15); },
       "  PaymentBy.Receipt.Font.Style = [fsBold, fsItalic, fsUnderline, fsStrikeOut]"},
      {"two styles",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetStyle(fsItalic | fsStrikeOut); },
       "  PaymentBy.Receipt.Font.Style = [fsItalic, fsStrikeOut]"},
      {"pitch",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetPitch(TFontPitch::fpFixed); },
       "  PaymentBy.Receipt.Font.Pitch = fpFixed"},
      {"orientation",
       [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetOrientation(-900); },
       "  PaymentBy.Receipt.Font.Orientation = -900"},
      {"replacement character", [](TBvrProperties& p) { p.Amount().NegativeAmountChar = '-'; },
       "  Amount.NegativeAmountChar = '-'"},
      {"replacement character from the code page",
       [](TBvrProperties& p) { p.Amount().NegativeAmountChar = 0x80; },
       "  Amount.NegativeAmountChar = #8364"},
      {"apostrophe as replacement character",
       [](TBvrProperties& p) { p.Amount().NegativeAmountChar = '\''; },
       "  Amount.NegativeAmountChar = #39"},
      {"negative amounts hidden", [](TBvrProperties& p) { p.Amount().ShowNegativeAmount = false; },
       "  Amount.ShowNegativeAmount = False"},
      {"read-only", [](TBvrProperties& p) { p.readOnly = true; }, "  readOnly = True"},
      {"apostrophe", [](TBvrProperties& p) { p.Account().Setnumber("d'Orbe"); },
       "  Account.number = 'd'#39'Orbe'"},
      {"leading apostrophe", [](TBvrProperties& p) { p.Account().Setnumber("'x'"); },
       "  Account.number = #39'x'#39"},
      {"tab", [](TBvrProperties& p) { p.Account().Setnumber("a\tb"); },
       "  Account.number = 'a'#9'b'"},
      {"accent", [](TBvrProperties& p) { p.Account().Setnumber("1200 Gen\xC3\xA8ve"); },
       "  Account.number = '1200 Gen'#232've'"},
      {"euro sign", [](TBvrProperties& p) { p.Account().Setnumber("5 \xE2\x82\xAC"); },
       "  Account.number = '5 '#8364"},
      {"beyond the code page", [](TBvrProperties& p) { p.Account().Setnumber("\xF0\x9F\x98\x80"); },
       "  Account.number = #128512"},
      {"NUL and DEL", [](TBvrProperties& p) { p.Account().Setnumber(std::string("\0\x7F", 2)); },
       "  Account.number = #0'\x7F'"},
      {"invalid UTF-8 in the model", [](TBvrProperties& p) { p.Account().Setnumber("a\xFF\xC3"); },
       "  Account.number = 'a'#65533#65533"},
      {"64 characters stay on the line",
       [](TBvrProperties& p) { p.Account().Setnumber(std::string(64, 'x')); },
       "  Account.number = '"
       "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx'"},
      {"empty font name", [](TBvrProperties& p) { p.PaymentBy().Receipt().Font().SetName(""); },
       "  PaymentBy.Receipt.Font.Name = ''"},
      {"empty creditor line",
       [](TBvrProperties& p) {
         p.PaymentFor().Receipt().SetText({"a", "", "b"});
       },
       "    ''"},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto p = NewLayout();
    c.set(*p);
    const auto lines = Lines(p->SaveToText());
    EXPECT_TRUE(Has(lines, c.line)) << "missing: " << c.line;
  }
}

TEST(BvrTextWriter, TagComesFirstAndDesignPositionLast) {
  auto p = NewLayout();
  p->Tag = -7;
  p->DesignTop = 24;
  const auto lines = Lines(p->SaveToText());
  EXPECT_EQ(lines[1], "  Tag = -7");
  EXPECT_EQ(lines[2], "  PaymentFor.Receipt.Left = 10");
  EXPECT_EQ(lines[lines.size() - 2], "  Top = 24");
  EXPECT_EQ(lines[lines.size() - 3], "  CodageZone.fromBottom = 190");
  EXPECT_FALSE(HasPrefix(lines, "  Left"));
}

TEST(BvrTextWriter, OrderWithinAZone) {
  auto p = NewLayout();
  TZone& z = p->PaymentFor().Receipt();
  z.Font().SetPitch(TFontPitch::fpVariable);
  z.Font().SetOrientation(1);
  z.SetText({"x"});
  const auto lines = Lines(p->SaveToText());
  const std::vector<std::string> expected = {
      "  PaymentFor.Receipt.Left = 10",
      "  PaymentFor.Receipt.Top = 80",
      "  PaymentFor.Receipt.Width = 550",
      "  PaymentFor.Receipt.height = 300",
      "  PaymentFor.Receipt.Imprime = True",
      "  PaymentFor.Receipt.Font.Charset = DEFAULT_CHARSET",
      "  PaymentFor.Receipt.Font.Color = clWindowText",
      "  PaymentFor.Receipt.Font.Height = -15",
      "  PaymentFor.Receipt.Font.Name = 'arial'",
      "  PaymentFor.Receipt.Font.Orientation = 1",
      "  PaymentFor.Receipt.Font.Pitch = fpVariable",
      "  PaymentFor.Receipt.Font.Style = []",
      "  PaymentFor.Receipt.Text.Strings = (",
      "    'x')",
      "  PaymentFor.Processing.Left = 640",
  };
  ASSERT_GE(lines.size(), expected.size() + 1);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 1 + expected.size()),
            expected);
}

TEST(BvrTextWriter, LongStringsStartOnTheirOwnLineAndBreakEvery64Characters) {
  const std::string a64(64, 'a');
  const std::string b36(36, 'b');
  auto p = NewLayout();
  p->Account().Setnumber(a64 + b36);
  p->PaymentFor().Receipt().SetText({"short", a64 + b36});
  const auto lines = Lines(p->SaveToText());

  const auto at = [&](const std::string& first) {
    return std::find(lines.begin(), lines.end(), first) - lines.begin();
  };
  const auto n = at("  Account.number = ");
  ASSERT_LT(n + 2, static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_EQ(lines[n + 1], "    '" + a64 + "' +");
  EXPECT_EQ(lines[n + 2], "    '" + b36 + "'");
  EXPECT_EQ(lines[n + 3], "  Account.Receipt.Left = 270");

  const auto t = at("  PaymentFor.Receipt.Text.Strings = (");
  ASSERT_LT(t + 4, static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_EQ(lines[t + 1], "    'short'");
  EXPECT_EQ(lines[t + 2], "    ");
  EXPECT_EQ(lines[t + 3], "      '" + a64 + "' +");
  EXPECT_EQ(lines[t + 4], "      '" + b36 + "')");
}

TEST(BvrTextWriter, AnEscapeCountsAsOneCharacterOfTheLine) {
  auto p = NewLayout();
  // 63 letters, an apostrophe (64th), then 65 more: breaks after the escape, then after 64.
  p->Account().Setnumber(std::string(63, 'a') + "'" + std::string(64, 'b') + "\xC3\xA9");
  const auto lines = Lines(p->SaveToText());
  const auto n = std::find(lines.begin(), lines.end(), "  Account.number = ") - lines.begin();
  ASSERT_LT(n + 3, static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_EQ(lines[n + 1], "    '" + std::string(63, 'a') + "'#39 +");
  EXPECT_EQ(lines[n + 2], "    '" + std::string(64, 'b') + "' +");
  EXPECT_EQ(lines[n + 3], "    #233");
}

TEST(BvrTextWriter, ObjectWithoutAnIdentifierNameIsWrittenUnnamed) {
  for (const char* name : {"", "two words", "Caf\xC3\xA9", "9lives"}) {
    SCOPED_TRACE(name);
    TBvrProperties p;
    p.Name = name;
    EXPECT_EQ(Lines(p.SaveToText()).front(), "object TBvrProperties");
  }
}

}  // namespace
}  // namespace bvr::test
