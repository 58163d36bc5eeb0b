// A Swiss QR Code text read back into a bill, for tools that check a bill they received.
#pragma once

#include <string_view>

#include "qrbill/Bill.h"

namespace bvr::qr {

// Accepts LF or CR LF between lines and one line break after the last. Checks the text's
// frame (header, address types, reserved lines, reference type, trailer, line count, amount
// with two decimals) and fails with EBvrError listing every fault as "ligne N : message";
// the values themselves are left to ValidateBill. The language is not in the text: French.
Bill ParseQrPayload(std::string_view text);

}  // namespace bvr::qr
