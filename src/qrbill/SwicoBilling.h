// The billing information in the Swico "S1" syntax ("//S1/10/…/11/…"), read into its fields
// and written back. Tags ascend, each at most once; a tag with an empty value counts as
// absent; inside values "/" is written "\/" and "\" "\\". Texts of other syntaxes ("//XY/…")
// are not this file's business: they stay raw text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "qrbill/Problem.h"

namespace bvr::qr {

// A VAT rate with the net amount it applies to, or an import tax rate with the tax amount.
// Texts as written ("7.7", "400.19"); the amount is empty for one rate on the whole amount.
struct RateAmount {
  std::string rate;
  std::string amount;

  bool operator==(const RateAmount&) const = default;
};

// A discount (percent) within a number of days; discount "0" is the net term.
struct Condition {
  std::string discount;
  std::string days;

  bool operator==(const Condition&) const = default;
};

struct SwicoBilling {
  std::string invoice;                // 10, text
  std::string date;                   // 11, YYMMDD
  std::string customerReference;      // 20, text
  std::string vatNumber;              // 30, the UID's 9 digits
  std::string vatDate;                // 31, YYMMDD or a period YYMMDDYYMMDD
  std::vector<RateAmount> vat;        // 32
  std::vector<RateAmount> importTax;  // 33
  std::vector<Condition> conditions;  // 40

  bool operator==(const SwicoBilling&) const = default;
};

struct SwicoReading {
  SwicoBilling fields;
  Problems problems;  // fields "billing" (the text's frame) and "billing.date" etc.
};

// True for a text in the S1 syntax (starting with exactly "//S1/").
bool IsSwicoS1(std::string_view billing);

// Every fault of the text reported, the fields that could be read kept.
SwicoReading ParseSwicoBilling(std::string_view text);

// The values' faults, under "billing.invoice", "billing.date", … (the JSON form's keys).
Problems CheckSwicoBilling(const SwicoBilling& fields);

// "//S1/…": the tags with a value, ascending, escaped. "" when every field is empty.
std::string WriteSwicoBilling(const SwicoBilling& fields);

}  // namespace bvr::qr
