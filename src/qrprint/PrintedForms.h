// The values of a bill as the payment part prints them: account and references in groups,
// the amount with a blank between thousands, addresses in lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "qrbill/Bill.h"

namespace bvr::qr {

// "CH44 3199 9123 0008 8901 2": blanks removed, then blocks of four.
std::string PrintedIban(std::string_view account);

// QRR "21 00000 00003 13947 14300 09017" (2 then blocks of five), SCOR "RF18 5390 0754 7034"
// (blocks of four), NON empty.
std::string PrintedReference(ReferenceType type, std::string_view reference);

// "1 949.75": a blank between thousands, two decimals; empty for a blank amount.
std::string PrintedAmount(std::string_view amount);

// One printed line of an address and the field it is blamed on when it does not fit.
struct AddressLine {
  const char* field;  // "name", "street" (street and number) or "town" (post code and town)
  std::string text;
  bool operator==(const AddressLine& other) const {
    return std::string_view(field) == other.field && text == other.text;
  }
};

// Name; street and number; post code and town, with the country in front ("FR-75001 Paris")
// for an address outside Switzerland. Empty lines are left out.
std::vector<AddressLine> AddressLines(const Address& address);

}  // namespace bvr::qr
