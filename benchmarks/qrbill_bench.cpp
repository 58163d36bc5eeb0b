// The QR-bill's payment part: laid out and measured on a recording canvas with the installed
// faces, and written as a one-page PDF (210 x 105 mm) through the report's PDF output.
// Run: build/default/bin/qrbill_bench.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>

#include "print/QrBillReport.h"
#include "qrbill/Payload.h"
#include "qrbill/QrSymbol.h"
#include "qrprint/BillLayout.h"
#include "report/QtFont.h"
#include "report/QtTextMeasure.h"

namespace {

bvr::qr::Bill SampleBill() {
  bvr::qr::Bill bill;
  bill.account = "CH4431999123000889012";
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.amount = "1949.75";
  bill.currency = "CHF";
  bill.debtor = bvr::qr::Address{
      "Pia-Maria Rutschmann-Schnyder", "Grosse Marktgasse", "28", "9400", "Rorschach", "CH"};
  bill.referenceType = bvr::qr::ReferenceType::QRR;
  bill.reference = "210000000003139471430009017";
  bill.message = "Auftrag vom 15.06.2020";
  return bill;
}

// Validation, fitting, symbol and every drawing call, recorded.
void BM_DrawOnRecordingCanvas(benchmark::State& state) {
  const bvr::qr::Bill bill = SampleBill();
  bvr::QtRecordingCanvas canvas;
  for (auto _ : state) {
    canvas.Clear();
    bvr::qr::DrawPaymentPart(canvas, bill, 0, 0);
    benchmark::DoNotOptimize(canvas.Ops().data());
  }
}
BENCHMARK(BM_DrawOnRecordingCanvas)->Unit(benchmark::kMicrosecond);

// The texts' layout alone, measured with the installed faces: no symbol, nothing drawn.
void BM_LayOut(benchmark::State& state) {
  const bvr::qr::Bill bill = SampleBill();
  const bvr::QtTextMeasure measure;
  const bvr::qr::TextFitter fitter(measure, "Arial");
  for (auto _ : state) {
    benchmark::DoNotOptimize(bvr::qr::LayOutBill(bill, fitter).texts.size());
  }
}
BENCHMARK(BM_LayOut)->Unit(benchmark::kMicrosecond);

// The symbol alone: QR Code text and module matrix.
void BM_Symbol(benchmark::State& state) {
  const std::string payload = bvr::qr::BuildQrPayload(SampleBill());
  for (auto _ : state) {
    benchmark::DoNotOptimize(bvr::qr::MakeQrSymbol(payload).Size());
  }
}
BENCHMARK(BM_Symbol)->Unit(benchmark::kMicrosecond);

// A whole PDF file per bill: writer set-up, the page, the embedded faces.
void BM_OneBillPdf(benchmark::State& state) {
  bvr::TQrBillReport report(bvr::QrBillPage::Bill);
  report.QrBill.Bill = SampleBill();
  std::size_t bytes = 0;
  for (auto _ : state) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    report.QuickRep.ExportToPdf(buffer);
    bytes = static_cast<std::size_t>(pdf.size());
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_OneBillPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  bvr::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
