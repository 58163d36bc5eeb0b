// The rules of a QR-bill, checked all at once: every problem is reported, each with the
// field's JSON path.
#pragma once

#include "qrbill/Bill.h"
#include "qrbill/Problem.h"

namespace bvr::qr {

// Lengths count characters, not bytes. The checks: account (CH/LI IBAN), addresses
// (structured: name, post code, town and country required), amount, currency, reference of
// its type, account and reference agreeing (QR-IBAN with QRR only; no QR-IBAN in EUR),
// message and billing information (140 together), at most two alternative procedures,
// allowed characters everywhere, and the whole text within the QR code's 997 bytes.
Problems ValidateBill(const Bill& bill);

}  // namespace bvr::qr
