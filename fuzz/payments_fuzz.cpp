// Fuzz target of the payments received: any bytes either read as transactions or end in the
// reader's "NAME: line L: message", and never crash. What reads must hold together: entries
// and transactions in the order of their lines, references compact; matched against invoices
// of their own references, every invoice's payments add up to what it counts as paid.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "payments/CamtReader.h"
#include "payments/Matcher.h"
#include "payments/Reference.h"
#include "strings/BvrError.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "payments_fuzz: %s\n", what);
  std::abort();
}

void CheckMatching(const std::vector<bvr::pay::Transaction>& all) {
  std::vector<bvr::pay::Invoice> invoices;
  for (const bvr::pay::Transaction& t : all) {
    if (!t.reference.empty() && !bvr::pay::ReferenceProblem(t.reference) && invoices.size() < 8) {
      bool known = false;
      for (const bvr::pay::Invoice& i : invoices) {
        known = known || i.reference == t.reference;
      }
      if (!known) {
        invoices.push_back({invoices.size() + 1, 0, "x", 1000000, t.currency, t.reference});
      }
    }
  }
  bvr::pay::Matcher matcher(invoices);
  for (int file = 0; file < 2; ++file) {
    matcher.StartFile();
    for (const bvr::pay::Transaction& t : all) {
      matcher.Add(t);
    }
  }
  for (const bvr::pay::InvoiceState& s : matcher.Invoices()) {
    bvr::pay::Units sum = 0;
    for (const bvr::pay::Settlement& settlement : s.settlements) {
      sum += settlement.amount;
    }
    if (sum != s.paid || s.paid < 0) {
      Fail("an invoice's payments do not add up to what it counts as paid");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<bvr::pay::Transaction> all;
  try {
    all = bvr::pay::ReadCamt(std::string(reinterpret_cast<const char*>(data), size), "f.xml");
  } catch (const bvr::EBvrError& e) {
    if (std::string(e.what()).rfind("f.xml: line ", 0) != 0) {
      Fail("a failure without the file's name and line");
    }
    return 0;
  }
  std::size_t lastEntry = 0;
  for (const bvr::pay::Transaction& t : all) {
    if (t.entryLine < lastEntry || t.line < t.entryLine) {
      Fail("transactions out of the order of their lines");
    }
    lastEntry = t.entryLine;
    if (t.reference != bvr::pay::CompactReference(t.reference)) {
      Fail("a reference with blanks or lower case");
    }
  }
  CheckMatching(all);
  return 0;
}
