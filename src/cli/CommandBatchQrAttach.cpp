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
#include "report/AtomicFile.h"
#include "report/QtTextMeasure.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

qr::Bill ReadTemplateBill(const std::string& path) {
  InputFile file(path, kMaxBillBytes);
  qr::BillReading reading = qr::ReadBillJson(file.ReadAll());
  if (!reading.problems.empty()) {
    std::string text;
    for (const qr::Problem& p : reading.problems) {
      text += (text.empty() ? "" : "\n") + ("--bill " + path + ", " + p.Text());
    }
    throw EBvrError(text);
  }
  return reading.bill;
}

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

// The bytes of the row's invoice, opened and checked; the file's problem as the row's.
std::optional<OpenedInvoice> OpenRowInvoice(const std::string& path, pdf::BillWhere where,
                                            const std::string& column, qr::Problems& problems) {
  try {
    const std::string bytes = ReadFileBytes(path, pdf::kMaxPdfBytes);
    return OpenInvoice(bytes, where);
  } catch (const EBvrError& e) {
    problems.push_back({column, e.what()});
  }
  return std::nullopt;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& device) {
    if (device.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
      throw EWriteStopped("the PDF");
    }
  });
}

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
  const qr::Bill templateBill = ReadTemplateBill(billPath);
  std::optional<ReferenceLayout> scheme;
  if (layoutPath) {
    scheme = LoadLayout(*layoutPath)->Reference().number();
  }
  BatchCsvFile csvFile(csvPath, options.Value("--encoding"), err);
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();

  std::size_t total = 0;
  {
    BatchProblems problems;
    QtRecordingCanvas measure;
    std::map<std::string, std::size_t> outputs;  // file name -> first row writing it
    QrBillRowReader reader(csvFile.Source(), csvFile.Encoding(), templateBill, scheme, column);
    for (QrBillRow row; reader.Next(row); ++total) {
      if (row.problems.empty()) {
        row.problems = qr::FitProblems(row.bill, measure);
      }
      if (row.attach.empty()) {
        row.problems.push_back({column, "no invoice PDF named"});
      } else {
        const std::string invoice = InvoicePath(csvPath, row.attach);
        OpenRowInvoice(invoice, where, column, row.problems);
        if (output.combined.empty()) {
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
    if (total == 0) {
      throw EBvrError(std::string("CSV: no bill after the header"));
    }
    if (!problems.Empty()) {
      throw EBvrError(problems.Text());
    }
  }
  const std::size_t last = rows.Last(total);
  if (!output.folder.empty() && !QDir().mkpath(QString::fromStdString(output.folder))) {
    throw EBvrError("Cannot create folder \"" + output.folder + "\"");
  }

  csvFile.Rewind();
  QrBillRowReader reader(csvFile.Source(), csvFile.Encoding(), templateBill, scheme, column);
  BillPages bills(!options.Has("--no-separators"));
  ProgressDisplay progress(err);
  std::optional<pdf::CombinedPdf> combined;
  if (!output.combined.empty()) {
    combined.emplace();
  }
  QrBillRow row;
  std::size_t done = 0;
  const std::size_t count = rows.Pages(total);
  while (NextInSlice(rows, last, row, [&](QrBillRow& r) { return reader.Next(r); })) {
    qr::Problems problems = row.problems;
    const std::string invoicePath = InvoicePath(csvPath, row.attach);
    std::optional<OpenedInvoice> invoice = OpenRowInvoice(invoicePath, where, column, problems);
    if (!problems.empty()) {  // a file changed since the first pass
      BatchProblems report;
      report.Add(row.row, problems);
      throw EBvrError(report.Text());
    }
    pdf::AttachBill(invoice->pdf, invoice->place, bills.Pdf(std::move(row.bill)));
    if (combined) {
      combined->Add(std::move(invoice->pdf));
    } else {
      const std::string path = output.PathFor(invoicePath);
      WriteBytes(path, invoice->pdf.ToBytes());
      out << path << "\n";
    }
    progress(++done, count);
  }
  if (combined) {
    WriteBytes(output.combined, combined->ToBytes());
    out << output.combined << "\n";
  }
  return kExitOk;
}

}  // namespace bvr::cli
