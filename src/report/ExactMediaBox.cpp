#include "report/ExactMediaBox.h"

#include <QByteArray>
#include <QMarginsF>
#include <QPageSize>
#include <QRect>
#include <string_view>

namespace bvr {

namespace {

std::string Rounded(const QPageLayout& layout) {
  const QRect r = layout.fullRectPoints();
  return "/MediaBox [0 0 " + QByteArray::number(static_cast<double>(r.width()), 'f').toStdString() +
         " " + QByteArray::number(static_cast<double>(r.height()), 'f').toStdString() + "]";
}

std::string Exact(const QPageLayout& layout, QSizeF exactMm) {
  constexpr double kPointsPerMm = 72.0 / 25.4;
  const QSizeF exact = exactMm * kPointsPerMm;
  const int top = layout.fullRectPoints().height();
  std::string box =
      "/MediaBox [0 " + QByteArray::number(top - exact.height(), 'f', 5).toStdString() + " " +
      QByteArray::number(exact.width(), 'f', 5).toStdString() + " " + std::to_string(top) + "]";
  // Never longer than what it replaces: then the rounded box stays.
  return box.size() <= Rounded(layout).size() ? box : Rounded(layout);
}

}  // namespace

ExactMediaBox::ExactMediaBox(QIODevice& target, const QPageLayout& layout, QSizeF exactMm)
    : target_(target), replace_(Rounded(layout), Exact(layout, exactMm)) {
  open(QIODevice::WriteOnly);
}

bool ExactMediaBox::Finish() {
  return Pass(spaces_.Feed(replace_.Finish())) && Pass(spaces_.Finish()) && ok_;
}

qint64 ExactMediaBox::writeData(const char* data, qint64 size) {
  if (!Pass(spaces_.Feed(replace_.Feed(std::string_view(data, static_cast<std::size_t>(size)))))) {
    ok_ = false;
    return -1;
  }
  return size;
}

bool ExactMediaBox::Pass(const std::string& bytes) {
  const auto size = static_cast<qint64>(bytes.size());
  if (size != 0 && target_.write(bytes.data(), size) != size) {
    ok_ = false;
  }
  return ok_;
}

QPageLayout ExactPageLayout(QSizeF paperMm) {
  return QPageLayout(QPageSize(paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

}  // namespace bvr
