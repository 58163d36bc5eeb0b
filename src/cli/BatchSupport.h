// What the slip batch and the QR-bill batch share on the command line: the progress line,
// the CSV file read twice in its encoding, and the --encoding and --rows options.
#pragma once

#include <QSizeF>
#include <chrono>
#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/Csv.h"
#include "batch/Progress.h"
#include "batch/QrBillRows.h"
#include "cli/CliSupport.h"
#include "cli/PrintTarget.h"
#include "qrbill/Bill.h"

class QIODevice;

namespace bvr::cli {

// The progress line on a terminal, redrawn in place at most ten times a second so that
// drawing it never slows the batch down. Silent when stderr is a file or a pipe.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(std::ostream& err);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  void operator()(std::size_t done, std::size_t total);

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  bool enabled_;
  bool shown_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_;
};

// The CSV of a batch, read in two passes so that memory stays flat with the number of rows:
// the first reads and checks every row, the second reads them again and prints. Without an
// encoding given, a file that is not UTF-8 is read as Windows-1252 (as spreadsheets in
// Switzerland save CSV), and err says so. The second pass reads the bytes the first checked:
// the first keeps a digest of each 64 KiB piece, the second compares each piece before it
// hands on any of its bytes, and fails with "CSV: the file changed while it was printed".
class BatchCsvFile {
 public:
  BatchCsvFile(const std::string& path, const std::optional<std::string>& encodingOption,
               std::ostream& err);
  const csv::Source& Source() const { return source_; }
  csv::Encoding Encoding() const { return encoding_; }
  // Ends the first pass: from now on the file is read again and compared.
  void Rewind();
  // Reads what the second pass left (rows after --rows) and compares it too: called once the
  // pages are drawn, before the output is kept.
  void CheckUnchanged();

 private:
  enum class Pass { Detect, First, Second };
  std::size_t Serve(char* buffer, std::size_t size);
  bool NextPiece();
  [[noreturn]] static void Changed();

  InputFile file_;
  csv::Source source_;
  csv::Encoding encoding_ = csv::Encoding::Utf8;
  Pass pass_ = Pass::Detect;
  std::string piece_;
  std::size_t served_ = 0;            // bytes of piece_ handed on
  std::size_t pieceIndex_ = 0;        // pieces read in this pass
  std::vector<std::string> digests_;  // of the first pass's pieces
};

// Rows FROM to TO (data rows from 1, as messages count them); "FROM-" runs to the last row.
struct RowSlice {
  std::size_t from = 1;
  std::size_t to = std::numeric_limits<std::size_t>::max();

  // The last row printed of a file of total rows. A slice is checked as the whole run is, so
  // slices fail exactly where the whole run would; one that starts past the end fails.
  std::size_t Last(std::size_t total) const;
  std::size_t Pages(std::size_t total) const { return Last(total) - from + 1; }
};

RowSlice RowsOption(const std::optional<std::string>& value);

// The next item of a slice: read (which fills item with the file's next row, false at the
// end) is called past the rows before the slice; false at the end or past row last.
template <class Item, class Read>
bool NextInSlice(const RowSlice& rows, std::size_t last, Item& item, Read&& read) {
  do {
    if (!read(item)) {
      return false;
    }
  } while (item.row < rows.from);
  return item.row <= last;
}

// Where a batch's pages go: one job on a print queue (--printer) or a PDF file (-o).
class BatchOutput {
 public:
  // Fails (UsageError) without -o or --printer, or for a file that does not end in .pdf.
  explicit BatchOutput(const Options& options);

  const std::optional<PrintTarget>& Target() const { return target_; }
  // Refuses a file that would overwrite one of the inputs; nothing for a print queue.
  void RefuseOverInputs(const std::vector<std::string>& inputs) const;
  // The queue's stored offset, tenths of a millimetre; none for a file.
  SlipOffset PageOffset() const;
  // Sends what write writes: as one job titled title on paper (mm), or into the file, which
  // appears complete or not at all. Prints the job's name or the file's path on out.
  void Write(const std::string& title, QSizeF paperMm, const std::function<void(QIODevice&)>& write,
             std::ostream& out) const;

 private:
  std::optional<PrintTarget> target_;
  std::string path_;
};

// The template bill of --kind qr: its keys read as a bill's, each problem as "--bill PATH,
// field : message". Its rules are checked row by row, since a row may give what the template
// leaves out (a QR-IBAN's reference).
qr::Bill ReadQrBatchTemplate(const std::string& path);

// The first pass's verdict on the rows of --kind qr: no bill after the header, or any row's
// problems, fail the batch before anything is written.
void RefuseQrBatchRows(std::size_t total, const BatchProblems& problems);

// bvrslip batch --kind qr.
int RunQrBatch(const Options& options, std::ostream& out, std::ostream& err);
// bvrslip batch --kind qr --attach-column COLUMN: the bills added to the rows' invoices.
int RunQrAttachBatch(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace bvr::cli
