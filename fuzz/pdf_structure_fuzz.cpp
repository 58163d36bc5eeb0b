// Fuzz target of the invoice reading over qpdf: any bytes either open (and then take a bill on
// their last page and on a new page, and are written again) or end in the library's message;
// they never crash, hang or leak. The bill is a small PDF page made here.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/InvoicePdf.h"
#include "strings/BvrError.h"

namespace {

// A 210 x 105 mm page with a square on it, its cross-reference table counted.
std::string BillPdf() {
  const std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.28 297.64] /Contents 4 0 R >>",
      "<< /Length 19 >>\nstream\n190 48 130 130 re f\nendstream",
  };
  std::string pdf = "%PDF-1.4\n";
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    char line[24];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
    pdf += line;
  }
  pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Never destroyed: qpdf's own statics may be gone by the time ours would be.
  static const auto* const bills =
      new bvr::pdf::BillDocument(bvr::pdf::BillDocument::FromBytes(BillPdf()));
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    bvr::pdf::InvoicePdf invoice = bvr::pdf::InvoicePdf::FromBytes(bytes);
    for (int page = 0; page < invoice.PageCount(); ++page) {
      (void)invoice.ShownSize(page);
    }
    invoice.PlaceBillOnPage(invoice.PageCount() - 1, *bills, 0);
    invoice.AppendBillPage(*bills, 0);
    invoice.ShiftAllPages(1.5, -2);
    const std::string written = invoice.ToBytes();
    // What we write must open again, with the page we added.
    if (bvr::pdf::InvoicePdf::FromBytes(written).PageCount() != invoice.PageCount()) {
      std::fprintf(stderr, "pdf_structure_fuzz: the written file lost pages\n");
      __builtin_trap();
    }
  } catch (const bvr::EBvrError&) {
  }
  return 0;
}
