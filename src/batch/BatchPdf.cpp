#include "batch/BatchPdf.h"

#include <QByteArray>
#include <QIODevice>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "batch/StreamReplace.h"
#include "designer/SlipFormPicture.h"
#include "model/Zones.h"
#include "print/UReportBVR.h"
#include "report/AtomicFile.h"
#include "report/QtFont.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {

// Qt 6.4 writes each page's MediaBox in whole points (595 x 300 for the slip form's 595.28 x
// 299.91) and draws from that rounded top edge down. The box is rewritten on its way to the
// file with the exact width and height and the same top edge, in as many bytes, so that the
// content stays in place and the file's offsets stay valid.
class ExactMediaBox final : public QIODevice {
 public:
  // exact: the page size in points, which Qt keeps only rounded.
  ExactMediaBox(QIODevice& target, const QPageLayout& layout, QSizeF exact)
      : target_(target), replace_(Rounded(layout), Exact(layout, exact)) {
    open(QIODevice::WriteOnly);
  }
  bool isSequential() const override { return true; }
  // Passes on what is held back; false when the target refused bytes.
  bool Finish() { return Pass(replace_.Finish()) && ok_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (!Pass(replace_.Feed(std::string_view(data, static_cast<std::size_t>(size))))) {
      ok_ = false;
      return -1;
    }
    return size;
  }

 private:
  static std::string Rounded(const QPageLayout& layout) {
    const QRect r = layout.fullRectPoints();
    return "/MediaBox [0 0 " +
           QByteArray::number(static_cast<double>(r.width()), 'f').toStdString() + " " +
           QByteArray::number(static_cast<double>(r.height()), 'f').toStdString() + "]";
  }
  static std::string Exact(const QPageLayout& layout, QSizeF exact) {
    const int top = layout.fullRectPoints().height();
    std::string box =
        "/MediaBox [0 " + QByteArray::number(top - exact.height(), 'f', 5).toStdString() + " " +
        QByteArray::number(exact.width(), 'f', 5).toStdString() + " " + std::to_string(top) + "]";
    // Never longer than what it replaces: then the rounded box stays.
    return box.size() <= Rounded(layout).size() ? box : Rounded(layout);
  }
  bool Pass(const std::string& bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    return size == 0 || target_.write(bytes.data(), size) == size;
  }

  QIODevice& target_;
  StreamReplace replace_;
  bool ok_ = true;
};

}  // namespace

double BatchPageWidthMm(BatchPage page) {
  return page == BatchPage::Invoice ? 210.0 : kSlipWidth / 10.0;
}

double BatchPageHeightMm(BatchPage page) {
  return page == BatchPage::Invoice ? 297.0 : kSlipHeight / 10.0;
}

void WriteBatchPdf(QIODevice& device, TBvrProperties& layout, const std::vector<Payment>& payments,
                   const BatchSettings& settings, const BatchProgress& progress) {
  // Without it "OCR-B" silently falls back to a face no bank reader reads.
  InstallFontSubstitutions();
  // One report for the whole batch: fonts, metrics and the layout link are set up once and
  // only the payment changes from page to page.
  TFormReportBVR report;
  TVYKqrBVR& slip = report.VYKqrBVR;
  slip.SetBvrProperties(&layout);
  slip.SetSettingMode(settings.settingMode);
  slip.SlipOffsetX = settings.offset.dx;
  slip.SlipOffsetY = settings.offset.dy;
  if (settings.withForm) {
    // Vector drawing at the writer's resolution, never a scaled bitmap.
    report.SlipBackground = [](QPainter& painter, const QRectF& slipRect) {
      PaintSlipForm(painter, slipRect);
    };
  }

  const QPageLayout pageLayout(
      QPageSize(QSizeF(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page)),
                QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
  constexpr double kPointsPerMm = 72.0 / 25.4;
  ExactMediaBox exactDevice(device, pageLayout,
                            QSizeF(BatchPageWidthMm(settings.page) * kPointsPerMm,
                                   BatchPageHeightMm(settings.page) * kPointsPerMm));
  QPdfWriter writer(&exactDevice);
  writer.setResolution(settings.dpi);
  // Exact: a fuzzy match would round the slip's odd size to some standard paper.
  writer.setPageSize(
      QPageSize(QSizeF(BatchPageWidthMm(settings.page), BatchPageHeightMm(settings.page)),
                QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setTitle(QString::fromStdString(report.Caption));
  writer.setCreator(QStringLiteral("bvrslip"));

  QPainter painter(&writer);
  const std::size_t total = payments.size();
  for (std::size_t i = 0; i < total; ++i) {
    const Payment& payment = payments[i];
    if (i > 0) {
      writer.newPage();
    }
    slip.SetAmount(payment.amount);
    slip.Reference().InternalNumber = payment.invoice;
    slip.SetPayedBy(payment.payer);
    if (settings.page == BatchPage::Invoice) {
      report.PaintPage(painter);
    } else {
      report.PaintSlipPage(painter);
    }
    if (progress) {
      progress(i + 1, total);
    }
  }
  painter.end();
  if (!exactDevice.Finish()) {
    throw EBvrError(std::string("Cannot write the PDF: the output refused data"));
  }
}

void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout,
                       const std::vector<Payment>& payments, const BatchSettings& settings,
                       const BatchProgress& progress) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& file) {
    WriteBatchPdf(file, layout, payments, settings, progress);
  });
}

}  // namespace bvr
