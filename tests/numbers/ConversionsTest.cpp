#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "FailureOf.h"
#include "numbers/Conversions.h"

namespace bvr {
namespace {

using test::FailureOf;
using test::kNoFailure;

TEST(RoundHalfEven, TakesHalvesToTheEvenNeighbour) {
  struct Case {
    double value;
    std::int32_t expected;
  };
  const Case cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4999, 2},
      {2.5001, 3},
      {10.22, 10},
      {81.75, 82},
      {551.82, 552},
      {301.46, 301},
      {-10.22, -10},
      // Out of the 32-bit range and NaN: clamped, never undefined.
      {1e12, std::numeric_limits<std::int32_t>::max()},
      {-1e12, std::numeric_limits<std::int32_t>::min()},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
  }
}

TEST(FormatGeneral, WritesAtMostFifteenSignificantDigits) {
  struct Case {
    double value;
    char separator;
    const char* expected;
  };
  const Case cases[] = {
      {0.1 + 0.2, '.', "0.3"},
      {1000, '.', "1000"},
      {12.5, '.', "12.5"},
      {12.5, ',', "12,5"},
      {-12.5, '.', "-12.5"},
      {0, '.', "0"},
      {-0.0, '.', "0"},
      {1.0 / 3, '.', "0.333333333333333"},
      {2.0 / 3, '.', "0.666666666666667"},
      {99999999.99, '.', "99999999.99"},
      {123456789012345, '.', "123456789012345"},
      {0.0001, '.', "0.0001"},
      // Exponent forms: 15 whole digits and more, and below 0.0001.
      {1234567890123456, '.', "1.23456789012346e+15"},
      {0.00001, '.', "1e-05"},
      {1.5e-7, ',', "1,5e-07"},
      {std::numeric_limits<double>::infinity(), '.', "INF"},
      {std::numeric_limits<double>::quiet_NaN(), '.', "NAN"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatGeneral(c.value, c.separator), c.expected) << c.expected;
  }
}

TEST(FormatPlainDecimal, WritesExponentFormsOut) {
  const std::pair<double, const char*> cases[] = {
      {12.5, "12.5"},
      {-1e-7, "-0.0000001"},
      {1.5e-5, "0.000015"},
      {1e15, "1000000000000000"},
      {1234567890123456, "1234567890123460"},
      {-1.5e20, "-150000000000000000000"},
      {std::numeric_limits<double>::infinity(), "INF"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatPlainDecimal(value), expected) << expected;
  }
}

TEST(StrToInt, ReadsDecimalAndDollarHexadecimal) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"007", 7},
      {"-17", -17},
      {"+5", 5},
      {"$FF", 255},
      {"$ff", 255},
      {"$FFFFFFFF", -1},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StrToInt(c.text), c.expected) << c.text;
  }
}

TEST(StrToInt, RefusesWithTheIntegerMessage) {
  for (const char* text : {"", "-", "+", "$", "12a", " 1", "1 ", "1.5", "2147483648", "-2147483649",
                           "$1FFFFFFFF", "$G", "99999999999999999999"}) {
    EXPECT_EQ(FailureOf([&] { StrToInt(text); }),
              std::string("'") + text + "' is not a valid integer value");
  }
}

TEST(StrToFloat, ReadsWithTheGivenSeparator) {
  struct Case {
    const char* text;
    char separator;
    double expected;
  };
  const std::string manyZeros(400, '0');
  const Case cases[] = {
      {"12.5", '.', 12.5}, {"  12.5  ", '.', 12.5}, {"-3", '.', -3},
      {"+1e3", '.', 1000}, {".5", '.', 0.5},        {"5.", '.', 5},
      {"1E-2", '.', 0.01}, {"12,5", ',', 12.5},     {"1e-400", '.', 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(StrToFloat(c.text, c.separator), c.expected) << c.text;
  }
  // Underflow reads as zero however it is written; a huge mantissa with a small negative
  // exponent is an overflow, not a zero.
  EXPECT_EQ(StrToFloat("0." + manyZeros + "1"), 0.0);
  const std::string huge = "1" + manyZeros + "e-5";
  EXPECT_EQ(FailureOf([&] { StrToFloat(huge); }),
            "'" + huge + "' is not a valid floating point value");
}

TEST(StrToFloat, RefusesWithTheFloatingPointMessage) {
  struct Case {
    const char* text;
    char separator;
  };
  const Case cases[] = {{"", '.'},      {"abc", '.'}, {"12,5", '.'}, {"12.5", ','}, {"1.2.3", '.'},
                        {"1e", '.'},    {"e5", '.'},  {".", '.'},    {"-", '.'},    {"1e400", '.'},
                        {"12.5x", '.'}, {"1 2", '.'}, {"inf", '.'},  {"nan", '.'}};
  for (const Case& c : cases) {
    EXPECT_EQ(FailureOf([&] { StrToFloat(c.text, c.separator); }),
              std::string("'") + c.text + "' is not a valid floating point value");
  }
}

// The non-throwing readings: a value exactly where the throwing form gives one, and the same
// value; nothing exactly where it fails.
TEST(TryStrToInt, GivesTheValueOrNothing) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"42", 42},
      {"-17", -17},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::nullopt},
      {"$1FFFFFFFF", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {" 1", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TryStrToInt(c.text), c.expected) << c.text;
    EXPECT_EQ(FailureOf([&] { StrToInt(c.text); }) == kNoFailure, c.expected.has_value()) << c.text;
  }
}

TEST(TryStrToFloat, GivesTheValueOrNothing) {
  struct Case {
    std::string text;
    char separator;
    std::optional<double> expected;
  };
  const std::string manyZeros(400, '0');
  const Case cases[] = {
      {"12.5", '.', 12.5},
      {"  12,5  ", ',', 12.5},
      {"-3", '.', -3},
      {"1E-2", '.', 0.01},
      {"1e-400", '.', 0.0},
      {"0." + manyZeros + "1", '.', 0.0},
      {"1" + manyZeros + "e-5", '.', std::nullopt},
      {"1e400", '.', std::nullopt},
      {"12.5", ',', std::nullopt},
      {"", '.', std::nullopt},
      {".", '.', std::nullopt},
      {"1e", '.', std::nullopt},
      {"nan", '.', std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TryStrToFloat(c.text, c.separator), c.expected) << c.text;
    EXPECT_EQ(FailureOf([&] { StrToFloat(c.text, c.separator); }) == kNoFailure,
              c.expected.has_value())
        << c.text;
  }
}

}  // namespace
}  // namespace bvr
