// bvrslip batch: one page per payment of a CSV file, all into one PDF. Every row is checked
// before anything is written, and the PDF appears whole or not at all.
#include <unistd.h>

#include <QGuiApplication>
#include <cctype>
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>

#include "batch/BatchPdf.h"
#include "batch/Payments.h"
#include "batch/Progress.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "cli/PrintTarget.h"
#include "printing/CupsPrinting.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

// The progress line on a terminal, redrawn in place at most ten times a second so that
// drawing it never slows the batch down. Silent when stderr is a file or a pipe.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(std::ostream& err) : err_(err), enabled_(::isatty(2) == 1) {}
  ~ProgressDisplay() {
    if (shown_) {
      err_ << "\n";
    }
  }
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  void operator()(std::size_t done, std::size_t total) {
    if (!enabled_) {
      return;
    }
    const auto now = Clock::now();
    if (done != total && shown_ && now - last_ < std::chrono::milliseconds(100)) {
      return;
    }
    last_ = now;
    shown_ = true;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    err_ << "\r" << ProgressLine(done, total, elapsed) << "\x1b[K" << std::flush;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  bool enabled_;
  bool shown_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_;
};

bool EndsWithPdf(const std::string& path) {
  if (path.size() < 4) {
    return false;
  }
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return end == ".pdf";
}

BatchPage PageOption(const std::string& value) {
  if (value == "invoice") {
    return BatchPage::Invoice;
  }
  if (value == "slip") {
    return BatchPage::Slip;
  }
  throw UsageError("--page takes invoice or slip");
}

std::optional<csv::Encoding> EncodingOption(const std::optional<std::string>& value) {
  if (!value) {
    return std::nullopt;
  }
  if (*value == "utf-8") {
    return csv::Encoding::Utf8;
  }
  if (*value == "windows-1252") {
    return csv::Encoding::Windows1252;
  }
  throw UsageError("--encoding takes utf-8 or windows-1252");
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string output;
  std::unique_ptr<QGuiApplication> app;  // outlives everything that paints
  std::vector<std::string> valueOptions = {"--csv",  "-o",       "--layout",
                                           "--page", "--offset", "--encoding"};
  valueOptions.insert(valueOptions.end(), kPrintValueOptions.begin(), kPrintValueOptions.end());
  std::vector<std::string> flagOptions = {"--with-form", "--setting-mode"};
  flagOptions.insert(flagOptions.end(), kPrintFlagOptions.begin(), kPrintFlagOptions.end());
  const Options options(args, valueOptions, flagOptions);
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  const std::string csvPath = options.Value("--csv").value_or("");
  if (csvPath.empty()) {
    throw UsageError("missing --csv PAYMENTS.csv");
  }
  const std::optional<PrintTarget> target = PrintTargetOf(options);
  output = options.Value("-o").value_or("");
  if (output.empty() && !target) {
    throw UsageError("missing -o OUT.pdf or --printer NAME");
  }
  if (!target && !EndsWithPdf(output)) {
    throw UsageError("the output must end in .pdf");
  }
  const std::optional<csv::Encoding> encoding = EncodingOption(options.Value("--encoding"));
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
  if (!target) {
    RefuseOutputOverInputs(output, {csvPath, layoutPath});
  }
  const std::unique_ptr<TBvrProperties> layout = LoadLayout(layoutPath);
  try {
    CheckBatchLayout(*layout);
  } catch (const EBvrError& e) {
    throw EBvrError("--layout " +
                    (layoutPath.empty() ? std::string("(demonstration)") : layoutPath) + ": " +
                    e.what());
  }
  const std::string csvText = ReadFileBytes(csvPath);
  csv::Encoding csvEncoding = csv::Encoding::Utf8;
  if (encoding) {
    csvEncoding = *encoding;
  } else if (!csv::IsUtf8(csv::FromText(csvText))) {
    // Spreadsheets in Switzerland save CSV in the Windows code page unless told otherwise.
    csvEncoding = csv::Encoding::Windows1252;
    err << "bvrslip batch: " << csvPath
        << " is not UTF-8, read as Windows-1252 (--encoding utf-8 to refuse it)\n";
  }
  const std::vector<Payment> payments = ReadPayments(csvText, csvEncoding);
  if (payments.empty()) {
    throw EBvrError(std::string("CSV: no payment after the header"));
  }
  if (!settings.settingMode) {
    // The overlay computes no number: only the CSV itself must read.
    CheckPayments(payments, *layout);
  }

  app = EnsureGuiApplication();
  ProgressDisplay progress(err);
  const BatchProgress onPage = [&progress](std::size_t done, std::size_t total) {
    progress(done, total);
  };
  if (target) {
    // The stored offset moves the whole page; --offset moves the slip on top of it.
    settings.pageOffset = {target->offset.dx, target->offset.dy};
    const QSizeF paper(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page));
    const int job = PrintPdf(
        {target->queue, "Factures avec BVR", paper, target->copies},
        [&](QIODevice& device) { WriteBatchPdf(device, *layout, payments, settings, onPage); });
    out << JobName(*target, job) << "\n";
    return kExitOk;
  }
  WriteBatchPdfFile(output, *layout, payments, settings, onPage);
  out << output << "\n";
  return kExitOk;
}

const Registrar registrar(Command{
    .name = "batch",
    .usage = "batch --csv PAYMENTS.csv -o OUT.pdf [--layout FILE] [--page invoice|slip] "
             "[--with-form] [--offset DX,DY] [--setting-mode] [--encoding utf-8|windows-1252]\n"
             "batch --csv PAYMENTS.csv --printer NAME|default [--copies N] [--no-printer-offset] "
             "[--layout FILE] [--page invoice|slip] [--with-form] [--offset DX,DY] "
             "[--setting-mode] [--encoding utf-8|windows-1252]",
    .run = Run,
});

}  // namespace

}  // namespace bvr::cli
