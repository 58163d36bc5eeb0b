// The live preview: receipt and payment part drawn by the bill's own report control (the code
// that draws the PDF), at the bill's true proportions, as large as the widget allows. While
// the bill has problems the last valid drawing stays, faded, under a note saying so.
#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

#include "qrbill/Bill.h"
#include "qrprint/PaymentPart.h"

namespace bvr {

// The bill drawn into an image width pixels wide (height half of it), white ground.
// EBillInvalid for a bill that cannot be printed.
QImage RenderBillImage(const qr::Bill& bill, const qr::PaymentPartOptions& options, int width);

class BillPreview : public QWidget {
  Q_OBJECT

 public:
  explicit BillPreview(QWidget* parent = nullptr);

  // The bill to show; problems: how many it has (none: it is drawn).
  void SetBill(const qr::Bill& bill, const qr::PaymentPartOptions& options, int problems);
  // The drawing shown (for tests and screenshots); null before the first valid bill.
  const QImage& Picture() const { return picture_; }
  bool Faded() const { return problems_ > 0; }

  QSize sizeHint() const override { return {700, 380}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return width / 2 + 40; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QRect BillRect() const;
  void Redraw();

  qr::Bill bill_;
  qr::PaymentPartOptions options_;
  int problems_ = 1;
  bool drawn_ = false;  // bill_ was drawn at least once
  QImage picture_;
};

}  // namespace bvr
