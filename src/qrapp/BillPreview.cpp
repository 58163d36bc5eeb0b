#include "qrapp/BillPreview.h"

#include <QPainter>
#include <QPainterPath>

#include "print/QrBillReport.h"
#include "report/PageWriter.h"
#include "report/QPainterCanvas.h"

namespace bvr {

namespace {

constexpr int kMargin = 12;
constexpr double kBillWidthMm = qr::kBillWidth / 10.0;
constexpr double kBillHeightMm = qr::kBillHeight / 10.0;
// Below about 150 dpi the 6 pt texts are five pixels high and each glyph snaps to its own
// pixel, which opens gaps inside words; the bill is drawn at least this wide and scaled down.
constexpr int kLeastDrawnWidth = 1240;

}  // namespace

QImage RenderBillImage(const qr::Bill& bill, const qr::PaymentPartOptions& options, int width) {
  const int drawn = std::max(width, kLeastDrawnWidth);
  // The resolution that makes the bill's 210 mm width pixels wide.
  const int dpi = std::max(1, static_cast<int>(drawn * 25.4 / kBillWidthMm));
  ImagePageWriter page(QSizeF(kBillWidthMm, kBillHeightMm), dpi);
  QPainter& painter = page.BeginPage();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  {
    QPainterCanvas canvas(painter);
    TQRQrBill control;  // the control the report prints
    control.Bill = bill;
    control.Options = options;
    control.Paint(canvas);
  }
  page.Finish();
  if (drawn == width) {
    return page.Image();
  }
  return page.Image().scaledToWidth(std::max(1, width), Qt::SmoothTransformation);
}

BillPreview::BillPreview(QWidget* parent) : QWidget(parent) {
  setObjectName("preview");
  setMinimumSize(420, 230);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BillPreview::SetBill(const qr::Bill& bill, const qr::PaymentPartOptions& options,
                          int problems) {
  problems_ = problems;
  if (problems == 0) {
    bill_ = bill;
    options_ = options;
    drawn_ = true;
    Redraw();
  }
  update();
}

QRect BillPreview::BillRect() const {
  const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  int width = area.width();
  int height = width / 2;
  if (height > area.height()) {
    height = area.height();
    width = height * 2;
  }
  return {area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2,
          width, height};
}

void BillPreview::Redraw() {
  if (!drawn_) {
    return;
  }
  const qreal ratio = devicePixelRatioF();
  picture_ = RenderBillImage(bill_, options_, static_cast<int>(BillRect().width() * ratio));
  picture_.setDevicePixelRatio(ratio);
}

void BillPreview::resizeEvent(QResizeEvent*) {
  Redraw();
}

void BillPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Mid));
  const QRect target = BillRect();
  painter.fillRect(target, Qt::white);
  if (!picture_.isNull()) {
    painter.setOpacity(problems_ > 0 ? 0.25 : 1.0);
    painter.drawImage(target, picture_);
    painter.setOpacity(1.0);
  }
  if (problems_ > 0) {
    const QString note =
        picture_.isNull()
            ? QString("La facture s'affichera ici dès que ses champs seront complets.")
            : QString("Aperçu de la dernière facture valable : corrigez %1 problème%2.")
                  .arg(problems_)
                  .arg(problems_ > 1 ? "s" : "");
    painter.setPen(QColor(0xb0, 0, 0));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(target.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, note);
  }
}

}  // namespace bvr
