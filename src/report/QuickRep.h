// A small report engine: one page of fixed bands (page header, detail, page footer) holding
// printable controls, laid out in tenths of a millimetre and produced on any output device.
// Produced without a data source: one page, each band once.
#pragma once

#include <QImage>
#include <QPointF>
#include <functional>
#include <string>
#include <vector>

#include "draw/Canvas.h"
#include "draw/QRPrinter.h"

class QIODevice;
class QPainter;

namespace bvr {

class TQuickRep;
class TQRBand;

// A control that prints itself when its band is printed.
class TQRPrintable {
 public:
  struct TSize {
    double Left = 0;  // within the band, tenths of a millimetre
    double Top = 0;
    double Width = 0;
    double Height = 0;
  };

  TQRPrintable() = default;
  TQRPrintable(const TQRPrintable&) = delete;
  TQRPrintable& operator=(const TQRPrintable&) = delete;
  virtual ~TQRPrintable() = default;

  std::string Name;
  TSize Size;

  // Called once per produced band with the band's position on the page (tenths of a mm).
  virtual void Print(double offsetX, double offsetY) = 0;
  // The on-screen look of the control, in its own pixels.
  virtual void Paint(ICanvas& canvas) = 0;

  TQRBand* Band() const { return band_; }
  TQuickRep* ParentReport() const;
  // The printer while the report is being produced; nullptr otherwise.
  TQRPrinter* QRPrinter() const;

 private:
  friend class TQRBand;
  TQRBand* band_ = nullptr;
};

// A text label: caption in a font, automatic width, optional word wrap within its width.
class TQRCustomLabel : public TQRPrintable {
 public:
  std::string Caption;
  CanvasFont Font;
  bool AutoSize = true;
  bool WordWrap = false;
  bool Transparent = false;  // otherwise the label's box is painted in Color
  TColor Color = clWhite;

  void Print(double offsetX, double offsetY) override;
  void Paint(ICanvas& canvas) override;

 protected:
  // The caption split into the lines printed within the given width (device units).
  std::vector<std::string> Lines(ICanvas& canvas, double width) const;
};

class TQRLabel : public TQRCustomLabel {};

enum class TQRBandType { rbPageHeader, rbDetail, rbPageFooter };

class TQRBand {
 public:
  TQRBand(std::string name, TQRBandType type, double height)
      : Name(std::move(name)), BandType(type), Height(height) {}
  TQRBand(const TQRBand&) = delete;
  TQRBand& operator=(const TQRBand&) = delete;

  std::string Name;
  TQRBandType BandType;
  double Height;  // tenths of a millimetre
  TColor Color = clWhite;

  // The control is not owned; it must live as long as the band.
  void Add(TQRPrintable& control);
  const std::vector<TQRPrintable*>& Controls() const { return controls_; }
  TQuickRep* ParentReport() const { return report_; }

 private:
  friend class TQuickRep;
  std::vector<TQRPrintable*> controls_;
  TQuickRep* report_ = nullptr;
};

class TQuickRep {
 public:
  explicit TQuickRep(std::string name) : Name(std::move(name)) {}
  TQuickRep(const TQuickRep&) = delete;
  TQuickRep& operator=(const TQuickRep&) = delete;

  std::string Name;
  std::string ReportTitle;
  double PaperWidth = 2100;  // A4 portrait, tenths of a millimetre
  double PaperLength = 2970;
  struct {
    double Top = 100;
    double Left = 100;
    double Right = 100;
    double Bottom = 0;
  } Margins;

  // Drawn on the page before any band, through the page's printer; for a picture behind the
  // content. Null by default.
  std::function<void(const TQRPrinter& printer)> BeforePrintBands;

  void AddBand(TQRBand& band);
  const std::vector<TQRBand*>& Bands() const { return bands_; }

  // Where the band lies on the single page: header and detail stacked from the top margin,
  // the footer ending at the bottom margin. Tenths of a millimetre.
  double BandLeft() const { return Margins.Left; }
  double BandTop(const TQRBand& band) const;

  // Produces the page on a printer: every band's controls print with the band's offset.
  void PrintBands(TQRPrinter& printer);
  TQRPrinter* QRPrinter() const { return printer_; }

  // The one page renderer: paints the page onto the painter's device, whose origin must be
  // the paper's top-left corner. Outputs that hold many pages call it between newPage()s.
  void PaintPage(QPainter& painter);
  // The same onto any canvas, at the canvas's own units per inch.
  void PaintPage(ICanvas& canvas);

  // Paints one control alone, as if its band lay at (bandLeft, bandTop) on the painter's
  // device (tenths of a millimetre, may be negative): for a page that holds only that
  // control, which must sit on one of this report's bands. before, when set, paints first,
  // like BeforePrintBands.
  void PaintControl(QPainter& painter, TQRPrintable& control, double bandLeft, double bandTop,
                    const std::function<void(const TQRPrinter&)>& before = {});

  // Produces the page on a canvas that draws nothing, so that a failing control reports its
  // error before any output is opened.
  void DryRun();

  // Outputs of the same page. Errors of the controls leave these calls.
  // pageOffset moves the whole page content (tenths of a millimetre, right and down).
  void ExportToPdf(QIODevice& device, int dpi = 1200, QPointF pageOffset = {});
  QImage RenderToImage(int dpi);

  // Device units per tenth of a millimetre at a resolution.
  static double UnitsPerTenth(double dpi) { return dpi / 254.0; }

 private:
  // A printer for the painter's device: before (when set), then content.
  static void Produce(QPainter& painter, const std::function<void(const TQRPrinter&)>& before,
                      const std::function<void(TQRPrinter&)>& content);

  std::vector<TQRBand*> bands_;
  TQRPrinter* printer_ = nullptr;
};

}  // namespace bvr
