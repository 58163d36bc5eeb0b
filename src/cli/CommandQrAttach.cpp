#include "cli/CommandQrAttach.h"

#include <QGuiApplication>
#include <QIODevice>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "cli/ImageFiles.h"
#include "cli/PrintTarget.h"
#include "cli/QrAttach.h"
#include "pdf/PdfLimits.h"
#include "printing/CupsPrinting.h"
#include "qrbill/BillJson.h"
#include "qrbill/Validation.h"
#include "qrprint/PaymentPart.h"
#include "report/QtTextMeasure.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

// The bill of --bill FILE with every problem of its reading, its rules and its printing.
qr::Bill CheckedBill(const std::string& path) {
  InputFile file(path, kMaxBillBytes, /*allowStdin=*/true);
  qr::BillReading reading = qr::ReadBillJson(file.ReadAll());
  qr::Problems problems = std::move(reading.problems);
  const qr::Problems rules = qr::ValidateBill(reading.bill);
  problems.insert(problems.end(), rules.begin(), rules.end());
  if (!problems.empty()) {
    throw qr::EBillInvalid(std::move(problems));
  }
  return std::move(reading.bill);
}

pdf::BillWhere WhereOption(const Options& options) {
  pdf::BillWhere where = pdf::BillWhere::Auto;
  if (!pdf::BillWhereFromText(options.Value("--where").value_or("auto"), where)) {
    throw UsageError(kWhereValues);
  }
  return where;
}

std::string PlaceText(const pdf::BillPlace& place, int pages) {
  return place.onLastPage ? Fmt("bill on page %d (%s)").d(pages).s(place.why).str()
                          : Fmt("bill on a new page %d (%s)").d(pages + 1).s(place.why).str();
}

}  // namespace

int RunQrAttach(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> valueOptions = {"--pdf", "--bill", "-o", "--where", "--language"};
  valueOptions.insert(valueOptions.end(), kPrintValueOptions.begin(), kPrintValueOptions.end());
  std::vector<std::string> flagOptions = {"--no-separators"};
  flagOptions.insert(flagOptions.end(), kPrintFlagOptions.begin(), kPrintFlagOptions.end());
  const Options options(args, valueOptions, flagOptions);
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  const std::string invoicePath = options.Value("--pdf").value_or("");
  const std::string billPath = options.Value("--bill").value_or("");
  if (invoicePath.empty() || billPath.empty()) {
    throw UsageError("qr attach needs --pdf INVOICE.pdf and --bill FILE");
  }
  const std::string output = options.Value("-o").value_or("");
  const std::optional<PrintTarget> target = PrintTargetOf(options);
  if (!target && output.empty()) {
    throw UsageError("missing -o OUT.pdf or --printer NAME");
  }
  if (!target && !EndsWith(output, ".pdf")) {
    throw UsageError("the output must end in .pdf");
  }
  const pdf::BillWhere where = WhereOption(options);
  std::optional<qr::Language> language;
  if (auto code = options.Value("--language")) {
    language = qr::LanguageFromCode(*code);
    if (!language) {
      throw UsageError("--language must be fr, de, it or en");
    }
  }
  if (!target) {
    RefuseOutputOverInputs(output, {invoicePath, billPath});
  }

  qr::Bill bill = CheckedBill(billPath);
  if (language) {
    bill.language = *language;
  }
  const std::string invoiceBytes = ReadFileBytes(invoicePath, pdf::kMaxPdfBytes);
  std::optional<OpenedInvoice> invoice;
  try {
    invoice = OpenInvoice(invoiceBytes, where);
  } catch (const EBvrError& e) {
    throw EBvrError(invoicePath + ": " + e.what());
  }
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();
  std::vector<qr::Bill> bills;
  bills.push_back(std::move(bill));
  const pdf::BillDocument drawn = DrawBills(std::move(bills), !options.Has("--no-separators"));
  const int invoicePages = invoice->pdf.PageCount();
  pdf::AttachBill(invoice->pdf, invoice->place, drawn, 0);
  err << PlaceText(invoice->place, invoicePages) << "\n";

  if (target) {
    invoice->pdf.ShiftAllPages(target->offset.dx / 10.0, target->offset.dy / 10.0);
    const std::string bytes = invoice->pdf.ToBytes();
    const int job = PrintPdf(
        {target->queue, "QR-facture", {210.0, 297.0}, target->copies},
        [&](QIODevice& device) { device.write(bytes.data(), static_cast<qint64>(bytes.size())); });
    out << JobName(*target, job) << "\n";
    return kExitOk;
  }
  WriteBytesAtomically(output, invoice->pdf.ToBytes());
  out << output << "\n";
  return kExitOk;
}

}  // namespace bvr::cli
