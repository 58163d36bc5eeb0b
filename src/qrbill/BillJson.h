// The bill as JSON, the form the tool reads and a web back end sends:
//   {"account": "CH44 3199 9123 0008 8901 2",
//    "creditor": {"name": …, "street": …, "number": …, "postcode": …, "town": …, "country": …},
//    "amount": "1949.75", "currency": "CHF", "debtor": {…},
//    "reference": "21 00000 00003 13947 14300 09017", "message": …, "billing": …,
//    "alternatives": […], "language": "fr"}
// The billing information may also be given as the fields of the S1 syntax (SwicoJson.h).
// Every key but account, creditor and currency is optional. The amount may be a string or a
// number, taken as written (never rounded). A reference of digits is QRR, one starting with
// RF is SCOR, none is NON.
#pragma once

#include <string>
#include <string_view>

#include "qrbill/Bill.h"
#include "qrbill/Problem.h"

namespace bvr::qr {

struct BillReading {
  Bill bill;
  Problems problems;  // keys of the wrong type, unknown or repeated; the values unchecked
};

// Fails with EBvrError for text that is not JSON ("JSON mal formé, ligne L, colonne C : …",
// the column counted in characters, control characters and invalid bytes escaped), holds a NUL
// byte, is in UTF-16 or UTF-32 ("JSON : le fichier est en UTF-16 (little-endian), …") or is
// not an object. A UTF-8 byte-order mark is skipped.
BillReading ReadBillJson(std::string_view text);

// The type a reference as written has: empty, NON; "RF…", SCOR; anything else, QRR (whose
// rules then say what is wrong).
ReferenceType ReferenceTypeOf(const std::string& reference);

// The bill in the same form, indented, every value as text (amount included), without the empty
// ones; the account and the reference as the bill holds them. Billing information in the S1 syntax
// is written structured when its fields give back exactly its text, otherwise as text.
std::string WriteBillJson(const Bill& bill);

}  // namespace bvr::qr
