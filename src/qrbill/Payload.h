// The Swiss QR Code text of a bill: one element a line, LF between lines and none after the
// last, the trailing optional elements (billing information, alternative procedures) left out
// when empty.
#pragma once

#include <cstddef>
#include <string>

#include "qrbill/Bill.h"

namespace bvr::qr {

// What a QR code of version 25 at error correction level M holds in byte mode.
inline constexpr std::size_t kPayloadBytesMax = 997;

// The text of a valid bill. Fails with EBillInvalid listing every problem of any other.
std::string BuildQrPayload(const Bill& bill);

// The text written from the bill as it stands, checked or not: account and reference
// compacted, amount with two decimals. Validation measures the text's size with it.
std::string WritePayload(const Bill& bill);

}  // namespace bvr::qr
