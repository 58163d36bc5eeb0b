#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "model/BvrProperties.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

std::string FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EBvrError& e) {
    return e.what();
  }
  return "<no failure>";
}

// A slip with a value other than the default in every copied property.
void Customise(TBvrProperties& p) {
  p.PaymentFor().Receipt().SetLeft(26);
  p.PaymentFor().Receipt().SetText({"Plenwick", "Rue du Marché 10"});
  p.PaymentFor().Processing().Font().SetStyle(fsBold);
  p.PaymentBy().Processing().Setheight(111);
  p.PaymentBy().Receipt().Imprime = false;
  p.Account().Setnumber("01-987654-4");
  p.Account().Processing().Font().SetColor(clRed);
  p.Amount().Receipt().SetWidth(444);
  p.Amount().SetCharWidth(40);
  p.Amount().NegativeAmountChar = '-';
  p.Amount().ShowNegativeAmount = false;
  p.Reference().Processing().SetTop(333);
  p.Reference().number().AccountNumber = "00123456";
  p.Reference().number().AccountNumberLength = 8;
  p.Reference().number().InternalNumberIndexStart = 9;
  p.Reference().number().InternalNumberLength = 18;
  p.CodageZone().fromRight = 80;
  p.CodageZone().fromBottom = 200;
  p.readOnly = true;
}

void ExpectCustomised(const TBvrProperties& p) {
  EXPECT_EQ(p.PaymentFor().Receipt().Left(), 26);
  EXPECT_EQ(p.PaymentFor().Receipt().Text(),
            (std::vector<std::string>{"Plenwick", "Rue du Marché 10"}));
  EXPECT_EQ(p.PaymentFor().Processing().Font().Style(), fsBold);
  EXPECT_EQ(p.PaymentBy().Processing().height(), 111);
  EXPECT_FALSE(p.PaymentBy().Receipt().Imprime);
  EXPECT_EQ(p.Account().number(), "01-987654-4");
  EXPECT_EQ(p.Account().Receipt().LineText(), "01-987654-4");
  EXPECT_EQ(p.Account().Processing().Font().Color(), clRed);
  EXPECT_EQ(p.Amount().Receipt().Width(), 444);
  EXPECT_EQ(p.Amount().CharWidth(), 40);
  EXPECT_EQ(p.Amount().NegativeAmountChar, '-');
  EXPECT_FALSE(p.Amount().ShowNegativeAmount);
  EXPECT_EQ(p.Reference().Processing().Top(), 333);
  EXPECT_EQ(p.Reference().number().AccountNumber, "00123456");
  EXPECT_EQ(p.Reference().number().AccountNumberLength, 8);
  EXPECT_EQ(p.Reference().number().InternalNumberIndexStart, 9);
  EXPECT_EQ(p.Reference().number().InternalNumberLength, 18);
  EXPECT_EQ(p.CodageZone().fromRight, 80);
  EXPECT_EQ(p.CodageZone().fromBottom, 200);
}

TEST(SlipAssign, CopiesEverySectionButNotReadOnly) {
  TBvrProperties source;
  Customise(source);
  TBvrProperties copy;
  copy.Assign(source);
  ExpectCustomised(copy);
  EXPECT_FALSE(copy.readOnly);
}

TEST(SlipAssign, TheCopyOwnsItsOwnObjects) {
  auto source = std::make_unique<TBvrProperties>();
  Customise(*source);
  TBvrProperties copy;
  copy.Assign(*source);
  EXPECT_NE(&copy.PaymentFor().Receipt().Font(), &source->PaymentFor().Receipt().Font());

  source->PaymentFor().Receipt().SetLeft(1);
  source->PaymentFor().Receipt().SetText({"changed"});
  source->PaymentFor().Processing().Font().SetStyle(0);
  source->Account().Setnumber("00-000000-0");
  source->Reference().number().AccountNumber = "9";
  source->CodageZone().fromRight = 1;
  source.reset();

  ExpectCustomised(copy);
}

TEST(SlipAssign, SectionPropertySettersCopyIntoTheOwnedSection) {
  TBvrProperties source;
  Customise(source);
  TBvrProperties target;
  const TCompte* ownAccount = &target.Account();
  target.SetAccount(source.Account());
  target.SetReference(source.Reference());
  target.SetCodageZone(source.CodageZone());
  EXPECT_EQ(&target.Account(), ownAccount);
  EXPECT_EQ(target.Account().number(), "01-987654-4");
  EXPECT_EQ(target.Account().Processing().LineText(), "01-987654-4");
  EXPECT_EQ(target.Reference().number().InternalNumberLength, 18);
  EXPECT_EQ(target.CodageZone().fromBottom, 200);
  source.Account().Setnumber("x");
  EXPECT_EQ(target.Account().number(), "01-987654-4");
}

TEST(ZoneAssign, CopiesWhatBothClassesHaveAndNothingElse) {
  TZone creditor(nullptr);
  creditor.SetLeft(1);
  creditor.SetTop(2);
  creditor.SetWidth(3);
  creditor.Setheight(4);
  creditor.Imprime = false;
  creditor.SetText({"line"});
  creditor.Font().SetName("OCR-B");

  // Same class: geometry, print flag, text and font.
  TZone zone(nullptr);
  zone.Assign(creditor);
  EXPECT_EQ(zone.Left(), 1);
  EXPECT_EQ(zone.Top(), 2);
  EXPECT_EQ(zone.Width(), 3);
  EXPECT_EQ(zone.height(), 4);
  EXPECT_FALSE(zone.Imprime);
  EXPECT_EQ(zone.Text(), std::vector<std::string>{"line"});
  EXPECT_EQ(zone.Font().Name(), "OCR-B");

  // Another zone class: geometry and print flag only.
  TFontBaseZone fontZone(nullptr);
  TlineTextZone lineZone(nullptr);
  lineZone.SetLineText("kept");
  fontZone.Assign(creditor);
  lineZone.Assign(creditor);
  EXPECT_EQ(fontZone.height(), 4);
  EXPECT_FALSE(fontZone.Imprime);
  EXPECT_EQ(fontZone.Font().Name(), "MS Sans Serif");
  EXPECT_EQ(lineZone.Width(), 3);
  EXPECT_EQ(lineZone.LineText(), "kept");
  EXPECT_EQ(lineZone.Font().Name(), "MS Sans Serif");

  TlineTextZone lineCopy(nullptr);
  lineCopy.Assign(lineZone);
  EXPECT_EQ(lineCopy.LineText(), "kept");

  // The copy has its own font and list.
  creditor.Font().SetName("arial");
  creditor.SetText({"other"});
  EXPECT_EQ(zone.Font().Name(), "OCR-B");
  EXPECT_EQ(zone.Text(), std::vector<std::string>{"line"});

  // So does a zone given another's font or text.
  TZone given(nullptr);
  given.SetFont(zone.Font());
  given.SetText(zone.Text());
  zone.Font().SetStyle(fsItalic);
  zone.SetText({});
  EXPECT_EQ(given.Font().Style(), 0);
  EXPECT_EQ(given.Text(), std::vector<std::string>{"line"});
}

struct WrongSource {
  const char* message;
  std::function<std::string()> assign;  // the failure message, or "<no failure>"
};

void PrintTo(const WrongSource& c, std::ostream* os) {
  *os << c.message;
}

class AssignFromAnotherClassTest : public ::testing::TestWithParam<WrongSource> {};

TEST_P(AssignFromAnotherClassTest, FailsAndChangesNothing) {
  EXPECT_EQ(GetParam().assign(), GetParam().message);
}

template <class Target, class Source>
std::function<std::string()> Assigning(std::function<std::unique_ptr<Target>()> makeTarget,
                                       std::function<std::unique_ptr<Source>()> makeSource,
                                       std::function<bool(const Target&)> unchanged) {
  return [=] {
    std::unique_ptr<Target> target = makeTarget();
    std::unique_ptr<Source> source = makeSource();
    std::string message = FailureOf([&] { target->Assign(*source); });
    if (!unchanged(*target)) {
      message += " (target changed)";
    }
    return message;
  };
}

std::unique_ptr<TZone> MovedZone() {
  auto z = std::make_unique<TZone>(nullptr);
  z->SetLeft(7);
  return z;
}

INSTANTIATE_TEST_SUITE_P(
    Classes, AssignFromAnotherClassTest,
    ::testing::Values(
        WrongSource{"Cannot assign a TFont to a TZone",
                    Assigning<TZone, TFont>(
                        MovedZone, [] { return std::make_unique<TFont>(); },
                        [](const TZone& z) { return z.Left() == 7; })},
        WrongSource{"Cannot assign a TDecalCodageZone to a TFontBaseZone",
                    Assigning<TFontBaseZone, TDecalCodageZone>(
                        [] { return std::make_unique<TFontBaseZone>(nullptr); },
                        [] { return std::make_unique<TDecalCodageZone>(); },
                        [](const TFontBaseZone& z) { return z.Left() == 0; })},
        WrongSource{"Cannot assign a TZone to a TDecalCodageZone",
                    Assigning<TDecalCodageZone, TZone>(
                        [] { return std::make_unique<TDecalCodageZone>(); }, MovedZone,
                        [](const TDecalCodageZone& d) { return d.fromRight == 76; })},
        WrongSource{"Cannot assign a TZone to a TFont",
                    Assigning<TFont, TZone>([] { return std::make_unique<TFont>(); }, MovedZone,
                                            [](const TFont& f) { return f.Height() == -11; })},
        WrongSource{"Cannot assign a TVersementPar to a TVersementPour",
                    Assigning<TVersementPour, TVersementPar>(
                        [] { return std::make_unique<TVersementPour>(nullptr); },
                        [] { return std::make_unique<TVersementPar>(nullptr); },
                        [](const TVersementPour& s) { return s.Receipt().Left() == 0; })},
        WrongSource{"Cannot assign a TReference to a TMontant",
                    Assigning<TMontant, TReference>(
                        [] { return std::make_unique<TMontant>(nullptr); },
                        [] { return std::make_unique<TReference>(nullptr); },
                        [](const TMontant& s) { return s.NegativeAmountChar == '*'; })},
        WrongSource{
            "Cannot assign a TMontant to a TCompte",
            Assigning<TCompte, TMontant>([] { return std::make_unique<TCompte>(nullptr); },
                                         [] { return std::make_unique<TMontant>(nullptr); },
                                         [](const TCompte& s) { return s.number().empty(); })},
        WrongSource{"Cannot assign a TFont to a TNumberReference",
                    Assigning<TNumberReference, TFont>(
                        [] { return std::make_unique<TNumberReference>(); },
                        [] { return std::make_unique<TFont>(); },
                        [](const TNumberReference& n) { return n.InternalNumberLength == 0; })},
        WrongSource{"Cannot assign a TCompte to a TBvrProperties",
                    Assigning<TBvrProperties, TCompte>(
                        [] { return std::make_unique<TBvrProperties>(); },
                        [] {
                          auto c = std::make_unique<TCompte>(nullptr);
                          c->Setnumber("01-987654-4");
                          return c;
                        },
                        [](const TBvrProperties& p) { return p.Account().number().empty(); })}));

}  // namespace
}  // namespace bvr
