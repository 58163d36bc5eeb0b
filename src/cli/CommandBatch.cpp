// bvrslip batch: one page per payment of a CSV file, all into one PDF. Every row is checked
// before anything is written, and the PDF appears whole or not at all.
#include <QGuiApplication>
#include <exception>
#include <memory>
#include <ostream>

#include "batch/BatchPdf.h"
#include "batch/Payments.h"
#include "batch/Progress.h"
#include "cli/BatchSupport.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

BatchPage PageOption(const std::string& value) {
  if (value == "invoice") {
    return BatchPage::Invoice;
  }
  if (value == "slip") {
    return BatchPage::Slip;
  }
  throw UsageError("--page takes invoice or slip");
}

int RunSlipBatch(const Options& options, std::ostream& out, std::ostream& err) {
  for (const char* qrOnly : {"--bill", "--no-separators"}) {
    if (options.Has(qrOnly)) {
      throw UsageError(std::string(qrOnly) + " is for --kind qr");
    }
  }
  std::unique_ptr<QGuiApplication> app;  // outlives everything that paints
  const std::string csvPath = options.Value("--csv").value_or("");
  if (csvPath.empty()) {
    throw UsageError("missing --csv PAYMENTS.csv");
  }
  const BatchOutput output(options);
  const RowSlice rows = RowsOption(options.Value("--rows"));
  BatchSettings settings;
  settings.page = PageOption(options.Value("--page").value_or("invoice"));
  settings.withForm = options.Has("--with-form");
  settings.settingMode = options.Has("--setting-mode");
  if (auto text = options.Value("--offset")) {
    const auto offset = ParseSlipOffset(*text);
    if (!offset) {
      throw UsageError("--offset takes DX,DY in tenths of a millimetre, e.g. 15,-5");
    }
    settings.offset = *offset;
  }

  // Everything is read and checked before the output is opened.
  const std::string layoutPath = options.Value("--layout").value_or("");
  output.RefuseOverInputs({csvPath, layoutPath});
  const std::unique_ptr<TBvrProperties> layout = LoadLayout(layoutPath);
  try {
    CheckBatchLayout(*layout);
  } catch (const EBvrError& e) {
    throw EBvrError("--layout " +
                    (layoutPath.empty() ? std::string("(demonstration)") : layoutPath) + ": " +
                    e.what());
  }
  BatchCsvFile csvFile(csvPath, options.Value("--encoding"), err);
  // A fault of reading any row is reported before a row that reads but cannot be printed.
  std::size_t total = 0;
  std::exception_ptr firstUnprintable;
  {
    PaymentReader reader(csvFile.Source(), csvFile.Encoding());
    for (Payment p; reader.Next(p); ++total) {
      if (!settings.settingMode && !firstUnprintable) {
        // The overlay computes no number: only the CSV itself must read.
        try {
          CheckPayment(p, *layout);
        } catch (...) {
          firstUnprintable = std::current_exception();
        }
      }
    }
  }
  if (total == 0) {
    throw EBvrError(std::string("CSV: no payment after the header"));
  }
  if (firstUnprintable) {
    std::rethrow_exception(firstUnprintable);
  }
  const std::size_t last = rows.Last(total);

  csvFile.Rewind();
  PaymentReader reader(csvFile.Source(), csvFile.Encoding());
  const PaymentSource next = [&](Payment& p) {
    if (!NextInSlice(rows, last, p, [&](Payment& q) { return reader.Next(q); })) {
      return false;
    }
    if (!settings.settingMode) {
      CheckPayment(p, *layout);  // the file may have changed since the first pass
    }
    return true;
  };
  app = EnsureGuiApplication();
  ProgressDisplay progress(err);
  const BatchProgress onPage = [&progress](std::size_t done, std::size_t all) {
    progress(done, all);
  };
  const std::size_t pages = rows.Pages(total);
  // A queue's stored offset moves the whole page; --offset moves the slip on top of it.
  settings.pageOffset = output.PageOffset();
  const QSizeF paper(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page));
  output.Write(
      "Factures avec BVR", paper,
      [&](QIODevice& device) {
        WriteBatchPdf(device, *layout, pages, next, settings, onPage);
        csvFile.CheckUnchanged();
      },
      out);
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> valueOptions = {"--kind",   "--csv",  "-o",         "--layout", "--page",
                                           "--offset", "--rows", "--encoding", "--bill"};
  valueOptions.insert(valueOptions.end(), {"--attach-column", "--combined", "--where"});
  valueOptions.insert(valueOptions.end(), kPrintValueOptions.begin(), kPrintValueOptions.end());
  std::vector<std::string> flagOptions = {"--with-form", "--setting-mode", "--no-separators"};
  flagOptions.insert(flagOptions.end(), kPrintFlagOptions.begin(), kPrintFlagOptions.end());
  const Options options(args, valueOptions, flagOptions);
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  const std::string kind = options.Value("--kind").value_or("slip");
  if (kind == "qr") {
    return RunQrBatch(options, out, err);
  }
  if (kind != "slip") {
    throw UsageError("--kind takes slip or qr");
  }
  return RunSlipBatch(options, out, err);
}

const Registrar registrar(Command{
    .name = "batch",
    .usage =
        "batch [--kind slip] --csv PAYMENTS.csv -o OUT.pdf [--layout FILE] [--page invoice|slip] "
        "[--with-form] [--offset DX,DY] [--setting-mode] [--encoding utf-8|windows-1252] "
        "[--rows FROM-TO]\n"
        "batch --csv PAYMENTS.csv --printer NAME|default [--copies N] [--no-printer-offset] "
        "[--layout FILE] [--page invoice|slip] [--with-form] [--offset DX,DY] "
        "[--setting-mode] [--encoding utf-8|windows-1252] [--rows FROM-TO]\n"
        "batch --kind qr --bill TEMPLATE.json --csv ROWS.csv -o OUT.pdf [--page a4|bill] "
        "[--layout FILE.BVR] [--no-separators] [--encoding utf-8|windows-1252] "
        "[--rows FROM-TO]    one QR-bill a row: the template gives what all bills share, "
        "the header names what each row gives (amount, reference, message, billing, "
        "debtor.name, debtor.street, debtor.number, debtor.postcode, debtor.town, "
        "debtor.country, invoice: the QR reference of the layout's scheme); every row is "
        "checked first\n"
        "batch --kind qr --bill TEMPLATE.json --csv ROWS.csv --printer NAME|default "
        "[--copies N] [--no-printer-offset] [--page a4|bill] [--layout FILE.BVR] "
        "[--no-separators] [--encoding utf-8|windows-1252] [--rows FROM-TO]\n"
        "batch --kind qr --bill TEMPLATE.json --csv ROWS.csv --attach-column COLUMN "
        "(-o OUT_DIR/ | --combined OUT.pdf) [--where auto|last-page|new-page] [--layout FILE.BVR] "
        "[--no-separators] [--encoding utf-8|windows-1252] [--rows FROM-TO]    each row's bill "
        "added to the invoice PDF its COLUMN names (from the CSV's folder): one file a row, "
        "named after its invoice, or one combined PDF; every row and every PDF is checked first",
    .run = Run,
});

}  // namespace

}  // namespace bvr::cli
