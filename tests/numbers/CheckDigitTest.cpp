#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "FailureOf.h"
#include "numbers/VYKBVRFunctions.h"

namespace bvr {
namespace {

using test::FailureOf;
using test::kNoFailure;

TEST(Modulo10Table, HoldsTheShiftedSequenceAndTheClosingRow) {
  // Written out by hand: row d is 0 9 4 6 8 2 7 1 3 5 shifted left d places; row 10 is
  // (10 - carry) mod 10.
  constexpr std::array<std::array<int, 10>, 11> kExpected = {{
      {0, 9, 4, 6, 8, 2, 7, 1, 3, 5},
      {9, 4, 6, 8, 2, 7, 1, 3, 5, 0},
      {4, 6, 8, 2, 7, 1, 3, 5, 0, 9},
      {6, 8, 2, 7, 1, 3, 5, 0, 9, 4},
      {8, 2, 7, 1, 3, 5, 0, 9, 4, 6},
      {2, 7, 1, 3, 5, 0, 9, 4, 6, 8},
      {7, 1, 3, 5, 0, 9, 4, 6, 8, 2},
      {1, 3, 5, 0, 9, 4, 6, 8, 2, 7},
      {3, 5, 0, 9, 4, 6, 8, 2, 7, 1},
      {5, 0, 9, 4, 6, 8, 2, 7, 1, 3},
      {0, 9, 8, 7, 6, 5, 4, 3, 2, 1},
  }};
  for (std::uint8_t row = 0; row <= 10; ++row) {
    for (std::uint8_t carry = 0; carry <= 9; ++carry) {
      EXPECT_EQ(Modulo10Table[row][carry], kExpected[row][carry])
          << "row " << int(row) << " carry " << int(carry);
      EXPECT_EQ(Modulo10Lookup(carry, row), kExpected[row][carry]);
    }
  }
}

struct CheckDigitCase {
  const char* digits;
  int expected;
};

void PrintTo(const CheckDigitCase& c, std::ostream* os) {
  *os << '"' << c.digits << '"';
}

class CheckDigitTest : public ::testing::TestWithParam<CheckDigitCase> {};

TEST_P(CheckDigitTest, GivesTheModulo10RecursiveDigit) {
  EXPECT_EQ(CheckDigit(GetParam().digits, 0), GetParam().expected) << GetParam().digits;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedNumbers, CheckDigitTest,
    ::testing::Values(CheckDigitCase{"", 0}, CheckDigitCase{"1", 1}, CheckDigitCase{"04", 2},
                      CheckDigitCase{"01", 1}, CheckDigitCase{"01987654", 4},
                      CheckDigitCase{"01009876", 5}, CheckDigitCase{"00000000", 0},
                      CheckDigitCase{"12345678901234567890123456", 7},
                      CheckDigitCase{"00123456000000000000045687", 8},
                      CheckDigitCase{"010000100000", 4}, CheckDigitCase{"019999999999", 1}));

TEST(CheckDigit, RefusesANonDigitWithTheIntegerConversionMessage) {
  struct Case {
    const char* digits;
    const char* message;
  };
  const Case cases[] = {
      {"12a4", "'a' is not a valid integer value"},
      {"1 2", "' ' is not a valid integer value"},
      {"-1", "'-' is not a valid integer value"},
      {"$1", "'$' is not a valid integer value"},
      {"45\u00E987", "'\u00E9' is not a valid integer value"},  // the character, not a byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureOf([&] { CheckDigit(c.digits, 0); }), c.message) << c.digits;
  }
}

struct AccountCase {
  const char* account;
  const char* codingForm;  // nullptr when it fails
  const char* message;     // the failure's whole message
};

void PrintTo(const AccountCase& c, std::ostream* os) {
  *os << '"' << c.account << '"';
}

class AccountToCodingFormTest : public ::testing::TestWithParam<AccountCase> {};

TEST_P(AccountToCodingFormTest, ConvertsOrRefusesWithTheWholeMessage) {
  const AccountCase& c = GetParam();
  if (c.codingForm != nullptr) {
    EXPECT_EQ(AccountToCodingForm(c.account), c.codingForm);
  } else {
    EXPECT_EQ(FailureOf([&] { AccountToCodingForm(c.account); }), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(Accepted, AccountToCodingFormTest,
                         ::testing::Values(AccountCase{"01-987654-4", "019876544", nullptr},
                                           AccountCase{"01 987654 4", "019876544", nullptr},
                                           AccountCase{"01/987654/4", "019876544", nullptr},
                                           AccountCase{"01-9876-5", "010098765", nullptr},
                                           AccountCase{"00-000000-0", "000000000", nullptr},
                                           // What follows the key's digits is not read.
                                           AccountCase{"01-987654-4 CHF", "019876544", nullptr}));

INSTANTIATE_TEST_SUITE_P(
    Refused, AccountToCodingFormTest,
    ::testing::Values(
        AccountCase{"1-987654-4", nullptr, "Format du n° d'adhérent invalide : 1-987654-4"},
        AccountCase{"01987654", nullptr, "Format du n° d'adhérent invalide : 01987654"},
        AccountCase{"01-1234567-0", nullptr, "Format du n° d'adhérent invalide : 01-1234567-0"},
        AccountCase{"", nullptr, "Format du n° d'adhérent invalide : "},
        // A two-digit key would give ten digits in the nine-digit account field.
        AccountCase{"01-987654-04", nullptr, "Format du n° d'adhérent invalide : 01-987654-04"},
        AccountCase{"01-987654-5", nullptr,
                    "Format du n° d'adhérent invalide : 01-987654-5 clef invalide"},
        AccountCase{"01-9876-4", nullptr,
                    "Format du n° d'adhérent invalide : 01-9876-4 clef invalide"},
        AccountCase{"01-987654-", nullptr, "'' is not a valid integer value"},
        // Texts that end inside the number: the missing key is an empty run.
        AccountCase{"01-", nullptr, "'' is not a valid integer value"},
        AccountCase{"01", nullptr, "'' is not a valid integer value"}));

}  // namespace
}  // namespace bvr
