// bvrslip batch --kind qr, run as a subprocess: the symbols read back from the PDF's pages
// (pdftoppm to grey levels, ZXing), the problems of every row before any file.
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include "CliTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "qrbill/Payload.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kTemplate = R"({"account": "CH44 3199 9123 0008 8901 2",
 "creditor": {"name": "Robert Schneider AG", "street": "Rue du Lac", "number": "1268",
              "postcode": "2501", "town": "Biel", "country": "CH"},
 "currency": "CHF", "message": "Facture de décembre", "language": "it"})";

constexpr const char* kRows =
    "amount;reference;debtor.name;debtor.postcode;debtor.town;debtor.country\n"
    "1949.75;210000000003139471430009017;Pia Rutschmann;9400;Rorschach;CH\n"
    ";000008207791225857421286694;;;;\n"
    "12.50;210000000003139471430009017;Jean Dupont;2000;Neuchâtel;CH\n";

bvr::qr::Bill Expected(int row) {
  bvr::qr::Bill bill;
  bill.account = "CH44 3199 9123 0008 8901 2";
  bill.creditor = {"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  bill.currency = "CHF";
  bill.message = "Facture de décembre";
  bill.referenceType = bvr::qr::ReferenceType::QRR;
  bill.reference = row == 2 ? "000008207791225857421286694" : "210000000003139471430009017";
  if (row == 1) {
    bill.amount = "1949.75";
    bill.debtor = bvr::qr::Address{"Pia Rutschmann", "", "", "9400", "Rorschach", "CH"};
  } else if (row == 3) {
    bill.amount = "12.50";
    bill.debtor = bvr::qr::Address{"Jean Dupont", "", "", "2000", "Neuchâtel", "CH"};
  }
  return bill;
}

struct QrBatchTest : bvr::test::CliTest {
  bvr::test::CliResult Batch(const std::string& rows, const std::string& more) {
    return Run("batch --kind qr --bill " + Write("bill.json", kTemplate) + " --csv " +
               Write("rows.csv", rows) + " " + more);
  }

  // The symbol of each page, read by ZXing from pdftoppm's 150 dpi grey levels (PGM).
  std::vector<std::string> Symbols(const fs::path& pdf) const {
    const fs::path prefix = dir / "page";
    const std::string command =
        "pdftoppm -gray -r 150 " + pdf.string() + " " + prefix.string() + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() == ".pgm") {
        pages.push_back(entry.path());
      }
    }
    std::sort(pages.begin(), pages.end());
    std::vector<std::string> symbols;
    for (const fs::path& page : pages) {
      symbols.push_back(Decode(bvr::test::Slurp(page)));
    }
    return symbols;
  }

  static std::string Decode(const std::string& pgm) {
    std::istringstream in(pgm);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    EXPECT_EQ(magic, "P5");
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(pgm.data() + in.tellg());
    const ZXing::Result r =
        ZXing::ReadBarcode({pixels, width, height, ZXing::ImageFormat::Lum},
                           ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    return r.isValid() ? std::string(r.bytes().begin(), r.bytes().end()) : "(no symbol)";
  }
};

TEST_F(QrBatchTest, EachPageCarriesItsRowsBillAndSlicesKeepTheirRows) {
  struct Case {
    const char* options;
    std::vector<int> rows;
    const char* pageSize;
  };
  const Case cases[] = {
      {"--page bill", {1, 2, 3}, "595.276 x 297.638 pts"},
      {"--rows 2-3", {2, 3}, "595.276 x 841.89 pts (A4)"},
  };
  for (const Case& c : cases) {
    const fs::path pdf = dir / "bills.pdf";
    const bvr::test::CliResult r = Batch(kRows, "-o " + pdf.string() + " " + c.options);
    ASSERT_EQ(r.code, 0) << c.options << ": " << r.err;
    const std::vector<std::string> symbols = Symbols(pdf);
    ASSERT_EQ(symbols.size(), c.rows.size()) << c.options;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
      bvr::qr::Bill bill = Expected(c.rows[i]);
      bill.language = bvr::qr::Language::it;
      EXPECT_EQ(symbols[i], bvr::qr::BuildQrPayload(bill)) << c.options << ", page " << i + 1;
    }
    const fs::path info = dir / "info.txt";
    EXPECT_EQ(std::system(("pdfinfo " + pdf.string() + " >" + info.string()).c_str()), 0);
    EXPECT_NE(bvr::test::Slurp(info).find(c.pageSize), std::string::npos) << c.options;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() == ".pgm" || entry.path() == pdf) {
        fs::remove(entry.path());
      }
    }
  }
}

TEST_F(QrBatchTest, EveryBadRowIsReportedAndNoFileIsWritten) {
  const std::string rows =
      "amount,reference,debtor.name\n"
      "10,210000000003139471430009017,\n"
      "12.345,210000000003139471430009017,\n"
      "10,RF18539007547034,\n"
      "10,210000000003139471430009017,Jean\n";
  const fs::path pdf = dir / "bills.pdf";
  const bvr::test::CliResult r = Batch(rows, "-o " + pdf.string());
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(fs::exists(pdf));
  for (const char* line : {"row 2, amount : ", "row 3, reference : ", "row 4, debtor."}) {
    EXPECT_NE(r.err.find(line), std::string::npos) << line << " in:\n" << r.err;
  }
  EXPECT_EQ(r.err.find("row 1,"), std::string::npos) << r.err;
}

TEST_F(QrBatchTest, WrongHeadersAndOptionsAreRefused) {
  struct Case {
    const char* rows;
    const char* options;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {"amount,debtor.twon\n1,x\n", "-o bills.pdf", 1, "unknown column \"debtor.twon\""},
      {"invoice\n45687\n", "-o bills.pdf", 1, "needs --layout FILE.BVR"},
      {"amount\n", "-o bills.pdf", 1, "CSV: no bill after the header"},
      {"amount\n1\n", "-o bills.pdf --with-form", 2, "--with-form is for slip batches"},
      {"amount\n1\n", "-o bills.pdf --page slip", 2, "--page takes a4 or bill"},
  };
  for (const Case& c : cases) {
    const bvr::test::CliResult r = Batch(c.rows, c.options);
    EXPECT_EQ(r.code, c.code) << c.rows << " " << c.options << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  const bvr::test::CliResult noBill = Run("batch --kind qr --csv x.csv -o bills.pdf");
  EXPECT_EQ(noBill.code, 2);
  EXPECT_NE(noBill.err.find("missing --bill TEMPLATE.json"), std::string::npos) << noBill.err;
}

}  // namespace
