// Fuzz target of the batch's payments: any bytes either read as payments or end in the
// reader's message, and never crash. What reads must hold together: rows numbered from 1 in
// order, starting on increasing lines, payer lines without line breaks or trailing empties;
// checking it against the demonstration layout fails only with the library's message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch/Payments.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "strings/BvrError.h"

namespace {

[[noreturn]] void Fail(const char* what, std::size_t row) {
  std::fprintf(stderr, "csv_fuzz: row %zu: %s\n", row, what);
  std::abort();
}

const bvr::TBvrProperties& Layout() {
  static const bvr::TBvrProperties* layout = [] {
    auto* p = new bvr::TBvrProperties;
    bvr::LoadDemonstrationLayout(*p);
    return p;
  }();
  return *layout;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<bvr::Payment> payments;
  try {
    payments = bvr::ReadPayments(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const bvr::EBvrError&) {
    return 0;
  }
  std::size_t lastLine = 1;
  for (std::size_t i = 0; i < payments.size(); ++i) {
    const bvr::Payment& p = payments[i];
    if (p.row != i + 1) {
      Fail("rows are not numbered in order", p.row);
    }
    if (p.line <= lastLine) {
      Fail("row does not start after the previous one", p.row);
    }
    lastLine = p.line;
    for (const std::string& line : p.payer) {
      if (line.find_first_of("\r\n") != std::string::npos) {
        Fail("payer line holds a line break", p.row);
      }
    }
    if (!p.payer.empty() && p.payer.back().empty()) {
      Fail("trailing empty payer line", p.row);
    }
  }
  try {
    bvr::CheckPayments(payments, Layout());
  } catch (const bvr::EBvrError&) {
  }
  return 0;
}
