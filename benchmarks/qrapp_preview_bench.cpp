// The QR-bill window's redraw after a keystroke: the bill checked by the rules and drawn
// (laid out, long texts fitted) into the preview's picture, for a long bill, at the preview's
// width in a 1024 x 700 window and in full HD. Target: within 30 ms.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "qrapp/BillPreview.h"
#include "qrbill/References.h"
#include "qrbill/Validation.h"
#include "qrprint/PaymentPart.h"

namespace {

// Every element present, both addresses on two lines, texts long enough that the layout has
// to fit them.
bvr::qr::Bill LongestBill() {
  bvr::qr::Bill bill;
  bill.account = "CH44 3199 9123 0008 8901 2";
  bill.creditor = {"Association des amis de la musique ancienne du Val-de-Travers",
                   "Chemin des Grands-Champs-de-la-Montagne-Derrière",
                   "1234b",
                   "2108",
                   "Couvet-Val-de-Travers",
                   "CH"};
  bill.debtor = bvr::qr::Address{"Fondation pour le patrimoine rural neuchâtelois",
                                 "Route de la Vue-des-Alpes",
                                 "112a",
                                 "2052",
                                 "Fontainemelon",
                                 "CH"};
  bill.amount = "999999999.99";
  bill.currency = "CHF";
  bill.referenceType = bvr::qr::ReferenceType::QRR;
  bill.reference = "21 00000 00003 13947 14300 09017";
  bill.message = "Cotisation 2027 et participation aux frais du concert du printemps, merci";
  bill.billing = "//S1/10/10201409/11/190512/20/1400.000-53/30/106017086";
  bill.alternatives = {"eBill/B/41010560425610173", "Name AV2: UV;UltraPay005;12345"};
  return bill;
}

void PreviewRedraw(benchmark::State& state) {
  const bvr::qr::Bill bill = LongestBill();
  if (!bvr::qr::ValidateBill(bill).empty()) {
    state.SkipWithError("the long bill breaks a rule");
    return;
  }
  const int width = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(bvr::qr::ValidateBill(bill));
    benchmark::DoNotOptimize(bvr::RenderBillImage(bill, {}, width));
  }
}
// 560: the preview's width in a 1024 x 700 window; 1300: in full HD.
BENCHMARK(PreviewRedraw)->Arg(560)->Arg(1300)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
