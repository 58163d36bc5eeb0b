// Fuzz target of the bill reader: any bytes, as a PDF or a picture (PNG, JPEG, TIFF), are
// scanned for codes or end in the library's message, never crash, hang or blow the memory;
// and as S1 billing information, whose fields, when they read without fault, write back to a
// text that reads as the same fields.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "qrbill/SwicoBilling.h"
#include "reading/BillScan.h"
#include "strings/BvrError.h"

namespace {

void Scan(std::string_view bytes) {
  try {
    bvr::reading::ScanBills(bytes);
  } catch (const bvr::EBvrError&) {
  }
}

void ReadBilling(std::string_view text) {
  const bvr::qr::SwicoReading reading = bvr::qr::ParseSwicoBilling(text);
  if (!reading.problems.empty()) {
    return;
  }
  const std::string written = bvr::qr::WriteSwicoBilling(reading.fields);
  if (!written.empty() && bvr::qr::ParseSwicoBilling(written).fields != reading.fields) {
    std::fprintf(stderr, "qr_read_fuzz: S1 fields written back read otherwise\n%s\n",
                 written.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Scan(bytes);
  ReadBilling(bytes);
  return 0;
}
