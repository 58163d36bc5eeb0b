#include "cli/BatchSupport.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <algorithm>

#include "cli/ImageFiles.h"
#include "printing/CupsPrinting.h"
#include "qrbill/BillJson.h"
#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr::cli {

ProgressDisplay::ProgressDisplay(std::ostream& err) : err_(err), enabled_(::isatty(2) == 1) {}

ProgressDisplay::~ProgressDisplay() {
  if (shown_) {
    err_ << "\n";
  }
}

void ProgressDisplay::operator()(std::size_t done, std::size_t total) {
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

namespace {

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

std::size_t RowNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  return static_cast<std::size_t>(std::stoul(text));
}

}  // namespace

BatchCsvFile::BatchCsvFile(const std::string& path,
                           const std::optional<std::string>& encodingOption, std::ostream& err)
    : file_(path, kMaxCsvBytes),
      source_([this](char* buffer, std::size_t size) { return Serve(buffer, size); }) {
  if (const std::optional<csv::Encoding> given = EncodingOption(encodingOption)) {
    encoding_ = *given;
    pass_ = Pass::First;
    return;
  }
  const bool utf8 = csv::IsUtf8(source_);
  file_.Rewind();
  piece_.clear();
  served_ = 0;
  pass_ = Pass::First;
  if (!utf8) {
    encoding_ = csv::Encoding::Windows1252;
    err << "bvrslip batch: " << path
        << " is not UTF-8, read as Windows-1252 (--encoding utf-8 to refuse it)\n";
  }
}

void BatchCsvFile::Rewind() {
  file_.Rewind();
  piece_.clear();
  served_ = 0;
  pieceIndex_ = 0;
  pass_ = Pass::Second;
}

void BatchCsvFile::CheckUnchanged() {
  while (NextPiece()) {
  }
}

void BatchCsvFile::Changed() {
  throw EBvrError(std::string("CSV: the file changed while it was printed"));
}

std::size_t BatchCsvFile::Serve(char* buffer, std::size_t size) {
  if (served_ == piece_.size() && !NextPiece()) {
    return 0;
  }
  const std::size_t n = std::min(size, piece_.size() - served_);
  std::copy_n(piece_.data() + served_, n, buffer);
  served_ += n;
  return n;
}

// Reads the next piece whole; false at the end of the file.
bool BatchCsvFile::NextPiece() {
  constexpr std::size_t kPiece = 64 * 1024;
  piece_.resize(kPiece);
  std::size_t filled = 0;
  while (filled < kPiece) {
    const std::size_t n = file_.Read(piece_.data() + filled, kPiece - filled);
    if (n == 0) {
      break;
    }
    filled += n;
  }
  piece_.resize(filled);
  served_ = 0;
  if (pass_ == Pass::Detect) {
    return filled != 0;
  }
  if (filled == 0) {
    if (pass_ == Pass::Second && pieceIndex_ != digests_.size()) {
      Changed();  // shorter than it was
    }
    return false;
  }
  const QByteArray digest = QCryptographicHash::hash(
      QByteArrayView(piece_.data(), static_cast<qsizetype>(filled)), QCryptographicHash::Sha256);
  const std::string text = digest.toStdString();
  if (pass_ == Pass::First) {
    digests_.push_back(text);
  } else if (pieceIndex_ >= digests_.size() || digests_[pieceIndex_] != text) {
    Changed();
  }
  ++pieceIndex_;
  return true;
}

std::size_t RowSlice::Last(std::size_t total) const {
  if (from > total) {
    throw EBvrError(Fmt("--rows: the file has %d rows, none from row %d")
                        .d(static_cast<long long>(total))
                        .d(static_cast<long long>(from)));
  }
  return std::min(to, total);
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

BatchOutput::BatchOutput(const Options& options)
    : target_(PrintTargetOf(options)), path_(options.Value("-o").value_or("")) {
  if (path_.empty() && !target_) {
    throw UsageError("missing -o OUT.pdf or --printer NAME");
  }
  if (!target_ && !EndsWith(path_, ".pdf")) {
    throw UsageError("the output must end in .pdf");
  }
}

void BatchOutput::RefuseOverInputs(const std::vector<std::string>& inputs) const {
  if (!target_) {
    RefuseOutputOverInputs(path_, inputs);
  }
}

SlipOffset BatchOutput::PageOffset() const {
  return target_ ? SlipOffset{target_->offset.dx, target_->offset.dy} : SlipOffset{};
}

void BatchOutput::Write(const std::string& title, QSizeF paperMm,
                        const std::function<void(QIODevice&)>& write, std::ostream& out) const {
  if (target_) {
    const int job = PrintPdf({target_->queue, title, paperMm, target_->copies}, write);
    out << JobName(*target_, job) << "\n";
    return;
  }
  WriteFileAtomically(QString::fromStdString(path_), write);
  out << path_ << "\n";
}

qr::Bill ReadQrBatchTemplate(const std::string& path) {
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

void RefuseQrBatchRows(std::size_t total, const BatchProblems& problems) {
  if (total == 0) {
    throw EBvrError(std::string("CSV: no bill after the header"));
  }
  if (!problems.Empty()) {
    throw EBvrError(problems.Text());
  }
}

}  // namespace bvr::cli
