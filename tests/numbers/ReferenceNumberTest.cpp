#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "FailureOf.h"
#include "numbers/VYKBVRFunctions.h"

namespace bvr {
namespace {

using test::FailureOf;

// The demonstration layout: participant number at place 1 (8 digits), internal number at
// place 9 (18 digits).
ReferenceLayout Demo() {
  ReferenceLayout layout;
  layout.AccountNumber = "00123456";
  layout.AccountNumberIndexStart = 1;
  layout.AccountNumberLength = 8;
  layout.InternalNumberIndexStart = 9;
  layout.InternalNumberLength = 18;
  return layout;
}

struct ReferenceCase {
  const char* what;
  ReferenceLayout layout;
  const char* internalNumber;
  const char* reference;
};

void PrintTo(const ReferenceCase& c, std::ostream* os) {
  *os << c.what;
}

class BuildReferenceNumberTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(BuildReferenceNumberTest, PlacesBothPartsAndAppendsTheCheckDigit) {
  const ReferenceCase& c = GetParam();
  const std::string reference = BuildReferenceNumber(c.layout, c.internalNumber);
  EXPECT_EQ(reference, c.reference);
  EXPECT_EQ(reference.size(), 27u);
}

ReferenceLayout With(void (*change)(ReferenceLayout&)) {
  ReferenceLayout layout = Demo();
  change(layout);
  return layout;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedNumbers, BuildReferenceNumberTest,
    ::testing::Values(
        ReferenceCase{"demo", Demo(), "45687", "001234560000000000000456878"},
        ReferenceCase{"internal number cut to its leading characters", Demo(),
                      "1234567890123456789012", "001234561234567890123456781"},
        ReferenceCase{"short participant number leaves zeros after it",
                      With([](ReferenceLayout& l) { l.AccountNumber = "0012"; }), "45687",
                      "001200000000000000000456876"},
        ReferenceCase{"overlap: the internal number wins", With([](ReferenceLayout& l) {
                        l.AccountNumber = "0012";
                        l.InternalNumberIndexStart = 5;
                      }),
                      "45687", "001200000000000004568700001"},
        ReferenceCase{"participant number cut to its length",
                      With([](ReferenceLayout& l) { l.AccountNumber = "0012345699"; }), "45687",
                      "001234560000000000000456878"},
        ReferenceCase{"default layout: all 26 places are the internal number",
                      ReferenceLayout{"", 1, 1, 26, 0}, "45687", "000000000000000000000456871"}));

// Layouts that reach outside places 1..26: what falls outside is dropped, nothing else moves.
INSTANTIATE_TEST_SUITE_P(
    OutsideThePlaces, BuildReferenceNumberTest,
    ::testing::Values(
        ReferenceCase{"internal part running past place 26",
                      With([](ReferenceLayout& l) { l.InternalNumberIndexStart = 20; }), "45687",
                      "001234560000000000000000005"},
        ReferenceCase{"internal start 0 loses its first character and covers the participant",
                      With([](ReferenceLayout& l) { l.InternalNumberIndexStart = 0; }), "45687",
                      "000000000000456870000000001"},
        ReferenceCase{"negative participant length writes nothing",
                      With([](ReferenceLayout& l) { l.AccountNumberLength = -3; }), "45687",
                      "000000000000000000000456871"},
        ReferenceCase{"negative internal length writes nothing",
                      With([](ReferenceLayout& l) { l.InternalNumberLength = -1; }), "45687",
                      "001234560000000000000000005"},
        ReferenceCase{"huge internal length: only its leading zeros are in reach",
                      With([](ReferenceLayout& l) { l.InternalNumberLength = INT_MAX; }), "45687",
                      "001234560000000000000000005"},
        ReferenceCase{"huge start", With([](ReferenceLayout& l) {
                        l.InternalNumberIndexStart = INT_MAX;
                        l.InternalNumberLength = INT_MAX;
                      }),
                      "45687", "001234560000000000000000005"},
        ReferenceCase{"lowest start", With([](ReferenceLayout& l) {
                        l.AccountNumberIndexStart = INT_MIN;
                        l.InternalNumberIndexStart = INT_MIN;
                        l.InternalNumberLength = INT_MAX;
                      }),
                      "45687", "000000000000000000000000000"}));

TEST(BuildReferenceNumber, ANonDigitFailsWithTheIntegerConversionMessage) {
  ReferenceLayout layout = Demo();
  layout.AccountNumber = "0012A456";
  EXPECT_EQ(FailureOf([&] { BuildReferenceNumber(layout, "45687"); }),
            "'A' is not a valid integer value");
  EXPECT_EQ(FailureOf([&] { BuildReferenceNumber(Demo(), "F-2024"); }),
            "'F' is not a valid integer value");
}

TEST(GroupReference, SplitsIntoGroupsWithTwoBlanksBetweenAndAfter) {
  const std::string grouped = GroupReference("001234560000000000000456878");
  EXPECT_EQ(grouped, "00  12345  60000  00000  00004  56878  ");
  EXPECT_EQ(grouped.size(), 39u);
}

}  // namespace
}  // namespace bvr
