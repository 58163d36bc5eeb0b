// bvrslip batch --kind qr --attach-column COLUMN: each row's bill added to the invoice PDF the
// row names (relative to the CSV's folder), into a file of its own or one combined PDF. Every
// row and every invoice is checked before anything is written.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/QrBillRows.h"
#include "cli/BatchSupport.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "cli/ImageFiles.h"
#include "cli/QrAttach.h"
#include "model/BvrProperties.h"
#include "pdf/PdfLimits.h"
#include "qrbill/BillJson.h"
#include "qrprint/PaymentPart.h"
#include "report/QtTextMeasure.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

// Where the outputs go: a folder with one file a row, or one combined file.
struct AttachOutput {
  std::string folder;    // with a trailing '/', or empty
  std::string combined;  // or empty

  std::string PathFor(const std::string& invoice) const { return folder + FileNameOf(invoice); }
};

AttachOutput AttachOutputOf(const Options& options) {
  if (options.Has("--printer")) {
    throw UsageError("--attach-column writes files: -o OUT_DIR/ or --combined OUT.pdf");
  }
  if (options.Has("--page")) {
    throw UsageError("--page is not for --attach-column: the bill goes on the invoice");
  }
  const std::optional<std::string> folder = options.Value("-o");
  const std::optional<std::string> combined = options.Value("--combined");
  if (folder.has_value() == combined.has_value()) {
    throw UsageError("--attach-column needs either -o OUT_DIR/ or --combined OUT.pdf");
  }
  if (combined) {
    if (!EndsWith(*combined, ".pdf")) {
      throw UsageError("the output must end in .pdf");
    }
    return {"", *combined};
  }
  if (folder->empty() ||
      (!EndsWith(*folder, "/") && !QFileInfo(QString::fromStdString(*folder)).isDir())) {
    throw UsageError("-o takes a folder with --attach-column (OUT_DIR/)");
  }
  return {EndsWith(*folder, "/") ? *folder : *folder + "/", ""};
}

// The invoice's path: as the row gives it when absolute, else from the CSV's folder.
std::string InvoicePath(const std::string& csvPath, const std::string& cell) {
  if (cell.starts_with('/')) {
    return cell;
  }
  const std::size_t slash = csvPath.find_last_of('/');
  return slash == std::string::npos ? cell : csvPath.substr(0, slash + 1) + cell;
}

// Bills drawn together: the page writer sets its faces up once for all of them.
constexpr std::size_t kBillsDrawnTogether = 50;

// What the first pass learnt of a row's invoice, so that the second neither renders its foot
// again nor trusts a file that changed in between.
struct CheckedInvoice {
  std::size_t fingerprint = 0;
  bool onLastPage = false;
};

std::size_t Fingerprint(const std::string& bytes) {
  return std::hash<std::string_view>{}(bytes);
}

// The row's invoice read and checked; its problem as the row's.
CheckedInvoice CheckRowInvoice(const std::string& path, pdf::BillWhere where,
                               const std::string& column, qr::Problems& problems) {
  try {
    const std::string bytes = ReadFileBytes(path, pdf::kMaxPdfBytes);
    const OpenedInvoice invoice = OpenInvoice(bytes, where);
    return {Fingerprint(bytes), invoice.place.onLastPage};
  } catch (const EBvrError& e) {
    problems.push_back({column, e.what()});
  }
  return {};
}

// A row of the second pass, waiting for its bill to be drawn.
struct PendingRow {
  std::size_t row = 0;
  std::string invoicePath;
  CheckedInvoice checked;
};

}  // namespace

int RunQrAttachBatch(const Options& options, std::ostream& out, std::ostream& err) {
  const std::string column = options.Value("--attach-column").value_or("");
  const std::string billPath = options.Value("--bill").value_or("");
  const std::string csvPath = options.Value("--csv").value_or("");
  if (column.empty() || billPath.empty() || csvPath.empty()) {
    throw UsageError("missing --bill TEMPLATE.json, --csv ROWS.csv or --attach-column COLUMN");
  }
  const AttachOutput output = AttachOutputOf(options);
  pdf::BillWhere where = pdf::BillWhere::Auto;
  if (!pdf::BillWhereFromText(options.Value("--where").value_or("auto"), where)) {
    throw UsageError(kWhereValues);
  }
  const RowSlice rows = RowsOption(options.Value("--rows"));
  const std::optional<std::string> layoutPath = options.Value("--layout");
  if (!output.combined.empty()) {
    RefuseOutputOverInputs(output.combined, {csvPath, billPath, layoutPath.value_or("")});
  }
  const qr::Bill templateBill = ReadQrBatchTemplate(billPath);
  std::optional<ReferenceLayout> scheme;
  if (layoutPath) {
    scheme = LoadLayout(*layoutPath)->Reference().number();
  }
  BatchCsvFile csvFile(csvPath, options.Value("--encoding"), err);
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();
  std::size_t total = 0;
  std::vector<CheckedInvoice> checked;  // a few bytes a row
  {
    BatchProblems problems;
    std::map<std::string, std::size_t> outputs;  // file name -> first row writing it
    QrBillRowReader reader(csvFile.Source(), csvFile.Encoding(), templateBill, scheme, column);
    for (QrBillRow row; reader.Next(row); ++total) {
      checked.emplace_back();
      if (row.attach.empty()) {
        row.problems.push_back({column, "no invoice PDF named"});
      } else {
        const std::string invoice = InvoicePath(csvPath, row.attach);
        checked.back() = CheckRowInvoice(invoice, where, column, row.problems);
        if (!output.combined.empty()) {
          try {
            RefuseOutputOverInputs(output.combined, {invoice});
          } catch (const EBvrError& e) {
            row.problems.push_back({column, e.what()});
          }
        } else {
          const auto [first, isNew] = outputs.emplace(FileNameOf(invoice), row.row);
          if (!isNew) {
            row.problems.push_back({column, Fmt("the output %s is row %d's too")
                                                .s(FileNameOf(invoice))
                                                .d(static_cast<long long>(first->second))});
          }
          try {
            RefuseOutputOverInputs(output.PathFor(invoice), {invoice, csvPath, billPath});
          } catch (const EBvrError& e) {
            row.problems.push_back({column, e.what()});
          }
        }
      }
      problems.Add(row.row, row.problems);
    }
    RefuseQrBatchRows(total, problems);
  }
  const std::size_t last = rows.Last(total);
  if (!output.folder.empty() && !QDir().mkpath(QString::fromStdString(output.folder))) {
    throw EBvrError("Cannot create folder \"" + output.folder + "\"");
  }

  csvFile.Rewind();
  QrBillRowReader reader(csvFile.Source(), csvFile.Encoding(), templateBill, scheme, column);
  const bool separators = !options.Has("--no-separators");
  ProgressDisplay progress(err);
  std::optional<pdf::CombinedPdf> combined;
  if (!output.combined.empty()) {
    combined.emplace();
  }
  std::size_t done = 0;
  const std::size_t count = rows.Pages(total);
  std::vector<PendingRow> pending;
  std::vector<qr::Bill> bills;
  // The pending rows' bills drawn, each added to its invoice and written.
  const auto attachPending = [&] {
    const pdf::BillDocument drawn = DrawBills(std::move(bills), separators);
    bills.clear();
    for (std::size_t i = 0; i < pending.size(); ++i) {
      const PendingRow& p = pending[i];
      const std::string bytes = ReadFileBytes(p.invoicePath, pdf::kMaxPdfBytes);
      if (Fingerprint(bytes) != p.checked.fingerprint) {
        throw EBvrError(Fmt("row %d, %s : %s changed since it was checked")
                            .d(static_cast<long long>(p.row))
                            .s(column)
                            .s(p.invoicePath)
                            .str());
      }
      pdf::InvoicePdf invoice = pdf::InvoicePdf::FromBytes(bytes);
      pdf::AttachBill(invoice, {p.checked.onLastPage, ""}, drawn, static_cast<int>(i));
      if (combined) {
        combined->Add(std::move(invoice));
      } else {
        const std::string path = output.PathFor(p.invoicePath);
        WriteBytesAtomically(path, invoice.ToBytes());
        out << path << "\n";
      }
      progress(++done, count);
    }
    pending.clear();
  };
  QrBillRow row;
  while (NextInSlice(rows, last, row, [&](QrBillRow& r) { return reader.Next(r); })) {
    if (!row.problems.empty()) {  // the CSV changed since the first pass
      BatchProblems report;
      report.Add(row.row, row.problems);
      throw EBvrError(report.Text());
    }
    pending.push_back({row.row, InvoicePath(csvPath, row.attach), checked.at(row.row - 1)});
    bills.push_back(std::move(row.bill));
    if (pending.size() == kBillsDrawnTogether) {
      attachPending();
    }
  }
  if (!pending.empty()) {
    attachPending();
  }
  if (combined) {
    WriteBytesAtomically(output.combined, combined->ToBytes());
    out << output.combined << "\n";
  }
  return kExitOk;
}

}  // namespace bvr::cli
