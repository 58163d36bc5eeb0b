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
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"Max Muster & Söhne", "Musterstrasse", "123", "8000", "Seldwyla", "CH"},
       {"Max Muster & Söhne", "Musterstrasse 123", "8000 Seldwyla"}},
      {{"Sample Foundation", "PO Box", "", "3001", "Bern", "CH"},
       {"Sample Foundation", "PO Box", "3001 Bern"}},
      {{"Pia Rutschmann", "", "", "9490", "Vaduz", "LI"}, {"Pia Rutschmann", "LI-9490 Vaduz"}},
      {{"Jean Dupont", "Rue de la Paix", "2", "75002", "Paris", "FR"},
       {"Jean Dupont", "Rue de la Paix 2", "FR-75002 Paris"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddressLines(c.address), c.lines) << c.address.name;
  }
}

}  // namespace
}  // namespace bvr::qr
