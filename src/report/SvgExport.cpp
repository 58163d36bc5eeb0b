#include "report/SvgExport.h"

#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

#include "report/QuickRep.h"

namespace bvr {

void ExportToSvg(TQuickRep& report, QIODevice& device, int dpi) {
  QSvgGenerator generator;
  generator.setOutputDevice(&device);
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
}

}  // namespace bvr
