// Our bill drawn as SVG, painted by Qt's SVG renderer at a scanner's resolution, read back.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "qrbill/BillJson.h"
#include "reading/BillScan.h"

namespace bvr::reading {
namespace {

constexpr const char* kBill = R"({"account": "CH5204835012345671000",
  "creditor": {"name": "Robert Schneider AG", "street": "Rue du Lac", "number": "1268",
               "postcode": "2501", "town": "Biel", "country": "CH"},
  "amount": "199.95", "currency": "CHF", "message": "Facture 4711",
  "billing": "//S1/10/4711/11/240301/32/8.1"})";

TEST(SvgBill, ReadsBackEqualAtEachResolution) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("bvr-svg-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "bill.json") << kBill;
  const std::string command = std::string(BVR_CLI) + " qr render --bill " +
                              (dir / "bill.json").string() + " -o " + (dir / "bill.svg").string() +
                              " >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  QSvgRenderer svg(QString::fromStdString((dir / "bill.svg").string()));
  ASSERT_TRUE(svg.isValid());
  const QSizeF mm(210, 297);
  for (int dpi : {150, 300}) {
    QImage page((mm * dpi / 25.4).toSize(), QImage::Format_Grayscale8);
    page.fill(Qt::white);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    {
      QPainter painter(&page);
      svg.render(&painter);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(page.save(&buffer, "PNG"));
    const std::vector<ScannedCode> codes = ScanBills(std::string_view(png.data(), png.size()));
    ASSERT_EQ(codes.size(), 1u) << dpi;
    EXPECT_TRUE(codes[0].Valid()) << dpi;
    EXPECT_EQ(codes[0].bill, qr::ReadBillJson(kBill).bill) << dpi;
    EXPECT_NEAR(codes[0].place.x, 67, 0.5) << dpi;
    EXPECT_NEAR(codes[0].place.size, 46, 0.5) << dpi;
    EXPECT_FALSE(codes[0].place.dpiAssumed);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace bvr::reading
