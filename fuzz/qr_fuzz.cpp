// Fuzz target of the QR-bill readers: any bytes, read as a bill in JSON and as a QR Code text,
// either read or end in the library's message, and never crash. What reads and validates must
// hold together: its text comes back through ParseQrPayload as the same bill (the language,
// which the text does not carry, aside), validates again, and fits a symbol of version 25 at
// most.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/PayloadReader.h"
#include "qrbill/QrSymbol.h"
#include "qrbill/Validation.h"
#include "strings/BvrError.h"

namespace {

using bvr::qr::Bill;

[[noreturn]] void Fail(const char* what, const std::string& payload) {
  std::fprintf(stderr, "qr_fuzz: %s\n%s\n", what, payload.c_str());
  std::abort();
}

// The QR Code text of a valid bill must read back, validate and fit the symbol.
void CheckValidBill(const Bill& bill) {
  const std::string payload = bvr::qr::BuildQrPayload(bill);
  if (payload.size() > bvr::qr::kPayloadBytesMax) {
    Fail("valid bill with a text over the limit", payload);
  }
  Bill back;
  try {
    back = bvr::qr::ParseQrPayload(payload);
  } catch (const bvr::EBvrError& e) {
    Fail(e.what(), payload);
  }
  if (!bvr::qr::ValidateBill(back).empty()) {
    Fail("text of a valid bill reads back invalid", payload);
  }
  if (bvr::qr::WritePayload(back) != payload) {
    Fail("text of a valid bill reads back as another text", payload);
  }
  if (bvr::qr::MakeQrSymbol(payload).Version() > bvr::qr::kSymbolVersionMax) {
    Fail("symbol past version 25", payload);
  }
}

void ReadAsJson(std::string_view text) {
  bvr::qr::BillReading reading;
  try {
    reading = bvr::qr::ReadBillJson(text);
  } catch (const bvr::EBvrError&) {
    return;
  }
  if (reading.problems.empty() && bvr::qr::ValidateBill(reading.bill).empty()) {
    CheckValidBill(reading.bill);
  }
}

void ReadAsPayload(std::string_view text) {
  Bill bill;
  try {
    bill = bvr::qr::ParseQrPayload(text);
  } catch (const bvr::EBvrError&) {
    return;
  }
  if (bvr::qr::ValidateBill(bill).empty()) {
    CheckValidBill(bill);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReadAsJson(text);
  ReadAsPayload(text);
  return 0;
}
