// Batch PDF against a baseline: 1,000 and 10,000 invoice pages through bvrslip's batch writer,
// and as many pages holding the same text items drawn straight through QPdfWriter, with the
// same allocator settings as the tool. Time per page should stay within 1.3x the baseline.
//
// Before the benchmarks, each size is also written by a child process of its own (this
// program re-run with --child), whose peak resident memory is read from wait4(): peak memory
// for 10,000 pages should stay within 1.1x that for 1,000, since no page is kept.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "batch/BatchPdf.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "print/UReportBVR.h"
#include "report/MemoryReuse.h"
#include "report/QtFont.h"
#include "report/QtTextMeasure.h"

namespace {

// Payment i of a batch, made when the writer asks for it: like the tool reading its CSV in a
// second pass, the batch never holds its rows, so peak memory shows the writer's own.
bvr::Payment MakePayment(int i) {
  bvr::Payment p;
  p.row = static_cast<std::size_t>(i + 1);
  p.invoice = std::to_string(100000 + i);
  p.amount = 100.0 + i % 900 + 0.05;
  p.payer = {"Monsieur", "Jean Dupont", "Chemin des Vignes " + std::to_string(i % 97),
             "2000 Neuchâtel"};
  return p;
}

void WriteBatch(const QString& path, int pages) {
  bvr::TBvrProperties layout;
  bvr::LoadDemonstrationLayout(layout);
  int next = 0;
  bvr::WriteBatchPdfFile(path.toStdString(), layout, static_cast<std::size_t>(pages),
                         [&next, pages](bvr::Payment& p) {
                           if (next == pages) {
                             return false;
                           }
                           p = MakePayment(next++);
                           return true;
                         },
                         {});
}

// The text items of one invoice page: what the report draws, recorded in tenths of a mm.
struct TextItem {
  QPointF at;  // baseline origin, tenths of a mm
  QString text;
  int font;  // index into the fonts
};

void WriteBaseline(const QString& path, int pages) {
  bvr::TBvrProperties layout;
  bvr::LoadDemonstrationLayout(layout);
  bvr::TFormReportBVR report;
  report.VYKqrBVR.SetBvrProperties(&layout);
  report.VYKqrBVR.SetPayment(bvr::DemonstrationPayment());
  bvr::QtRecordingCanvas recording;
  bvr::TQRPrinter recorder(recording, 1.0, 1.0);
  report.QuickRepSample.PrintBands(recorder);

  QSaveFile file(path);
  file.open(QIODevice::WriteOnly);
  QPdfWriter writer(&file);
  writer.setResolution(1200);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter(&writer);
  const double scale = 1200.0 / 254.0;
  std::vector<QFont> fonts;
  std::vector<double> ascents;
  std::vector<TextItem> items;
  for (const bvr::CanvasOp& op : recording.Ops()) {
    if (op.kind != bvr::CanvasOp::Kind::Text && op.kind != bvr::CanvasOp::Kind::ClippedText) {
      continue;
    }
    // Each face once, set only when it changes: the floor does no more than it must.
    const QFont font = bvr::ToQFont(op.Font);
    auto known = std::find(fonts.begin(), fonts.end(), font);
    if (known == fonts.end()) {
      fonts.push_back(font);
      ascents.push_back(QFontMetricsF(font, &writer).ascent());
      known = fonts.end() - 1;
    }
    items.push_back({QPointF(op.X1, op.Y1), QString::fromStdString(op.Text),
                     static_cast<int>(known - fonts.begin())});
  }
  for (int page = 0; page < pages; ++page) {
    if (page > 0) {
      writer.newPage();
    }
    int current = -1;
    for (const TextItem& item : items) {
      if (item.font != current) {
        painter.setFont(fonts[static_cast<std::size_t>(item.font)]);
        current = item.font;
      }
      painter.drawText(QPointF(item.at.x() * scale,
                               item.at.y() * scale + ascents[static_cast<std::size_t>(item.font)]),
                       item.text);
    }
  }
  painter.end();
  file.commit();
}

void BM_BatchInvoicePages(benchmark::State& state) {
  QTemporaryDir dir;
  const int pages = static_cast<int>(state.range(0));
  for (auto _ : state) {
    WriteBatch(dir.filePath("batch.pdf"), pages);
  }
  state.counters["per_page"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void BM_BaselineQPdfWriter(benchmark::State& state) {
  QTemporaryDir dir;
  const int pages = static_cast<int>(state.range(0));
  for (auto _ : state) {
    WriteBaseline(dir.filePath("baseline.pdf"), pages);
  }
  state.counters["per_page"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

BENCHMARK(BM_BatchInvoicePages)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineQPdfWriter)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Peak resident memory of this program re-run as a child that writes the pages, kilobytes.
long ChildPeakKb(const char* self, const char* what, int pages) {
  const pid_t pid = fork();
  if (pid == 0) {
    const std::string count = std::to_string(pages);
    execl(self, self, "--child", what, count.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return -1;
  }
  return usage.ru_maxrss;
}

int RunChild(const char* what, int pages) {
  static int argc = 1;
  static char name[] = "batch_bench";
  static char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  bvr::InstallFontSubstitutions();
  QTemporaryDir dir;
  if (std::strcmp(what, "batch") == 0) {
    WriteBatch(dir.filePath("batch.pdf"), pages);
  } else {
    WriteBaseline(dir.filePath("baseline.pdf"), pages);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // As bvrslip does: a floor that pays for glibc's defaults would flatter the tool.
  bvr::KeepFreedMemoryForReuse();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
    return RunChild(argv[2], std::atoi(argv[3]));
  }
  // Memory first, before this process holds any Qt state.
  for (const char* what : {"batch", "baseline"}) {
    const long small = ChildPeakKb("/proc/self/exe", what, 1000);
    const long large = ChildPeakKb("/proc/self/exe", what, 10000);
    std::printf("peak RSS %-8s 1,000 pages: %ld KB   10,000 pages: %ld KB   ratio %.3f\n", what,
                small, large,
                small > 0 ? static_cast<double>(large) / static_cast<double>(small) : 0.0);
  }
  std::fflush(stdout);

  QGuiApplication app(argc, argv);
  bvr::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
