#include "report/QuickRep.h"

#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "numbers/Conversions.h"
#include "report/PageWriter.h"
#include "report/QPainterCanvas.h"
#include "report/QtTextMeasure.h"
#include "strings/BvrError.h"

namespace bvr {

TQuickRep* TQRPrintable::ParentReport() const {
  return band_ != nullptr ? band_->ParentReport() : nullptr;
}

TQRPrinter* TQRPrintable::QRPrinter() const {
  TQuickRep* report = ParentReport();
  return report != nullptr ? report->QRPrinter() : nullptr;
}

std::vector<std::string> TQRCustomLabel::Lines(ICanvas& canvas, double width) const {
  if (AutoSize || !WordWrap) {
    return {Caption};
  }
  // Greedy wrap at blanks; a word wider than the label stays whole on its own line.
  std::vector<std::string> lines;
  std::string line;
  std::size_t pos = 0;
  while (pos <= Caption.size()) {
    std::size_t end = Caption.find(' ', pos);
    if (end == std::string::npos) {
      end = Caption.size();
    }
    const std::string word = Caption.substr(pos, end - pos);
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && canvas.TextWidth(candidate) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
    pos = end + 1;
  }
  lines.push_back(line);
  return lines;
}

void TQRCustomLabel::Print(double offsetX, double offsetY) {
  TQRPrinter* printer = QRPrinter();
  if (printer == nullptr) {
    return;
  }
  ICanvas& canvas = printer->Canvas();
  const BrushStyle brush = canvas.GetBrushStyle();
  const TColor brushColor = canvas.BrushColor();
  canvas.SetFont(Font);
  const double x = printer->XPos(offsetX + Size.Left);
  const double y = printer->YPos(offsetY + Size.Top);
  const std::vector<std::string> lines = Lines(canvas, printer->XSize(Size.Width));
  const double lineHeight = canvas.TextHeight("Ag");
  double width = printer->XSize(Size.Width);
  if (AutoSize) {
    width = canvas.TextWidth(Caption);
  }
  const double height =
      std::max(printer->YSize(Size.Height), lineHeight * static_cast<double>(lines.size()));
  if (!Transparent) {
    canvas.SetBrushColor(Color);
  } else {
    canvas.SetBrushStyle(BrushStyle::Clear);
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const double top = y + lineHeight * static_cast<double>(i);
    canvas.TextRect({x, top, x + width, std::min(top + lineHeight, y + height)}, x, top, lines[i]);
  }
  // The fill is the label's own business: leave the canvas as it was.
  canvas.SetBrushColor(brushColor);
  canvas.SetBrushStyle(brush);
}

void TQRCustomLabel::Paint(ICanvas& canvas) {
  canvas.SetFont(Font);
  canvas.TextOut(0, 0, Caption);
}

void TQRBand::Add(TQRPrintable& control) {
  control.band_ = this;
  controls_.push_back(&control);
}

void TQuickRep::AddBand(TQRBand& band) {
  band.report_ = this;
  bands_.push_back(&band);
}

double TQuickRep::BandTop(const TQRBand& band) const {
  if (band.BandType == TQRBandType::rbPageFooter) {
    return PaperLength - Margins.Bottom - band.Height;
  }
  double top = Margins.Top;
  // Header bands first, then detail bands, each in the order they were added.
  for (TQRBandType type : {TQRBandType::rbPageHeader, TQRBandType::rbDetail}) {
    for (const TQRBand* b : bands_) {
      if (b->BandType != type) {
        continue;
      }
      if (b == &band) {
        return top;
      }
      top += b->Height;
    }
  }
  return top;
}

void TQuickRep::PrintBands(TQRPrinter& printer) {
  struct Producing {
    TQRPrinter*& slot;
    ~Producing() { slot = nullptr; }
  } producing{printer_};
  printer_ = &printer;
  for (TQRBandType type :
       {TQRBandType::rbPageHeader, TQRBandType::rbDetail, TQRBandType::rbPageFooter}) {
    for (TQRBand* band : bands_) {
      if (band->BandType != type) {
        continue;
      }
      // White bands are the paper itself: nothing is painted, so a pre-printed form or a
      // picture behind the page stays visible.
      for (TQRPrintable* control : band->Controls()) {
        control->Print(BandLeft(), BandTop(*band));
      }
    }
  }
}

void TQuickRep::Produce(QPainter& painter, const std::function<void(const TQRPrinter&)>& before,
                        const std::function<void(TQRPrinter&)>& content) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QPainterCanvas canvas(painter);
  const QPaintDevice* device = painter.device();
  TQRPrinter printer(canvas, UnitsPerTenth(device->logicalDpiX()),
                     UnitsPerTenth(device->logicalDpiY()));
  if (before) {
    before(printer);
  }
  content(printer);
}

void TQuickRep::PaintPage(QPainter& painter) {
  Produce(painter, BeforePrintBands, [this](TQRPrinter& printer) { PrintBands(printer); });
}

void TQuickRep::PaintPage(ICanvas& canvas) {
  const double scale = UnitsPerTenth(canvas.PixelsPerInch());
  TQRPrinter printer(canvas, scale, scale);
  if (BeforePrintBands) {
    BeforePrintBands(printer);
  }
  PrintBands(printer);
}

void TQuickRep::PaintControl(QPainter& painter, TQRPrintable& control, double bandLeft,
                             double bandTop, const std::function<void(const TQRPrinter&)>& before) {
  Produce(painter, before, [&](TQRPrinter& printer) {
    struct Producing {
      TQRPrinter*& slot;
      ~Producing() { slot = nullptr; }
    } producing{printer_};
    printer_ = &printer;
    control.Print(bandLeft, bandTop);
  });
}

void TQuickRep::DryRun() {
  QtRecordingCanvas canvas;
  TQRPrinter printer(canvas, 1.0, 1.0);
  PrintBands(printer);
}

void TQuickRep::ExportToPdf(QIODevice& device, int dpi, QPointF pageOffset) {
  PdfPageWriter writer(device, QSizeF(PaperWidth / 10.0, PaperLength / 10.0), dpi,
                       QString::fromStdString(ReportTitle));
  writer.SetPageOffset(pageOffset.x(), pageOffset.y());
  PaintPage(writer.BeginPage());
  writer.Finish();
}

QImage TQuickRep::RenderToImage(int dpi) {
  ImagePageWriter writer(QSizeF(PaperWidth / 10.0, PaperLength / 10.0), dpi);
  PaintPage(writer.BeginPage());
  writer.Finish();
  return writer.Image();
}

}  // namespace bvr
