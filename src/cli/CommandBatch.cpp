// bvrslip batch: one page per payment of a CSV file, all into one PDF. Every row is checked
// before anything is written, and the PDF appears whole or not at all.
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>

#include "batch/BatchPdf.h"
#include "batch/Payments.h"
#include "batch/Progress.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "cli/ImageFiles.h"
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

// Rows FROM to TO (data rows from 1, as messages count them); "FROM-" runs to the last row.
struct RowSlice {
  std::size_t from = 1;
  std::size_t to = std::numeric_limits<std::size_t>::max();
};

std::size_t RowNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  return static_cast<std::size_t>(std::stoul(text));
}

RowSlice RowsOption(const std::optional<std::string>& value) {
  if (!value) {
    return {};
  }
  const std::size_t dash = value->find('-');
  const std::size_t from = dash == std::string::npos ? 0 : RowNumber(value->substr(0, dash));
  const std::string last = dash == std::string::npos ? "" : value->substr(dash + 1);
  const std::size_t to = last.empty() ? std::numeric_limits<std::size_t>::max() : RowNumber(last);
  if (from == 0 || to == 0 || to < from) {
    throw UsageError("--rows takes FROM-TO or FROM- (rows from 1, FROM <= TO), e.g. 1-5000");
  }
  return {from, to};
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string output;
  std::unique_ptr<QGuiApplication> app;  // outlives everything that paints
  std::vector<std::string> valueOptions = {"--csv",    "-o",         "--layout", "--page",
                                           "--offset", "--encoding", "--rows"};
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
  if (!target && !EndsWith(output, ".pdf")) {
    throw UsageError("the output must end in .pdf");
  }
  const std::optional<csv::Encoding> encoding = EncodingOption(options.Value("--encoding"));
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
  // Two passes over the file, so that memory stays flat with the number of rows: the first
  // reads and checks every row, the second reads them again and prints.
  InputFile csvFile(csvPath, kMaxCsvBytes);
  const csv::Source source = [&csvFile](char* buffer, std::size_t size) {
    return csvFile.Read(buffer, size);
  };
  csv::Encoding csvEncoding = csv::Encoding::Utf8;
  if (encoding) {
    csvEncoding = *encoding;
  } else {
    const bool utf8 = csv::IsUtf8(source);
    csvFile.Rewind();
    if (!utf8) {
      // Spreadsheets in Switzerland save CSV in the Windows code page unless told otherwise.
      csvEncoding = csv::Encoding::Windows1252;
      err << "bvrslip batch: " << csvPath
          << " is not UTF-8, read as Windows-1252 (--encoding utf-8 to refuse it)\n";
    }
  }
  // A fault of reading any row is reported before a row that reads but cannot be printed.
  std::size_t total = 0;
  std::exception_ptr firstUnprintable;
  {
    PaymentReader reader(source, csvEncoding);
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
  // A slice is checked as the whole run is, so slices fail exactly where the whole run would.
  if (rows.from > total) {
    throw EBvrError(Fmt("--rows: the file has %d rows, none from row %d")
                        .d(static_cast<long long>(total))
                        .d(static_cast<long long>(rows.from)));
  }
  const std::size_t last = std::min(rows.to, total);

  csvFile.Rewind();
  PaymentReader reader(source, csvEncoding);
  const PaymentSource next = [&](Payment& p) {
    do {
      if (!reader.Next(p)) {
        return false;
      }
    } while (p.row < rows.from);
    if (p.row > last) {
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
  const std::size_t pages = last - rows.from + 1;
  if (target) {
    // The stored offset moves the whole page; --offset moves the slip on top of it.
    settings.pageOffset = {target->offset.dx, target->offset.dy};
    const QSizeF paper(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page));
    const int job = PrintPdf(
        {target->queue, "Factures avec BVR", paper, target->copies},
        [&](QIODevice& device) { WriteBatchPdf(device, *layout, pages, next, settings, onPage); });
    out << JobName(*target, job) << "\n";
    return kExitOk;
  }
  WriteBatchPdfFile(output, *layout, pages, next, settings, onPage);
  out << output << "\n";
  return kExitOk;
}

const Registrar registrar(Command{
    .name = "batch",
    .usage = "batch --csv PAYMENTS.csv -o OUT.pdf [--layout FILE] [--page invoice|slip] "
             "[--with-form] [--offset DX,DY] [--setting-mode] [--encoding utf-8|windows-1252] "
             "[--rows FROM-TO]\n"
             "batch --csv PAYMENTS.csv --printer NAME|default [--copies N] [--no-printer-offset] "
             "[--layout FILE] [--page invoice|slip] [--with-form] [--offset DX,DY] "
             "[--setting-mode] [--encoding utf-8|windows-1252] [--rows FROM-TO]",
    .run = Run,
});

}  // namespace

}  // namespace bvr::cli
