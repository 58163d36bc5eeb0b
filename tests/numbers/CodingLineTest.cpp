#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "FailureOf.h"
#include "numbers/VYKBVRFunctions.h"

namespace bvr {
namespace {

using test::FailureOf;
using test::kNoFailure;

constexpr const char* kReference = "001234560000000000000456878";
constexpr const char* kAccount = "01-987654-4";

struct AmountCase {
  double amount;
  const char* francs;
  const char* centimes;
  const char* amountCode;  // the coding line's first 13 characters
};

void PrintTo(const AmountCase& c, std::ostream* os) {
  *os << c.amountCode;
}

class SplitAmountTest : public ::testing::TestWithParam<AmountCase> {};

TEST_P(SplitAmountTest, GivesFrancsCentimesAndTheAmountCode) {
  const AmountCase& c = GetParam();
  const SplitAmountResult split = SplitAmount(c.amount);
  EXPECT_EQ(split.francs, c.francs);
  EXPECT_EQ(split.centimes, c.centimes);
  const std::string line = BuildCodingLine(false, kReference, kAccount, c.amount);
  EXPECT_EQ(line.substr(0, 13), c.amountCode);
  EXPECT_EQ(line.size(), 53u);
}

INSTANTIATE_TEST_SUITE_P(WorkedNumbers, SplitAmountTest,
                         ::testing::Values(AmountCase{1000, "00001000", "00", "0100001000004"},
                                           AmountCase{12.5, "00000012", "50", "0100000012505"},
                                           AmountCase{12.345, "00000012", "34", "0100000012345"},
                                           AmountCase{0.5, "00000000", "50", "0100000000509"},
                                           AmountCase{0, "00000000", "00", "0100000000005"},
                                           AmountCase{99999999.99, "99999999", "99",
                                                      "0199999999991"}));

// Decimals are cut, not rounded; the general text has 15 significant digits, so binary
// noise never reaches the centimes; below 0.0001 the text has an exponent and no centime.
INSTANTIATE_TEST_SUITE_P(DecimalText, SplitAmountTest,
                         ::testing::Values(AmountCase{12.999, "00000012", "99", "0100000012991"},
                                           AmountCase{0.1 + 0.2, "00000000", "30", "0100000000307"},
                                           AmountCase{1.005, "00000001", "00", "0100000001003"},
                                           AmountCase{0.0001, "00000000", "00", "0100000000005"},
                                           AmountCase{0.00009, "00000000", "00", "0100000000005"},
                                           AmountCase{std::numeric_limits<double>::denorm_min(),
                                                      "00000000", "00", "0100000000005"},
                                           AmountCase{-0.0, "00000000", "00", "0100000000005"}));

TEST(TrySplitAmount, GivesTheSplitOrNothingWhereSplitAmountFails) {
  struct Case {
    double amount;
    const char* francs;  // nullptr: no split
    const char* centimes;
  };
  const Case cases[] = {
      {12.5, "00000012", "50"},
      {0, "00000000", "00"},
      {-0.0, "00000000", "00"},
      {0.00009, "00000000", "00"},
      {99999999.99, "99999999", "99"},
      {100000000, nullptr, nullptr},
      {1e15, nullptr, nullptr},
      {-0.01, nullptr, nullptr},
      {std::numeric_limits<double>::infinity(), nullptr, nullptr},
      {std::numeric_limits<double>::quiet_NaN(), nullptr, nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<SplitAmountResult> split = TrySplitAmount(c.amount);
    ASSERT_EQ(split.has_value(), c.francs != nullptr) << c.amount;
    EXPECT_EQ(FailureOf([&] { SplitAmount(c.amount); }) == kNoFailure, split.has_value())
        << c.amount;
    if (split) {
      EXPECT_EQ(split->francs, c.francs) << c.amount;
      EXPECT_EQ(split->centimes, c.centimes) << c.amount;
    }
  }
}

TEST(SplitAmount, RefusesAmountsItCannotCode) {
  struct Case {
    double amount;
    const char* message;
  };
  const Case cases[] = {
      {123456789, "123456789 : Montant trop grand"},
      {100000000, "100000000 : Montant trop grand"},
      {123456789012345, "123456789012345 : Montant trop grand"},
      // From 15 whole digits on, the general text has an exponent: the message spells out
      // its 15 significant digits. Just below 1e15 rounds up to that form too.
      {1e15, "1000000000000000 : Montant trop grand"},
      {999999999999999.9, "1000000000000000 : Montant trop grand"},
      {1.5e20, "150000000000000000000 : Montant trop grand"},
      {-12.5, "-12.5 : Montant négatif"},
      {-1e-20, "-0.00000000000000000001 : Montant négatif"},
      {-1e-7, "-0.0000001 : Montant négatif"},
      {std::numeric_limits<double>::infinity(), "INF : Montant non représentable"},
      {-std::numeric_limits<double>::infinity(), "-INF : Montant non représentable"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN : Montant non représentable"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureOf([&] { SplitAmount(c.amount); }), c.message) << c.amount;
    // The coding line raises the same error and produces nothing.
    EXPECT_EQ(FailureOf([&] { BuildCodingLine(false, kReference, kAccount, c.amount); }),
              c.message);
  }
}

TEST(BuildCodingLine, JoinsAmountCodeReferenceAndAccount) {
  EXPECT_EQ(BuildCodingLine(false, kReference, kAccount, 1000),
            "0100001000004>001234560000000000000456878+ 019876544>");
  const std::string noAmount = BuildCodingLine(true, kReference, kAccount, 1000);
  EXPECT_EQ(noAmount, "042>001234560000000000000456878+ 019876544>");
  EXPECT_EQ(noAmount.size(), 43u);
}

TEST(BuildCodingLine, WithoutAmountTheAmountIsNotExamined) {
  for (double amount : {-5.0, 1e20, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(BuildCodingLine(true, kReference, kAccount, amount),
              "042>001234560000000000000456878+ 019876544>");
  }
}

TEST(BuildCodingLine, ReportsTheAmountBeforeTheAccount) {
  EXPECT_EQ(FailureOf([] { BuildCodingLine(false, kReference, "1-2-3", 123456789); }),
            "123456789 : Montant trop grand");
  EXPECT_EQ(FailureOf([] { BuildCodingLine(false, kReference, "01-987654-5", 10); }),
            "Format du n° d'adhérent invalide : 01-987654-5 clef invalide");
  EXPECT_EQ(FailureOf([] { BuildCodingLine(true, kReference, "01-987654-04", 10); }),
            "Format du n° d'adhérent invalide : 01-987654-04");
}

}  // namespace
}  // namespace bvr
