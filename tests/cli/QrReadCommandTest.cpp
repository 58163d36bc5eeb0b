// bvrslip qr read: our bills read back from PDF and pictures spoiled as scanners and phones
// spoil them; codes that are no bill or a broken one; hostile files; the printing checks on
// pages made by hand and spoiled on purpose.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "CliTestSupport.h"
#include "HandmadeBillPdf.h"
#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/QrSymbol.h"

namespace bvr {
namespace {

constexpr const char* kBillA = R"({"account": "CH6431961000004421557",
  "creditor": {"name": "Max Muster & Söhne", "street": "Musterstrasse", "number": "123",
               "postcode": "8000", "town": "Seldwyla", "country": "CH"},
  "amount": "50.00", "currency": "CHF",
  "debtor": {"name": "Simon Muster", "postcode": "8000", "town": "Seldwyla", "country": "CH"},
  "reference": "000008207791225857421286694", "message": "Payment of travel"})";

constexpr const char* kBillB = R"({"account": "CH5204835012345671000",
  "creditor": {"name": "Robert Schneider AG", "street": "Rue du Lac", "number": "1268",
               "postcode": "2501", "town": "Biel", "country": "CH"},
  "amount": "1949.75", "currency": "EUR", "reference": "RF18539007547034",
  "billing": "//S1/10/10201409/11/190512/30/106017086/32/7.7/40/2:10;0:30"})";

qr::Bill BillOf(const std::string& json) {
  return qr::ReadBillJson(json).bill;
}

// The lines of the output, each read as a bill (the extra keys are ignored here).
std::vector<std::string> Lines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < out.size()) {
    const std::size_t end = out.find('\n', start);
    lines.push_back(out.substr(start, end - start));
    start = end == std::string::npos ? out.size() : end + 1;
  }
  return lines;
}

double Number(const std::string& line, const std::string& key) {
  std::smatch m;
  const std::regex pattern("\"" + key + "\":(-?[0-9.]+)");
  return std::regex_search(line, m, pattern) ? std::stod(m[1]) : -1;
}

// PNG's chunk check (CRC-32 of ISO 3309), for a header changed on purpose.
std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int k = 0; k < 8; ++k) {
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return crc ^ 0xFFFFFFFFu;
}

class QrReadCommand : public test::CliTest {
 protected:
  // Runs a shell command in the test's folder; fails the test when it fails.
  void Shell(const std::string& command) const {
    const std::string line = "cd " + test::Quoted(dir.string()) + " && " + command;
    ASSERT_EQ(std::system(line.c_str()), 0) << command;
  }
  std::string Render(const char* json, const std::string& name) const {
    const std::string bill = Write(name + ".json", json);
    const std::string out = (dir / name).string();
    EXPECT_EQ(Run({"qr", "render", "--bill", bill, "-o", out}).code, 0);
    return out;
  }
  // A code of any text as a PNG picture, 8 pixels a module, with a quiet zone.
  std::string CodePicture(const std::string& text, const std::string& name) const {
    const qr::QrSymbol symbol = qr::MakeQrSymbol(text);
    const int side = (symbol.Size() + 8) * 8;
    std::string pgm = "P5 " + std::to_string(side) + " " + std::to_string(side) + " 255\n";
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const int mx = x / 8 - 4;
        const int my = y / 8 - 4;
        const bool dark =
            mx >= 0 && my >= 0 && mx < symbol.Size() && my < symbol.Size() && symbol.Dark(mx, my);
        pgm += dark ? '\0' : '\xff';
      }
    }
    Write(name + ".pgm", pgm);
    Shell("convert " + name + ".pgm " + name + ".png");
    return (dir / (name + ".png")).string();
  }
};

TEST_F(QrReadCommand, OurBillsReadBackEqualFromPdfAndPng) {
  const std::string pdf = Render(kBillA, "a.pdf");
  const std::string png = Render(kBillB, "b.png");
  const test::CliResult r = Run({"qr", "read", pdf, png});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u) << r.out;
  EXPECT_EQ(BillOf(lines[0]), BillOf(kBillA));
  EXPECT_EQ(BillOf(lines[1]), BillOf(kBillB));
  // The payment part's code at (67, 17) mm from the bill's corner, the bill at the A4's foot.
  EXPECT_NEAR(Number(lines[0], "x"), 67, 0.5);
  EXPECT_NEAR(Number(lines[0], "y"), 297 - 105 + 17, 0.5);
  EXPECT_NEAR(Number(lines[0], "size"), 46, 0.5);
  // The S1 billing information comes structured.
  EXPECT_NE(lines[1].find(R"("billing":{"invoice":"10201409","date":"2019-05-12")"),
            std::string::npos)
      << lines[1];
}

TEST_F(QrReadCommand, ScansAndPhotosOfAPageAreRead) {
  Render(kBillA, "a.pdf");
  // Whole pages at three resolutions; the bill's strip (the page's lowest 105 mm at 200 dpi)
  // turned, blurred, noisy, compressed, which keeps ImageMagick's work small.
  Shell("pdftoppm -r 200 -gray -png -singlefile -y 1512 -H 827 -W 1654 a.pdf s200");
  const struct {
    const char* make;  // in the test's folder, the file read
    const char* file;
    int rotation;
    double sizeTolerance = 1;  // mm
  } cases[] = {
      {"pdftoppm -r 150 -gray -png -singlefile a.pdf p150", "p150.png", 0},
      {"pdftoppm -r 200 -gray -png -singlefile a.pdf p200", "p200.png", 0},
      {"pdftoppm -r 300 -gray -png -singlefile a.pdf p300", "p300.png", 0},
      {"convert s200.png -rotate 90 r90.png", "r90.png", 90},
      {"convert s200.png -rotate 180 r180.png", "r180.png", 180},
      {"convert s200.png -rotate 270 r270.png", "r270.png", 270},
      {"convert s200.png -background white -rotate 3 r3.png", "r3.png", 3},
      {"convert s200.png -blur 0x1.5 blur.png", "blur.png", 0},
      {"convert s200.png -attenuate 0.6 +noise Gaussian noise.png", "noise.png", 0},
      {"convert s200.png -quality 35 low.jpg", "low.jpg", 0},
      {"convert s200.png -compress lzw scan.tiff", "scan.tiff", 0},
      // A phone's view: the far corner nearer, then JPEG.
      {"convert s200.png -virtual-pixel white -distort Perspective "
       "'0,0 40,30  1653,0 1610,10  0,826 0,800  1653,826 1653,826' -quality 60 photo.jpg",
       "photo.jpg", 0, 3},
  };

  for (const auto& c : cases) {
    Shell(c.make);
    const test::CliResult r = Run({"qr", "read", (dir / c.file).string()});
    EXPECT_EQ(r.code, 0) << c.file << ": " << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 1u) << c.file << ": " << r.out;
    EXPECT_EQ(BillOf(lines[0]), BillOf(kBillA)) << c.file;
    EXPECT_NEAR(Number(lines[0], "rotation"), c.rotation, 1) << c.file;
    EXPECT_NEAR(Number(lines[0], "size"), 46, c.sizeTolerance) << c.file;
  }
}

// A scanner's batch in one TIFF: every page is read and says which page it was; a file of
// more pages than the limit is refused before any is decoded.
TEST_F(QrReadCommand, EveryPageOfATiffIsRead) {
  Render(kBillA, "a.pdf");
  Render(kBillB, "b.pdf");
  Shell(
      "pdftoppm -r 150 -gray -png -singlefile a.pdf pa && "
      "pdftoppm -r 150 -gray -png -singlefile b.pdf pb && "
      "convert -size 1240x1754 xc:white blank.png && "
      "convert blank.png pa.png blank.png pb.png -compress lzw batch.tiff && "
      "convert -size 2x2 xc:white -duplicate 500 many.tiff");
  test::CliResult r = Run({"qr", "read", "--format", "csv", (dir / "batch.tiff").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_NE(lines[1].find("CH6431961000004421557,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[1].find("batch.tiff,2,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("CH5204835012345671000,"), std::string::npos) << lines[2];
  EXPECT_NE(lines[2].find("batch.tiff,4,"), std::string::npos) << lines[2];

  r = Run({"qr", "read", (dir / "many.tiff").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("TIFF of 501 pages, at most 500"), std::string::npos) << r.err;
}

TEST_F(QrReadCommand, TwoBillsOnOnePageStandardInputAndCsv) {
  Render(kBillA, "a.pdf");
  Render(kBillB, "b.pdf");
  // Each bill's strip (the page's lowest 105 mm), one above the other on one picture.
  Shell(
      "pdftoppm -r 200 -gray -png -singlefile -y 1512 -H 827 -W 1654 a.pdf sa && "
      "pdftoppm -r 200 -gray -png -singlefile -y 1512 -H 827 -W 1654 b.pdf sb && "
      "convert sa.png sb.png -append two.png");
  test::CliResult r = Run("qr read --format csv - < " + test::Quoted((dir / "two.png").string()));
  ASSERT_EQ(r.code, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0],
            "account,creditor,amount,currency,reference,debtor,message,billing,file,page,problems");
  const std::string rowA =
      "CH6431961000004421557,\"Max Muster & Söhne, Musterstrasse 123, 8000 Seldwyla, CH\","
      "50.00,CHF,000008207791225857421286694,\"Simon Muster, 8000 Seldwyla, CH\","
      "Payment of travel,,(stdin),1,";
  const std::string rowB =
      "CH5204835012345671000,\"Robert Schneider AG, Rue du Lac 1268, 2501 Biel, CH\",1949.75,"
      "EUR,RF18539007547034,,,//S1/10/10201409/11/190512/30/106017086/32/7.7/40/2:10;0:30,"
      "(stdin),1,";
  EXPECT_TRUE((lines[1] == rowA && lines[2] == rowB) || (lines[1] == rowB && lines[2] == rowA))
      << r.out;
}

TEST_F(QrReadCommand, WhatIsNoValidBillIsSaidSo) {
  Shell("convert -size 600x800 xc:white blank.png");
  test::CliResult r = Run({"qr", "read", (dir / "blank.png").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("blank.png: no QR code found"), std::string::npos) << r.err;

  r = Run({"qr", "read", CodePicture("https://example.org/invoice/4711", "plain")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find(R"("kind":"not a Swiss QR Code","text":"https://example.org/invoice/4711")"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("plain.png page 1: a QR code that is not a Swiss QR Code"),
            std::string::npos)
      << r.err;

  // The reference's check digit wrong (5 where 4 is right), and the amount negative.
  std::string payload = qr::WritePayload(BillOf(kBillA));
  payload.replace(payload.find("000008207791225857421286694"), 27, "000008207791225857421286695");
  payload.replace(payload.find("\n50.00\n"), 7, "\n-5.00\n");
  r = Run({"qr", "read", CodePicture(payload, "broken")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find(R"("kind":"bill")"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(R"({"field":"reference","message")"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(R"({"field":"amount","message")"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("broken.png page 1: invalid bill (2 problems)"), std::string::npos) << r.err;
}

TEST_F(QrReadCommand, HostileFilesAreRefusedWithAMessage) {
  // A PNG whose header promises 100000 x 100000 pixels; bytes of no kind; a cut PDF.
  std::string png = test::Slurp(CodePicture("x", "small"));
  png.replace(16, 8, std::string("\x00\x01\x86\xa0\x00\x01\x86\xa0", 8));
  const std::uint32_t crc = Crc32(png.substr(12, 17));
  for (int i = 0; i < 4; ++i) {
    png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  }
  const struct {
    std::string bytes;
    const char* message;
  } cases[] = {
      {png, "picture of 100000 x 100000 pixels, at most 60000000 pixels"},
      {"GIF89a and more", "neither PDF, PNG, JPEG nor TIFF"},
      {"%PDF-1.4\n1 0 obj << /Type /Catalog", "not a readable PDF"},
  };
  for (const auto& c : cases) {
    const test::CliResult r = Run({"qr", "read", Write("hostile", c.bytes)});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Run(std::string("qr read")).code, 2);
  EXPECT_EQ(Run(std::string("qr read --format xml x.pdf")).code, 2);
  EXPECT_EQ(Run(std::string("qr read - -")).code, 2);
}

// "check": measured, pass, for each measure of the output's single line.
std::map<std::string, std::pair<std::string, bool>> Measures(const std::string& out) {
  std::map<std::string, std::pair<std::string, bool>> measures;
  const std::regex pattern(
      R"re(\{"check":"([^"]*)","measured":"([^"]*)","required":"[^"]*","pass":(true|false)\})re");
  for (auto it = std::sregex_iterator(out.begin(), out.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    measures[(*it)[1]] = {(*it)[2], (*it)[3] == "true"};
  }
  return measures;
}

TEST_F(QrReadCommand, CheckPrintPassesACorrectPageAndFailsEachSpoiledOne) {
  const std::string payload = qr::BuildQrPayload(BillOf(kBillA));
  const struct {
    const char* name;
    test::HandmadeBill bill;
    std::vector<std::string> failing;
  } cases[] = {
      {"correct", {payload}, {}},
      {"scaled",
       {payload, 0.95},
       {"code size", "code place", "swiss cross", "titles and headings"}},
      {"cross", {payload, 1, 8.5}, {"swiss cross"}},
      {"helvetica", {payload, 1, 7, false}, {"faces"}},
      {"letter", {payload, 1, 7, true, 279.4}, {"page size"}},
  };
  for (const auto& c : cases) {
    const std::string file = Write(std::string(c.name) + ".pdf", test::HandmadeBillPdf(c.bill));
    const test::CliResult r = Run({"qr", "read", "--check-print", file});
    EXPECT_EQ(r.code, c.failing.empty() ? 0 : 1) << c.name << ": " << r.err;
    const auto measures = Measures(r.out);
    ASSERT_EQ(measures.size(), 7u) << c.name << ": " << r.out;
    for (const auto& [check, result] : measures) {
      const bool expectFail =
          std::find(c.failing.begin(), c.failing.end(), check) != c.failing.end();
      EXPECT_EQ(result.second, !expectFail) << c.name << ", " << check << ": " << result.first;
    }
  }
}

TEST_F(QrReadCommand, CheckPrintMeasuresOurOwnBill) {
  const test::CliResult r = Run({"qr", "read", "--check-print", Render(kBillA, "a.pdf")});
  const auto measures = Measures(r.out);
  ASSERT_EQ(measures.size(), 7u) << r.out;
  for (const auto& [check, result] : measures) {
    if (check != "swiss cross") {
      EXPECT_TRUE(result.second) << check << ": " << result.first;
    }
  }
  // The cross is measured whatever its size: the whole, the black square and the border.
  const std::string cross = measures.at("swiss cross").first;
  std::smatch m;
  ASSERT_TRUE(std::regex_match(
      cross, m, std::regex(R"(([0-9.]+) mm \(black ([0-9.]+) mm, border ([0-9.]+) mm\))")))
      << cross;
  EXPECT_NEAR(std::stod(m[1]), std::stod(m[2]) + 2 * std::stod(m[3]), 0.02);
  EXPECT_EQ(measures.at("swiss cross").second, std::abs(std::stod(m[1]) - 7) <= 0.2) << cross;
  EXPECT_EQ(r.code, measures.at("swiss cross").second ? 0 : 1);
}

}  // namespace
}  // namespace bvr
