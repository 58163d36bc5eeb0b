#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/BvrProperties.h"

namespace bvr {
namespace {

// One published property as the layout file sees it: its name, and its declared default
// ("-" for none, "not stored" for a property never written).
struct Published {
  std::string name;
  std::string declared;
  friend bool operator==(const Published&, const Published&) = default;
};

void PrintTo(const Published& p, std::ostream* os) {
  *os << p.name << " (" << p.declared << ")";
}

std::vector<Published> TableOf(const TPersistent& object) {
  std::vector<Published> table;
  for (const PropInfo& p : object.Properties()) {
    std::string declared = "-";
    if (!p.stored) {
      declared = "not stored";
    } else if (p.hasDefault) {
      declared = std::to_string(p.defaultValue);
    }
    table.push_back({std::string(p.name), declared});
  }
  return table;
}

struct TableCase {
  const char* className;
  std::function<std::unique_ptr<TPersistent>()> make;
  std::vector<Published> expected;
};

void PrintTo(const TableCase& c, std::ostream* os) {
  *os << c.className;
}

class PropertyTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(PropertyTableTest, ListsThePublishedPropertiesInPublishingOrder) {
  std::unique_ptr<TPersistent> object = GetParam().make();
  EXPECT_EQ(object->ClassName(), GetParam().className);
  EXPECT_EQ(TableOf(*object), GetParam().expected);
}

template <class T, class... Args>
std::function<std::unique_ptr<TPersistent>()> Make(Args... args) {
  return [=] { return std::unique_ptr<TPersistent>(std::make_unique<T>(args...)); };
}

const std::vector<Published> kZone = {
    {"Left", "-"}, {"Top", "-"}, {"Width", "-"}, {"height", "-"}, {"Imprime", "-"}};

std::vector<Published> ZonePlus(std::vector<Published> more) {
  std::vector<Published> all = kZone;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Classes, PropertyTableTest,
    ::testing::Values(
        TableCase{"TBvrProperties",
                  Make<TBvrProperties>(),
                  {{"Name", "not stored"},
                   {"Tag", "0"},
                   {"PaymentFor", "-"},
                   {"PaymentBy", "-"},
                   {"Account", "-"},
                   {"Amount", "-"},
                   {"Reference", "-"},
                   {"readOnly", "-"},
                   {"CodageZone", "-"}}},
        TableCase{"TVersementPour",
                  Make<TVersementPour>(nullptr),
                  {{"Receipt", "-"}, {"Processing", "-"}}},
        TableCase{
            "TVersementPar", Make<TVersementPar>(nullptr), {{"Receipt", "-"}, {"Processing", "-"}}},
        TableCase{"TCompte",
                  Make<TCompte>(nullptr),
                  {{"number", "-"}, {"Receipt", "-"}, {"Processing", "-"}}},
        TableCase{"TMontant",
                  Make<TMontant>(nullptr),
                  {{"Receipt", "-"},
                   {"Processing", "-"},
                   {"decimalWidth", "-"},
                   {"CommaWidth", "-"},
                   {"CharWidth", "-"},
                   {"NegativeAmountChar", "42"},
                   {"ShowNegativeAmount", "1"}}},
        TableCase{"TReference",
                  Make<TReference>(nullptr),
                  {{"number", "-"}, {"Receipt", "-"}, {"Processing", "-"}}},
        TableCase{"TNumberReference",
                  Make<TNumberReference>(),
                  {{"AccountNumber", "-"},
                   {"AccountNumberIndexStart", "-"},
                   {"AccountNumberLength", "-"},
                   {"InternalNumberIndexStart", "-"},
                   {"InternalNumberLength", "-"}}},
        TableCase{"TBaseZone", Make<TBaseZone>(nullptr), kZone},
        TableCase{"TZone", Make<TZone>(nullptr), ZonePlus({{"Font", "-"}, {"Text", "-"}})},
        TableCase{"TFontBaseZone", Make<TFontBaseZone>(nullptr), ZonePlus({{"Font", "-"}})},
        TableCase{"TlineTextZone", Make<TlineTextZone>(nullptr), ZonePlus({{"Font", "-"}})},
        TableCase{"TDecalCodageZone",
                  Make<TDecalCodageZone>(),
                  {{"fromRight", "-"}, {"fromBottom", "-"}}},
        TableCase{"TFont",
                  Make<TFont>(),
                  {{"Charset", "-"},
                   {"Color", "-"},
                   {"Height", "-"},
                   {"Name", "-"},
                   {"Orientation", "0"},
                   {"Pitch", "0"},
                   {"Size", "not stored"},
                   {"Style", "-"}}}));

TEST(PropertyTable, WhatIsStoredFollowsTheDeclaredDefaults) {
  TBvrProperties p;
  const auto stored = [](const TPersistent& object, const char* name) {
    const PropInfo* prop = object.FindProperty(name);
    EXPECT_NE(prop, nullptr) << name;
    return prop != nullptr && prop->IsStored(object);
  };
  EXPECT_FALSE(stored(p, "Name"));
  EXPECT_FALSE(stored(p, "Tag"));
  EXPECT_TRUE(stored(p, "readOnly"));
  EXPECT_FALSE(stored(p.Account(), "number"));
  EXPECT_FALSE(stored(p.Amount(), "NegativeAmountChar"));
  EXPECT_FALSE(stored(p.Amount(), "ShowNegativeAmount"));
  EXPECT_TRUE(stored(p.Amount(), "CharWidth"));
  EXPECT_FALSE(stored(p.PaymentFor().Receipt(), "Text"));
  EXPECT_FALSE(stored(p.Reference().number(), "AccountNumber"));
  EXPECT_TRUE(stored(p.Reference().number(), "AccountNumberLength"));
  EXPECT_FALSE(stored(p.Amount().Receipt().Font(), "Size"));
  EXPECT_FALSE(stored(p.Amount().Receipt().Font(), "Pitch"));
  p.Amount().Receipt().Font().SetName("");
  EXPECT_TRUE(stored(p.Amount().Receipt().Font(), "Name")) << "a font name is always written";

  p.Tag = 3;
  p.Account().Setnumber("01-987654-4");
  p.Amount().NegativeAmountChar = '-';
  p.Amount().ShowNegativeAmount = false;
  p.PaymentFor().Receipt().SetText({"x"});
  p.Reference().number().AccountNumber = "00123456";
  p.Amount().Receipt().Font().SetPitch(TFontPitch::fpFixed);
  EXPECT_TRUE(stored(p, "Tag"));
  EXPECT_TRUE(stored(p.Account(), "number"));
  EXPECT_TRUE(stored(p.Amount(), "NegativeAmountChar"));
  EXPECT_TRUE(stored(p.Amount(), "ShowNegativeAmount"));
  EXPECT_TRUE(stored(p.PaymentFor().Receipt(), "Text"));
  EXPECT_TRUE(stored(p.Reference().number(), "AccountNumber"));
  EXPECT_TRUE(stored(p.Amount().Receipt().Font(), "Pitch"));
}

TEST(PropertyTable, LooksNamesUpWithoutRegardToCase) {
  TFontBaseZone zone(nullptr);
  const PropInfo* height = zone.FindProperty("HEIGHT");
  ASSERT_NE(height, nullptr);
  EXPECT_EQ(height->name, "height");
  EXPECT_EQ(zone.FindProperty("LineText"), nullptr);  // not published
  EXPECT_EQ(zone.FindProperty("Heigh"), nullptr);
}

TEST(PropertyTable, AccessorsReachTheirOwnField) {
  TBvrProperties p;
  TlineTextZone& zone = p.Account().Receipt();
  const char* names[] = {"Left", "Top", "Width", "height"};
  for (std::int64_t i = 0; i < 4; ++i) {
    zone.FindProperty(names[i])->setOrdinal(zone, 100 + i);
  }
  EXPECT_EQ(zone.Left(), 100);
  EXPECT_EQ(zone.Top(), 101);
  EXPECT_EQ(zone.Width(), 102);
  EXPECT_EQ(zone.height(), 103);
  for (std::int64_t i = 0; i < 4; ++i) {
    EXPECT_EQ(zone.FindProperty(names[i])->getOrdinal(zone), 100 + i);
  }
  // Setting the account number through the table fills the account zones as well.
  p.Account().FindProperty("number")->setString(p.Account(), "01-987654-4");
  EXPECT_EQ(p.Account().Processing().LineText(), "01-987654-4");
  // Sub-objects are reached, never replaced.
  const PropInfo* reference = p.FindProperty("Reference");
  EXPECT_EQ(&reference->editObject(p), &p.Reference());
  TNumberReference& n = p.Reference().number();
  n.FindProperty("AccountNumberIndexStart")->setOrdinal(n, 3);
  n.FindProperty("InternalNumberIndexStart")->setOrdinal(n, 5);
  EXPECT_EQ(n.AccountNumberIndexStart, 3);
  EXPECT_EQ(n.InternalNumberIndexStart, 5);
  TDecalCodageZone& codage = p.CodageZone();
  codage.FindProperty("fromBottom")->setOrdinal(codage, 7);
  EXPECT_EQ(codage.fromBottom, 7);
  EXPECT_EQ(codage.fromRight, 76);
}

}  // namespace
}  // namespace bvr
