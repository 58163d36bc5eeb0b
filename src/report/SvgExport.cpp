#include "report/SvgExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

#include "report/QuickRep.h"

namespace bvr {

void ExportToSvg(TQuickRep& report, QIODevice& device, int dpi) {
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(dpi);
  const QSize size(static_cast<int>(std::lround(report.PaperWidth * dpi / 254.0)),
                   static_cast<int>(std::lround(report.PaperLength * dpi / 254.0)));
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QString::fromStdString(report.ReportTitle));
  QPainter painter;
  if (!painter.begin(&generator)) {
    return;
  }
  report.PaintPage(painter);
  painter.end();
  // Arial where it is installed, else the face we measured with, else its equals: a viewer
  // without Arial would otherwise take any sans-serif face, of other widths.
  svg.replace(R"(font-family="Arial")",
              R"(font-family="Liberation Sans, Arial, Helvetica, sans-serif")");
  device.write(svg);
}

}  // namespace bvr
