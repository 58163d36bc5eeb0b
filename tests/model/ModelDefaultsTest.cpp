#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "model/BvrProperties.h"

namespace bvr {
namespace {

struct ZoneDefault {
  const char* zone;
  std::function<TBaseZone&(TBvrProperties&)> get;
  std::int32_t left, top, width, height;
};

void PrintTo(const ZoneDefault& d, std::ostream* os) {
  *os << d.zone;
}

TFont& FontOf(TBaseZone& zone) {
  if (auto* z = dynamic_cast<TZone*>(&zone)) {
    return z->Font();
  }
  if (auto* z = dynamic_cast<TlineTextZone*>(&zone)) {
    return z->Font();
  }
  return dynamic_cast<TFontBaseZone&>(zone).Font();
}

class ZoneDefaultsTest : public ::testing::TestWithParam<ZoneDefault> {};

TEST_P(ZoneDefaultsTest, ANewSlipHasTheDefaultGeometryAndFont) {
  TBvrProperties p;
  TBaseZone& zone = GetParam().get(p);
  EXPECT_EQ(zone.Left(), GetParam().left);
  EXPECT_EQ(zone.Top(), GetParam().top);
  EXPECT_EQ(zone.Width(), GetParam().width);
  EXPECT_EQ(zone.height(), GetParam().height);
  EXPECT_TRUE(zone.Imprime);
  EXPECT_EQ(zone.ViewWidth(), 0.0);
  EXPECT_EQ(zone.Shape(), nullptr);
  EXPECT_EQ(FontOf(zone).Name(), "arial");
  EXPECT_EQ(FontOf(zone).Size(), 11);
  EXPECT_EQ(FontOf(zone).Height(), -15);  // at 96 pixels per inch
}

TEST_P(ZoneDefaultsTest, SetDefaultsRestoresThemAndKeepsStyleAndColour) {
  TBvrProperties p;
  TBaseZone& zone = GetParam().get(p);
  zone.SetLeft(-5);
  zone.SetTop(9999);
  zone.SetWidth(0);
  zone.Setheight(-1);
  zone.Imprime = false;
  TFont changed;
  changed.Assign(FontOf(zone));
  changed.SetName("OCR-B");
  changed.SetSize(20);
  changed.SetStyle(fsBold | fsItalic);
  changed.SetColor(clRed);
  changed.SetCharset(ANSI_CHARSET);
  FontOf(zone).Assign(changed);

  p.SetDefaults();

  EXPECT_EQ(zone.Left(), GetParam().left);
  EXPECT_EQ(zone.Top(), GetParam().top);
  EXPECT_EQ(zone.Width(), GetParam().width);
  EXPECT_EQ(zone.height(), GetParam().height);
  EXPECT_TRUE(zone.Imprime);
  EXPECT_EQ(FontOf(zone).Name(), "arial");
  EXPECT_EQ(FontOf(zone).Height(), -15);
  EXPECT_EQ(FontOf(zone).Style(), fsBold | fsItalic);
  EXPECT_EQ(FontOf(zone).Color(), clRed);
  EXPECT_EQ(FontOf(zone).Charset(), ANSI_CHARSET);
}

INSTANTIATE_TEST_SUITE_P(
    TenZones, ZoneDefaultsTest,
    ::testing::Values(ZoneDefault{"PaymentFor.Receipt",
                                  [](auto& p) -> TBaseZone& { return p.PaymentFor().Receipt(); },
                                  10, 80, 550, 300},
                      ZoneDefault{"PaymentFor.Processing",
                                  [](auto& p) -> TBaseZone& { return p.PaymentFor().Processing(); },
                                  640, 80, 550, 300},
                      ZoneDefault{"PaymentBy.Receipt",
                                  [](auto& p) -> TBaseZone& { return p.PaymentBy().Receipt(); }, 10,
                                  700, 550, 300},
                      ZoneDefault{"PaymentBy.Processing",
                                  [](auto& p) -> TBaseZone& { return p.PaymentBy().Processing(); },
                                  1230, 480, 830, 300},
                      ZoneDefault{"Account.Receipt",
                                  [](auto& p) -> TBaseZone& { return p.Account().Receipt(); }, 270,
                                  400, 300, 85},
                      ZoneDefault{"Account.Processing",
                                  [](auto& p) -> TBaseZone& { return p.Account().Processing(); },
                                  860, 400, 300, 85},
                      ZoneDefault{"Amount.Receipt",
                                  [](auto& p) -> TBaseZone& { return p.Amount().Receipt(); }, 20,
                                  500, 550, 85},
                      ZoneDefault{"Amount.Processing",
                                  [](auto& p) -> TBaseZone& { return p.Amount().Processing(); },
                                  630, 500, 550, 85},
                      ZoneDefault{"Reference.Receipt",
                                  [](auto& p) -> TBaseZone& { return p.Reference().Receipt(); }, 10,
                                  610, 550, 85},
                      ZoneDefault{"Reference.Processing",
                                  [](auto& p) -> TBaseZone& { return p.Reference().Processing(); },
                                  1230, 310, 830, 85}));

TEST(SlipDefaults, ANewSlipHasTheDefaultValuesOutsideTheZones) {
  TBvrProperties p;
  EXPECT_TRUE(p.PaymentFor().Receipt().Text().empty());
  EXPECT_TRUE(p.PaymentFor().Processing().Text().empty());
  EXPECT_EQ(p.Account().number(), "");
  EXPECT_EQ(p.Account().Receipt().LineText(), "");
  EXPECT_EQ(p.Amount().decimalWidth(), 90);
  EXPECT_EQ(p.Amount().CommaWidth(), 100);
  EXPECT_EQ(p.Amount().CharWidth(), 0);
  EXPECT_EQ(p.Amount().NegativeAmountChar, '*');
  EXPECT_TRUE(p.Amount().ShowNegativeAmount);
  EXPECT_FALSE(p.readOnly);
  EXPECT_EQ(p.CodageZone().fromRight, 76);
  EXPECT_EQ(p.CodageZone().fromBottom, 190);
  const TNumberReference& n = p.Reference().number();
  EXPECT_EQ(n.AccountNumber, "");
  EXPECT_EQ(n.AccountNumberIndexStart, 1);
  EXPECT_EQ(n.AccountNumberLength, 0);
  EXPECT_EQ(n.InternalNumberIndexStart, 1);
  EXPECT_EQ(n.InternalNumberLength, 26);
  // The platform default font keeps its colour, character set and style.
  const TFont& f = p.Amount().Receipt().Font();
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(f.Style(), 0);
}

TEST(SlipDefaults, SetDefaultsLeavesTheAccountNumberAndSettingsOutsideTheTable) {
  TBvrProperties p;
  p.Account().Setnumber("01-987654-4");
  p.PaymentFor().Receipt().SetText({"Plenwick", "1200 Genève"});
  p.PaymentFor().Processing().SetText({"Plenwick"});
  p.Amount().SetdecimalWidth(1);
  p.Amount().SetCommaWidth(2);
  p.Amount().SetCharWidth(33);
  p.Amount().NegativeAmountChar = '-';
  p.Amount().ShowNegativeAmount = false;
  p.readOnly = true;
  p.CodageZone().fromRight = 5;
  p.CodageZone().fromBottom = 6;
  p.Reference().number().AccountNumber = "00123456";
  p.Reference().number().AccountNumberLength = 8;
  p.Reference().number().InternalNumberIndexStart = 9;
  p.Reference().number().InternalNumberLength = 18;

  p.SetDefaults();

  EXPECT_EQ(p.Account().number(), "01-987654-4");
  EXPECT_EQ(p.Account().Receipt().LineText(), "");
  EXPECT_EQ(p.Account().Processing().LineText(), "");
  EXPECT_TRUE(p.PaymentFor().Receipt().Text().empty());
  EXPECT_TRUE(p.PaymentFor().Processing().Text().empty());
  EXPECT_EQ(p.Amount().decimalWidth(), 90);
  EXPECT_EQ(p.Amount().CommaWidth(), 100);
  EXPECT_EQ(p.Amount().CharWidth(), 33);
  EXPECT_EQ(p.Amount().NegativeAmountChar, '-');
  EXPECT_FALSE(p.Amount().ShowNegativeAmount);
  EXPECT_TRUE(p.readOnly);
  EXPECT_EQ(p.CodageZone().fromRight, 5);
  EXPECT_EQ(p.CodageZone().fromBottom, 6);
  const TNumberReference& n = p.Reference().number();
  EXPECT_EQ(n.AccountNumber, "");
  EXPECT_EQ(n.AccountNumberLength, 0);
  EXPECT_EQ(n.InternalNumberIndexStart, 1);
  EXPECT_EQ(n.InternalNumberLength, 26);
}

TEST(SlipDefaults, SettingTheAccountNumberFillsBothAccountZones) {
  TBvrProperties p;
  p.Account().Setnumber("01-987654-4");
  EXPECT_EQ(p.Account().Receipt().LineText(), "01-987654-4");
  EXPECT_EQ(p.Account().Processing().LineText(), "01-987654-4");
  // Installing a zone copies it, then shows the number again.
  TlineTextZone other(nullptr);
  other.SetLeft(1);
  other.SetLineText("something else");
  p.Account().SetReceipt(other);
  EXPECT_EQ(p.Account().Receipt().Left(), 1);
  EXPECT_EQ(p.Account().Receipt().LineText(), "01-987654-4");
}

TEST(SlipDefaults, ANewZoneIsPrintedAndEmpty) {
  TFontBaseZone zone(nullptr);
  EXPECT_TRUE(zone.Imprime);
  EXPECT_EQ(zone.Left(), 0);
  EXPECT_EQ(zone.Top(), 0);
  EXPECT_EQ(zone.Width(), 0);
  EXPECT_EQ(zone.height(), 0);
  EXPECT_EQ(zone.Shape(), nullptr);
  EXPECT_EQ(zone.ViewWidth(), 0.0);
  TDecalCodageZone codage;
  EXPECT_EQ(codage.fromRight, 76);
  EXPECT_EQ(codage.fromBottom, 190);
}

}  // namespace
}  // namespace bvr
