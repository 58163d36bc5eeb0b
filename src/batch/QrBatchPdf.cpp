#include "batch/QrBatchPdf.h"

#include <QIODevice>
#include <QString>
#include <deque>
#include <future>
#include <optional>

#include "batch/PageLoop.h"
#include "qrbill/Payload.h"
#include "qrbill/QrSymbol.h"
#include "report/CanvasPdfWriter.h"

namespace bvr {

QSizeF QrBatchPaperMm(QrBillPage page) {
  return TQrBillReport(page).PaperMm();
}

namespace {

// The next bills with their symbols, made ahead on other threads while the pages are drawn:
// choosing a symbol's mask is a third of a bill's time and needs nothing of Qt. A few bills
// ahead are enough to keep the page writer busy, and memory stays flat.
class BillsAhead {
 public:
  static constexpr std::size_t kAhead = 4;

  BillsAhead(const QrBillSource& next, std::size_t total) : next_(next), total_(total) {}

  // The next bill and its symbol; false when the source gave fewer than total.
  bool Take(qr::Bill& bill, std::optional<qr::QrSymbol>& symbol) {
    while (ahead_.size() < kAhead && taken_ < total_) {
      Entry entry;
      if (!next_(entry.bill)) {
        break;
      }
      ++taken_;
      entry.symbol = std::async(std::launch::async, [payload = qr::BuildQrPayload(entry.bill)] {
        return qr::MakeQrSymbol(payload);
      });
      ahead_.push_back(std::move(entry));
    }
    if (ahead_.empty()) {
      return false;
    }
    bill = std::move(ahead_.front().bill);
    symbol.emplace(ahead_.front().symbol.get());
    ahead_.pop_front();
    return true;
  }

 private:
  struct Entry {
    qr::Bill bill;
    std::future<qr::QrSymbol> symbol;
  };
  const QrBillSource& next_;
  std::size_t total_;
  std::size_t taken_ = 0;
  std::deque<Entry> ahead_;
};

}  // namespace

void WriteQrBatchPdf(QIODevice& device, std::size_t total, const QrBillSource& next,
                     const QrBatchSettings& settings, const BatchProgress& progress) {
  // One report for the whole batch: only the bill changes from page to page.
  TQrBillReport report(settings.page);
  report.QrBill.Options.separators = settings.separators;
  if (settings.lineAboveBillPage) {
    report.QrBill.Options.lineAbove = true;
  }
  report.SampleHeading = settings.sampleHeading;
  CanvasPdfWriter writer(device, report.PaperMm(), "QR-factures");
  writer.SetPageOffset(settings.pageOffset.dx, settings.pageOffset.dy);
  BillsAhead bills(next, total);
  std::optional<qr::QrSymbol> symbol;
  const auto paint = [&](ICanvas& canvas) {
    if (!bills.Take(report.QrBill.Bill, symbol)) {
      return false;
    }
    report.QrBill.Options.symbol = &*symbol;
    report.MatchBill();
    report.QuickRep.PaintPage(canvas);
    report.QrBill.Options.symbol = nullptr;
    return true;
  };
  const auto more = [&] {
    qr::Bill extra;
    return next(extra);
  };
  WritePages(writer, total, paint, more, progress);
}

}  // namespace bvr
