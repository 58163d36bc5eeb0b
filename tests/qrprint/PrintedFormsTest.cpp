// The values as printed: groups of the account and references, thousands of the amount,
// address lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qrprint/PrintedForms.h"

namespace bvr::qr {
namespace {

TEST(PrintedForms, AccountAndReferencesInGroups) {
  struct Case {
    ReferenceType type;  // NON: the account
    const char* input;
    const char* printed;
  };
  const Case cases[] = {
      {ReferenceType::NON, "CH4431999123000889012", "CH44 3199 9123 0008 8901 2"},
      {ReferenceType::NON, "CH44 3199 9123 0008 8901 2", "CH44 3199 9123 0008 8901 2"},
      {ReferenceType::NON, "LI21 0881 0000 2324 013AA", "LI21 0881 0000 2324 013A A"},
      {ReferenceType::QRR, "210000000003139471430009017", "21 00000 00003 13947 14300 09017"},
      {ReferenceType::QRR, "21 00000 00003 13947 14300 09017", "21 00000 00003 13947 14300 09017"},
      {ReferenceType::SCOR, "RF18539007547034", "RF18 5390 0754 7034"},
      {ReferenceType::SCOR, "RF 4812 34", "RF48 1234"},
      {ReferenceType::SCOR, "RF12A", "RF12 A"},
  };
  for (const Case& c : cases) {
    const std::string printed =
        c.type == ReferenceType::NON ? PrintedIban(c.input) : PrintedReference(c.type, c.input);
    EXPECT_EQ(printed, c.printed) << c.input;
  }
  EXPECT_EQ(PrintedReference(ReferenceType::NON, "123"), "");
}

TEST(PrintedForms, AmountWithBlanksBetweenThousands) {
  const std::pair<const char*, const char*> cases[] = {
      {"1949.75", "1 949.75"},
      {"50", "50.00"},
      {"7.5", "7.50"},
      {"0.01", "0.01"},
      {"100", "100.00"},
      {"1000", "1 000.00"},
      {"999999999.99", "999 999 999.99"},
      {"123456", "123 456.00"},
      {"", ""},
  };
  for (const auto& [amount, printed] : cases) {
    EXPECT_EQ(PrintedAmount(amount), printed) << amount;
  }
}

TEST(PrintedForms, AddressLines) {
  struct Case {
    Address address;
    std::vector<AddressLine> lines;
  };
  const Case cases[] = {
      {{"Max Muster & Söhne", "Musterstrasse", "123", "8000", "Seldwyla", "CH"},
       {{"name", "Max Muster & Söhne"},
        {"street", "Musterstrasse 123"},
        {"town", "8000 Seldwyla"}}},
      {{"Sample Foundation", "PO Box", "", "3001", "Bern", "CH"},
       {{"name", "Sample Foundation"}, {"street", "PO Box"}, {"town", "3001 Bern"}}},
      {{"Pia Rutschmann", "", "", "9490", "Vaduz", "LI"},
       {{"name", "Pia Rutschmann"}, {"town", "LI-9490 Vaduz"}}},
      {{"Jean Dupont", "Rue de la Paix", "2", "75002", "Paris", "FR"},
       {{"name", "Jean Dupont"}, {"street", "Rue de la Paix 2"}, {"town", "FR-75002 Paris"}}},
  };
  for (const Case& c : cases) {
    const std::vector<AddressLine> lines = AddressLines(c.address);
    ASSERT_EQ(lines.size(), c.lines.size()) << c.address.name;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_TRUE(lines[i] == c.lines[i]) << lines[i].field << " " << lines[i].text;
    }
  }
}

}  // namespace
}  // namespace bvr::qr
