#include "print/SlipFormPicture.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>

namespace bvr {

namespace {

// Everything below is in slip units: tenths of a millimetre from the top-left corner.
constexpr double kWidth = 2100;
constexpr double kHeight = 1058;
constexpr double kReceiptRight = 605;  // the perforation between receipt and payment part
constexpr double kHalfDivide = 1200;   // payment part: creditor/amount | reference/payer
constexpr double kBandTop = 830;       // white band that carries the coding line

const QColor kBackground(253, 218, 178);
const QColor kField(255, 234, 210);
const QColor kInk(222, 112, 36);
const QColor kText(128, 52, 12);

class FormPainter {
 public:
  FormPainter(QPainter& p, double unitsPerPixel) : p_(p), unitsPerPixel_(unitsPerPixel) {}

  // A line of at least one device pixel, so that a small picture keeps visible strokes while
  // a printer at high resolution gets the true width.
  QPen Pen(double width, Qt::PenStyle style = Qt::SolidLine) const {
    QPen pen(kInk, std::max(width, unitsPerPixel_), style, Qt::FlatCap, Qt::MiterJoin);
    return pen;
  }

  void Field(const QRectF& r, double border) {
    p_.setPen(Pen(border));
    p_.setBrush(kField);
    p_.drawRect(r);
  }

  void Text(double x, double baseline, int height, const QString& text, bool bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(height);
    font.setBold(bold);
    p_.setFont(font);
    p_.setPen(kText);
    p_.drawText(QPointF(x, baseline), text);
  }

  // Francs box, a printed dot, centimes box; faint ticks mark the digit cells.
  void AmountBoxes(double left, double francsRight, double centsLeft, double right) {
    const double top = 495;
    const double bottom = 588;
    Field(QRectF(QPointF(left, top), QPointF(francsRight, bottom)), 5);
    Field(QRectF(QPointF(centsLeft, top), QPointF(right, bottom)), 5);
    p_.setPen(Pen(2));
    const double cell = (francsRight - left) / 8;
    for (int i = 1; i < 8; ++i) {
      const double x = left + i * cell;
      p_.drawLine(QPointF(x, bottom - 14), QPointF(x, bottom));
    }
    const double mid = (centsLeft + right) / 2;
    p_.drawLine(QPointF(mid, bottom - 14), QPointF(mid, bottom));
    p_.setPen(Qt::NoPen);
    p_.setBrush(kInk);
    p_.drawEllipse(QPointF((francsRight + centsLeft) / 2, bottom - 12), 7, 7);
    Text(left + 8, top + 30, 26, QStringLiteral("CHF"));
  }

  // Corner brackets that mark the payer's address area.
  void Brackets(const QRectF& r, double arm) {
    p_.setPen(Pen(5));
    p_.setBrush(Qt::NoBrush);
    const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    const QPointF dirs[4] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int i = 0; i < 4; ++i) {
      const QPointF c = corners[i];
      p_.drawLine(c, c + QPointF(dirs[i].x() * arm, 0));
      p_.drawLine(c, c + QPointF(0, dirs[i].y() * arm));
    }
  }

  void Receipt() {
    Text(25, 40, 38, QStringLiteral("Récépissé"), true);
    Text(25, 72, 28, QStringLiteral("Versement pour"));
    Field(QRectF(QPointF(15, 78), QPointF(590, 385)), 3);
    Text(25, 452, 30, QStringLiteral("Compte"));
    Field(QRectF(QPointF(250, 392), QPointF(590, 485)), 3);
    AmountBoxes(15, 430, 475, 590);
    Text(25, 678, 28, QStringLiteral("Versement par"));  // below the reference line
    p_.setPen(Pen(4, Qt::DashLine));
    p_.setBrush(Qt::NoBrush);
    p_.drawEllipse(QPointF(115, 972), 72, 72);
    Text(200, 1030, 26, QStringLiteral("L'office de dépôt"));
  }

  void PaymentLeft() {
    Text(630, 40, 38, QStringLiteral("Versement"), true);
    Text(630, 72, 28, QStringLiteral("Versement pour"));
    Field(QRectF(QPointF(625, 78), QPointF(1190, 385)), 3);
    Text(635, 452, 30, QStringLiteral("Compte"));
    Field(QRectF(QPointF(850, 392), QPointF(1190, 485)), 3);
    AmountBoxes(625, 1040, 1085, 1190);
  }

  void PaymentRight() {
    Text(1230, 40, 38, QStringLiteral("Virement"), true);
    Text(1230, 72, 28, QStringLiteral("Communications"));
    Field(QRectF(QPointF(1225, 78), QPointF(2075, 290)), 3);
    Text(1230, 314, 28, QStringLiteral("Référence"));
    Field(QRectF(QPointF(1220, 320), QPointF(2075, 420)), 5);
    Text(1230, 492, 28, QStringLiteral("Versement par"));
    Brackets(QRectF(QPointF(1225, 500), QPointF(2075, 815)), 40);
  }

  void Frame() {
    p_.fillRect(QRectF(0, 0, kWidth, kHeight), kBackground);
    p_.fillRect(QRectF(QPointF(kReceiptRight, kBandTop), QPointF(kWidth, kHeight)), Qt::white);
    p_.setPen(Pen(3, Qt::DashLine));
    p_.drawLine(QPointF(kReceiptRight, 0), QPointF(kReceiptRight, kHeight));
    p_.setPen(Pen(2));
    p_.drawLine(QPointF(kHalfDivide, 20), QPointF(kHalfDivide, kBandTop - 20));
  }

 private:
  QPainter& p_;
  double unitsPerPixel_;
};

}  // namespace

void PaintSlipForm(QPainter& painter, const QRectF& target) {
  if (target.width() <= 0 || target.height() <= 0) {
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setClipRect(target, Qt::IntersectClip);
  painter.translate(target.topLeft());
  painter.scale(target.width() / kWidth, target.height() / kHeight);
  // Device pixels per slip unit, through whatever transform the caller had set up.
  const double pixelsPerUnit = std::max(painter.worldTransform().map(QLineF(0, 0, 1, 0)).length(),
                                        painter.worldTransform().map(QLineF(0, 0, 0, 1)).length());
  FormPainter form(painter, pixelsPerUnit > 0 ? 1.0 / pixelsPerUnit : 1.0);
  form.Frame();
  form.Receipt();
  form.PaymentLeft();
  form.PaymentRight();
  painter.restore();
}

}  // namespace bvr
