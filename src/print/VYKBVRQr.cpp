#include "print/VYKBVRQr.h"

#include <array>

#include "draw/SlipCanvas.h"
#include "draw/SlipDrawing.h"
#include "strings/BvrError.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

void TReferenceValue::Assign(const TPersistent& source) {
  const auto* value = dynamic_cast<const TReferenceValue*>(&source);
  if (value == nullptr) {
    AssignError(source);
  }
  InternalNumber = value->InternalNumber;
}

std::span<const PropInfo> TReferenceValue::Properties() const {
  static const std::array props = {PropInfo{
      .name = "InternalNumber",
      .kind = PropKind::String,
      .getString =
          [](const TPersistent& p) {
            return static_cast<const TReferenceValue&>(p).InternalNumber;
          },
      .setString =
          [](TPersistent& p, const std::string& v) {
            static_cast<TReferenceValue&>(p).InternalNumber = v;
          },
  }};
  return props;
}

namespace {
// The control's size at creation: 794 x 411 screen pixels at 96 pixels per inch.
constexpr double kScreenPixel = 254.0 / 96.0;
}  // namespace

TVYKqrBVR::TVYKqrBVR()
    : reference_(std::make_unique<TReferenceValue>()),
      payedBy_(std::make_unique<std::vector<std::string>>()) {
  AutoSize = false;
  Size.Height = 411 * kScreenPixel;
  Size.Width = 794 * kScreenPixel;
}

TVYKqrBVR::~TVYKqrBVR() {
  reference_.reset();
  payedBy_.reset();
}

void TVYKqrBVR::GetPaymentValues(std::vector<std::string>& lines, double& amount,
                                 std::string& internalNumber) const {
  lines = *payedBy_;
  amount = amount_;
  internalNumber = reference_->InternalNumber;
}

PaymentValues TVYKqrBVR::Payment() const {
  PaymentValues payment;
  GetPaymentValues(payment.PayerLines, payment.Amount, payment.InternalNumber);
  return payment;
}

void TVYKqrBVR::SetPayment(const PaymentValues& payment) {
  *payedBy_ = payment.PayerLines;
  amount_ = payment.Amount;
  reference_->InternalNumber = payment.InternalNumber;
}

void TVYKqrBVR::Paint(ICanvas& canvas) {
  TQRCustomLabel::Paint(canvas);
  canvas.MoveTo(0, 0);
  canvas.TextOut(50, 30, "BVR Component");
  canvas.TextOut(50, 50, "Version 1.5");
  canvas.TextOut(50, 70, "Bulletin de versement orange avec référence");
  canvas.TextOut(50, 90, "Imprime sur formulaires pré-imprimés");
  canvas.TextOut(50, 110, "Réglage : mode \"mise au point\"");
}

void TVYKqrBVR::Print(double offsetX, double offsetY) {
  TQRPrinter* printer = QRPrinter();
  if (printer == nullptr) {
    return;
  }
  const TBvrProperties* layout = BvrProperties();
  if (layout == nullptr) {
    // A page without its slip must not reach a pre-printed form unnoticed.
    throw EBvrError(std::string(LoadResString(SNoSlipLayout)));
  }
  const PaymentValues payment = Payment();
  TSlipCanvas slip(*printer, SlipOriginX(offsetX), SlipOriginY(offsetY));
  if (SettingMode()) {
    DrawSettingOverlay(slip, *layout, Size.Width, Size.Height);
  } else {
    DrawSlip(slip, *layout, payment);
  }
}

}  // namespace bvr
