// The bill's two structured references. The QR reference (QRR) is the slip's 27-digit
// reference number: 26 digits and their modulo 10 recursive check digit. The creditor
// reference (SCOR) is ISO 11649: "RF", two check digits, 1 to 21 letters or digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "numbers/VYKBVRFunctions.h"

namespace bvr::qr {

inline constexpr std::size_t kQrReferenceLength = 27;
inline constexpr std::size_t kCreditorReferenceBodyMax = 21;

// What is wrong with a compact QR reference, in French; empty when valid.
std::optional<std::string> QrReferenceProblem(std::string_view compact);

// What is wrong with a compact creditor reference, in French; empty when valid.
std::optional<std::string> CreditorReferenceProblem(std::string_view compact);

// "RF" + check digits + body (blanks removed, letters upper-cased). Fails with EBvrError
// for a body that is empty, longer than 21 or holds anything but letters and digits.
std::string CreateCreditorReference(std::string_view body);

// The QR reference of one invoice under a slip layout's reference scheme: the slip's
// reference number, unchanged. Fails with EBvrError for an invoice number that is not made
// of digits or does not fit the places the layout gives it (a cut number would give two
// invoices one reference), and for a participant number that is not made of digits.
std::string QrReferenceFromLayout(const ReferenceLayout& layout, const std::string& invoice);

}  // namespace bvr::qr
