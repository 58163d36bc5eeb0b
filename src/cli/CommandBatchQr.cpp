// bvrslip batch --kind qr: one QR-bill a CSV row, all into one PDF. The template bill gives
// what all bills share; every row is checked (rules and texts that fit) before anything is
// written, and the PDF appears whole or not at all.
#include <QGuiApplication>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "batch/QrBatchPdf.h"
#include "batch/QrBillRows.h"
#include "cli/BatchSupport.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "model/BvrProperties.h"
#include "qrbill/BillJson.h"
#include "qrprint/PaymentPart.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

QrBillPage QrPageOption(const std::string& value) {
  if (value == "a4") {
    return QrBillPage::A4;
  }
  if (value == "bill") {
    return QrBillPage::Bill;
  }
  throw UsageError("--page takes a4 or bill with --kind qr");
}

std::optional<ReferenceLayout> SchemeOption(const std::optional<std::string>& layoutPath) {
  if (!layoutPath) {
    return std::nullopt;
  }
  return LoadLayout(*layoutPath)->Reference().number();
}

}  // namespace

int RunQrBatch(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.Has("--attach-column")) {
    return RunQrAttachBatch(options, out, err);
  }
  for (const char* attachOnly : {"--combined", "--where"}) {
    if (options.Has(attachOnly)) {
      throw UsageError(std::string(attachOnly) + " is for --attach-column");
    }
  }
  for (const char* slipOnly : {"--with-form", "--offset", "--setting-mode"}) {
    if (options.Has(slipOnly)) {
      throw UsageError(std::string(slipOnly) + " is for slip batches");
    }
  }
  const std::string billPath = options.Value("--bill").value_or("");
  if (billPath.empty()) {
    throw UsageError("missing --bill TEMPLATE.json");
  }
  const std::string csvPath = options.Value("--csv").value_or("");
  if (csvPath.empty()) {
    throw UsageError("missing --csv ROWS.csv");
  }
  const BatchOutput output(options);
  const RowSlice rows = RowsOption(options.Value("--rows"));
  QrBatchSettings settings;
  settings.page = QrPageOption(options.Value("--page").value_or("a4"));
  settings.separators = !options.Has("--no-separators");

  // Everything is read and checked before the output is opened.
  const std::optional<std::string> layoutPath = options.Value("--layout");
  output.RefuseOverInputs({csvPath, billPath, layoutPath.value_or("")});
  const qr::Bill templateBill = ReadQrBatchTemplate(billPath);
  const std::optional<ReferenceLayout> scheme = SchemeOption(layoutPath);
  BatchCsvFile csvFile(csvPath, options.Value("--encoding"), err);
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();  // the faces' metrics

  std::size_t total = 0;
  {
    BatchProblems problems;
    QrBillRowReader reader(csvFile.Source(), csvFile.Encoding(), templateBill, scheme);
    for (QrBillRow row; reader.Next(row); ++total) {
      problems.Add(row.row, row.problems);
    }
    RefuseQrBatchRows(total, problems);
  }
  const std::size_t last = rows.Last(total);

  csvFile.Rewind();
  QrBillRowReader reader(csvFile.Source(), csvFile.Encoding(), templateBill, scheme);
  QrBillRow row;
  const QrBillSource next = [&](qr::Bill& bill) {
    if (!NextInSlice(rows, last, row, [&](QrBillRow& r) { return reader.Next(r); })) {
      return false;
    }
    if (!row.problems.empty()) {  // the file changed since the first pass
      BatchProblems problems;
      problems.Add(row.row, row.problems);
      throw EBvrError(problems.Text());
    }
    bill = std::move(row.bill);
    return true;
  };
  ProgressDisplay progress(err);
  const BatchProgress onPage = [&progress](std::size_t done, std::size_t all) {
    progress(done, all);
  };
  const std::size_t pages = rows.Pages(total);
  settings.pageOffset = output.PageOffset();
  output.Write(
      "QR-factures", QrBatchPaperMm(settings.page),
      [&](QIODevice& device) {
        WriteQrBatchPdf(device, pages, next, settings, onPage);
        csvFile.CheckUnchanged();
      },
      out);
  return kExitOk;
}

}  // namespace bvr::cli
