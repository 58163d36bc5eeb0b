// bvrslip qr attach and the attaching batch, run as a subprocess over invoices made here by
// other producers: the output checked by qpdf, the invoice's text read back, the bill's code
// decoded and measured on the page it should be on, the input's bytes compared.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "QrAttachTestSupport.h"
#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"

namespace {

namespace fs = std::filesystem;
using bvr::test::InvoicePage;
using bvr::test::Quoted;
using bvr::test::Sh;

constexpr const char* kBill = R"({"account": "CH44 3199 9123 0008 8901 2",
 "creditor": {"name": "Robert Schneider AG", "street": "Rue du Lac", "number": "1268",
              "postcode": "2501", "town": "Biel", "country": "CH"},
 "amount": "1949.75", "currency": "CHF", "reference": "210000000003139471430009017",
 "debtor": {"name": "Pia Rutschmann", "postcode": "9400", "town": "Rorschach", "country": "CH"},
 "language": "fr"})";

constexpr int kA4[2] = {595, 842};
constexpr int kLetter[2] = {612, 792};

std::string Payload(const std::string& json) {
  return bvr::qr::BuildQrPayload(bvr::qr::ReadBillJson(json).bill);
}

struct QrAttachTest : bvr::test::CliTest {
  fs::path scratch() const { return dir / "scratch.txt"; }

  fs::path Ghostscript(const std::string& name, const std::vector<InvoicePage>& pages,
                       const int paper[2] = kA4) const {
    const std::string ps =
        Write(name + ".ps", bvr::test::InvoicePostScript(pages, paper[0], paper[1]));
    const fs::path pdf = dir / (name + ".pdf");
    EXPECT_EQ(Sh("ps2pdf " + Quoted(ps) + " " + Quoted(pdf.string())), 0);
    return pdf;
  }

  fs::path Cairo(const std::string& name, const std::vector<InvoicePage>& pages) const {
    const fs::path source = Ghostscript(name + "-gs", pages);
    const fs::path pdf = dir / (name + ".pdf");
    EXPECT_EQ(Sh("pdftocairo -pdf " + Quoted(source.string()) + " " + Quoted(pdf.string())), 0);
    return pdf;
  }

  // Empty when reportlab is not installed.
  fs::path Reportlab(const std::string& name, const std::vector<InvoicePage>& pages) const {
    const fs::path pdf = dir / (name + ".pdf");
    const std::string script = Write(name + ".py", bvr::test::InvoiceReportlab(pages, pdf));
    // Debian's interpreter, which has Debian's reportlab.
    return Sh("/usr/bin/python3 " + Quoted(script) + " 2>/dev/null") == 0 ? pdf : fs::path();
  }

  // A one-page invoice on paper of width x height points, turned by degrees (/Rotate), its
  // heading at (x, y) in the paper's own space: at the top of the page as the reader sees it.
  fs::path Rotated(const std::string& name, int degrees, int width, int height, int x,
                   int y) const {
    const std::string ps = Write(
        name + ".ps", "%!PS\n<< /PageSize [" + std::to_string(width) + " " +
                          std::to_string(height) + "] >> setpagedevice\n/Helvetica findfont 14 " +
                          "scalefont setfont " + std::to_string(x) + " " + std::to_string(y) +
                          " moveto (Rotated invoice 77) show showpage\n");
    const fs::path flat = dir / (name + "-flat.pdf");
    const fs::path pdf = dir / (name + ".pdf");
    EXPECT_EQ(Sh("ps2pdf " + Quoted(ps) + " " + Quoted(flat.string())), 0);
    EXPECT_EQ(Sh("qpdf " + Quoted(flat.string()) + " --rotate=+" + std::to_string(degrees) + ":1 " +
                 Quoted(pdf.string())),
              0);
    return pdf;
  }

  // An A4 crop box 50 and 30 points into larger paper (700 x 900 points).
  fs::path Cropped(const std::string& name) const {
    const std::string ps =
        Write(name + ".ps",
              "%!PS\n<< /PageSize [700 900] >> setpagedevice\n[/CropBox [50 30 645 872] /PAGES "
              "pdfmark\n/Helvetica findfont 14 scalefont setfont 110 790 moveto (Cropped invoice) "
              "show showpage\n");
    const fs::path pdf = dir / (name + ".pdf");
    EXPECT_EQ(Sh("ps2pdf " + Quoted(ps) + " " + Quoted(pdf.string())), 0);
    return pdf;
  }

  // Our own A4 page with the bill at its foot: a taken foot.
  fs::path OwnRender(const std::string& name) const {
    const fs::path pdf = dir / (name + ".pdf");
    EXPECT_EQ(Run({"qr", "render", "--bill", Write("own.json", kBill), "-o", pdf.string()}).code,
              0);
    return pdf;
  }

  bvr::test::CliResult Attach(const fs::path& invoice, const fs::path& out,
                              const std::string& more = "") {
    return Run("qr attach --pdf " + Quoted(invoice.string()) + " --bill " +
               Quoted(Write("bill.json", kBill)) + " -o " + Quoted(out.string()) + " " + more);
  }

  // Everything an attached invoice must be: a clean file, the original pages' text as it
  // was, the bill's code decoding on page billPage, 46 mm at (67, 209) mm on an A4 page.
  void ExpectAttached(const fs::path& invoice, const fs::path& out, int billPage,
                      const std::string& label) {
    EXPECT_EQ(Sh("qpdf --check " + Quoted(out.string()) + " >/dev/null 2>&1"), 0) << label;
    const int pages = bvr::test::PageCount(invoice, scratch());
    EXPECT_EQ(bvr::test::PageCount(out, scratch()), billPage > pages ? pages + 1 : pages) << label;
    for (int page = 1; page <= pages; ++page) {
      std::string text = bvr::test::PageText(out, page, scratch());
      if (page == billPage) {  // the invoice's part: above the bill's 105 mm
        const std::string p = std::to_string(page);
        text = bvr::test::ShOut("pdftotext -layout -x 0 -y 0 -W 612 -H 540 -f " + p + " -l " + p +
                                    " " + Quoted(out.string()) + " -",
                                scratch());
      }
      EXPECT_EQ(text, bvr::test::PageText(invoice, page, scratch())) << label << ", page " << page;
    }
    const bvr::test::FoundSymbol symbol = bvr::test::SymbolOnPage(out, billPage, dir);
    EXPECT_EQ(symbol.text, Payload(kBill)) << label;
    EXPECT_NEAR(symbol.width, 46, 0.5) << label;
    EXPECT_NEAR(symbol.height, 46, 0.5) << label;
    EXPECT_NEAR(symbol.x, 67, 0.5) << label;
    EXPECT_NEAR(symbol.y, 209, 0.5) << label;
    // On plain paper the bill is cut off along a line at its top (192 mm), scissors on it at
    // the receipt's middle (31 mm): the line shows, and so does the scissors' upper half,
    // which lies above the bill's own page.
    EXPECT_GT(bvr::test::InkInBox(out, billPage, 5, 191.7, 25, 192.3, dir), 200) << label;
    EXPECT_GT(bvr::test::InkInBox(out, billPage, 27, 190.4, 35, 191.6, dir), 20) << label;
    // Links, bookmarks and form fields are still there (in the file's objects, uncompressed).
    const auto objects = [&](const fs::path& pdf) {
      return bvr::test::ShOut("qpdf --qdf --object-streams=disable " + Quoted(pdf.string()) + " -",
                              scratch());
    };
    const std::string before = objects(invoice);
    const std::string after = objects(out);
    for (const char* kept : {"/URI (https://example.com/pay)", "(Outline Invoice", "/T (Field"}) {
      const bool made = label.starts_with("reportlab");  // which makes all three
      EXPECT_EQ(before.find(kept) != std::string::npos, made) << label << ": " << kept;
      EXPECT_EQ(after.find(kept) != std::string::npos, made) << label << ": " << kept;
    }
    for (int page = 1; page < billPage; ++page) {  // no bill elsewhere
      EXPECT_EQ(bvr::test::SymbolOnPage(out, page, dir).text,
                bvr::test::SymbolOnPage(invoice, page, dir).text)
          << label << ", page " << page;
    }
  }
};

TEST_F(QrAttachTest, TheBillLandsWhereAutoSaysAndTheInvoiceStaysAsItWas) {
  const std::vector<InvoicePage> threePages = {
      {"Invoice 4711 page 1 of 3"}, {"Invoice 4711 page 2 of 3"}, {"Invoice 4711 page 3 of 3"}};
  struct Case {
    const char* label;
    std::function<fs::path()> make;
    int billPage;  // after the invoice's pages when beyond them
    const char* placeWords;
  };
  const Case cases[] = {
      {"ghostscript, one page", [&] { return Ghostscript("gs1", {{"Invoice 4711"}}); }, 1,
       "bill on page 1"},
      {"ghostscript, three pages", [&] { return Ghostscript("gs3", threePages); }, 3,
       "bill on page 3"},
      {"ghostscript, foot taken",
       [&] {
         return Ghostscript("gsfoot", {{"Invoice 4711", true}});
       },
       2, "not free"},
      {"ghostscript, Letter", [&] { return Ghostscript("letter", {{"Invoice 4711"}}, kLetter); }, 2,
       "not A4 portrait (216 x 279 mm)"},
      {"cairo, three pages", [&] { return Cairo("cairo3", threePages); }, 3, "bill on page 3"},
      {"A4 landscape turned 90", [&] { return Rotated("r90", 90, 842, 595, 60, 300); }, 1,
       "bill on page 1"},
      {"A4 landscape turned 270", [&] { return Rotated("r270", 270, 842, 595, 760, 300); }, 1,
       "bill on page 1"},
      {"A4 portrait turned 180", [&] { return Rotated("r180", 180, 595, 842, 300, 60); }, 1,
       "bill on page 1"},
      {"A4 portrait turned 90", [&] { return Rotated("p90", 90, 595, 842, 60, 760); }, 2,
       "not A4 portrait (297 x 210 mm)"},
      {"A4 crop box in larger paper", [&] { return Cropped("crop"); }, 1, "bill on page 1"},
      {"our own render, foot taken", [&] { return OwnRender("own"); }, 2, "not free"},
      {"reportlab, three pages", [&] { return Reportlab("rl3", threePages); }, 3, "bill on page 3"},
      {"reportlab, foot taken",
       [&] {
         return Reportlab("rlfoot", {{"Invoice 9", true}});
       },
       2, "not free"},
  };
  for (const Case& c : cases) {
    const fs::path invoice = c.make();
    if (invoice.empty()) {
      ADD_FAILURE() << c.label << ": python3-reportlab is missing (scripts/deps installs it)";
      continue;
    }
    const std::string before = bvr::test::Slurp(invoice);
    const fs::path out = dir / "out.pdf";
    const bvr::test::CliResult r = Attach(invoice, out);
    ASSERT_EQ(r.code, 0) << c.label << ": " << r.err;
    EXPECT_NE(r.err.find(c.placeWords), std::string::npos) << c.label << ": " << r.err;
    ExpectAttached(invoice, out, c.billPage, c.label);
    EXPECT_EQ(bvr::test::Slurp(invoice), before) << c.label;
    fs::remove(out);
  }
}

TEST_F(QrAttachTest, ForcedPlacesAreKeptOrRefusedWithTheReason) {
  const fs::path free = Ghostscript("free", {{"Invoice 4711"}});
  const fs::path taken = Ghostscript("taken", {{"Invoice 4711", true}});
  const fs::path letter = Ghostscript("letter", {{"Invoice 4711"}}, kLetter);
  struct Case {
    fs::path invoice;
    const char* where;
    int code;
    int billPage;
    const char* message;
  };
  const Case cases[] = {
      {free, "new-page", 0, 2, "bill on a new page 2 (asked for a new page)"},
      {free, "last-page", 0, 1, "bill on page 1"},
      {taken, "last-page", 1, 0,
       "the foot of the last page (its bottom 105 mm) is not free; the bill would be drawn over "
       "the invoice"},
      {letter, "last-page", 1, 0,
       "the last page is not A4 portrait (216 x 279 mm); the bill needs the foot of an A4 "
       "portrait page"},
  };
  for (const Case& c : cases) {
    const fs::path out = dir / "out.pdf";
    const bvr::test::CliResult r = Attach(c.invoice, out, std::string("--where ") + c.where);
    EXPECT_EQ(r.code, c.code) << c.where << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.where << ": " << r.err;
    if (c.code == 0) {
      ExpectAttached(c.invoice, out, c.billPage, c.where);
    } else {
      EXPECT_NE(r.err.find(c.invoice.string() + ": "), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(out)) << c.where;
    }
    fs::remove(out);
  }
}

// A signed file, as a signing tool leaves it: a signature field with its value, and the form
// saying signatures exist. qpdf writes its cross-reference table.
fs::path Signed(const bvr::test::CliTest& test, const fs::path& source) {
  const fs::path json = test.dir / "signed.json";
  const fs::path out = test.dir / "signed.pdf";
  EXPECT_EQ(Sh("qpdf " + Quoted(source.string()) + " --json-output " + Quoted(json.string())), 0);
  std::string text = bvr::test::Slurp(json);
  const std::string root = "\"/Type\": \"/Catalog\"";
  const std::size_t at = text.find(root);
  EXPECT_NE(at, std::string::npos);
  text.insert(at,
              "\"/AcroForm\": {\"/SigFlags\": 3, \"/Fields\": [{\"/FT\": \"/Sig\", \"/T\": "
              "\"u:Signature1\", \"/V\": {\"/Type\": \"/Sig\", \"/Filter\": "
              "\"/Adobe.PPKLite\", \"/Contents\": \"b:00\"}}]}, ");
  std::ofstream(json) << text;
  EXPECT_EQ(Sh("qpdf --json-input " + Quoted(json.string()) + " " + Quoted(out.string())), 0);
  return out;
}

TEST_F(QrAttachTest, FilesThatCannotTakeABillAreRefusedAndNothingIsWritten) {
  const fs::path invoice = Ghostscript("invoice", {{"Invoice 4711"}});
  const fs::path locked = dir / "locked.pdf";
  ASSERT_EQ(Sh("qpdf --encrypt secret owner 256 -- " + Quoted(invoice.string()) + " " +
               Quoted(locked.string())),
            0);
  std::string bytes = bvr::test::Slurp(invoice);
  const std::string garbage = Write("garbage.pdf", "%PDF-1.7\n" + std::string(3000, '#'));
  const std::string truncated = Write("cut.pdf", bytes.substr(0, 200));
  struct Case {
    std::string invoice;
    const char* message;
  };
  const Case cases[] = {
      {locked.string(), "encrypted: the PDF needs a password to open"},
      {Signed(*this, invoice).string(), "signed: a bill added would break the signature"},
      {garbage, "damaged beyond repair: "},
      {truncated, "damaged beyond repair: "},
      {Write("text.pdf", "just words"), "not a PDF"},
  };
  for (const Case& c : cases) {
    const fs::path out = dir / "out.pdf";
    const bvr::test::CliResult r = Attach(c.invoice, out);
    EXPECT_EQ(r.code, 1) << c.invoice << ": " << r.err;
    EXPECT_NE(r.err.find(c.invoice + ": " + c.message), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out)) << c.invoice;
  }
}

TEST_F(QrAttachTest, RepairableAndOwnerPasswordFilesTakeTheBill) {
  const fs::path invoice = Ghostscript("invoice", {{"Invoice 4711"}});
  // An owner password restricting changes and copying: the output keeps them.
  const fs::path owner = dir / "owner.pdf";
  ASSERT_EQ(Sh("qpdf --encrypt '' owner 256 --modify=none --extract=n -- " +
               Quoted(invoice.string()) + " " + Quoted(owner.string())),
            0);
  // A broken cross-reference table, which readers rebuild.
  std::string bytes = bvr::test::Slurp(invoice);
  const std::size_t startxref = bytes.rfind("startxref");
  ASSERT_NE(startxref, std::string::npos);
  bytes.replace(startxref, std::string::npos, "startxref\n999999\n%%EOF\n");
  const std::string broken = Write("broken.pdf", bytes);
  // No /Size in the trailer either: the written file must have it.
  const std::size_t size = bytes.rfind("/Size ");
  ASSERT_NE(size, std::string::npos);
  bytes.replace(size, bytes.find_first_of(" /", size + 6) - size, "");
  const std::string sizeless = Write("sizeless.pdf", bytes);
  for (const fs::path& source : {owner, fs::path(broken), fs::path(sizeless)}) {
    const fs::path out = dir / "out.pdf";
    const bvr::test::CliResult r = Attach(source, out);
    ASSERT_EQ(r.code, 0) << source << ": " << r.err;
    ExpectAttached(invoice, out, 1, source.string());
    fs::remove(out);
  }
  const fs::path out = dir / "out.pdf";
  ASSERT_EQ(Attach(owner, out).code, 0);
  const std::string shown =
      bvr::test::ShOut("qpdf --show-encryption " + Quoted(out.string()), scratch());
  EXPECT_NE(shown.find("modify anything: not allowed"), std::string::npos) << shown;
  EXPECT_NE(shown.find("extract for any purpose: not allowed"), std::string::npos) << shown;
}

TEST_F(QrAttachTest, BatchChecksEveryInvoiceFirstThenWritesEachOrOneCombined) {
  const fs::path invoices = dir / "invoices";
  fs::create_directories(invoices);
  const fs::path one = Ghostscript("invoices/a", {{"Invoice A"}});
  const fs::path three =
      Ghostscript("invoices/b", {{"Invoice B 1/3"}, {"Invoice B 2/3"}, {"Invoice B 3/3", true}});
  const fs::path locked = dir / "invoices/c.pdf";
  ASSERT_EQ(Sh("qpdf --encrypt secret owner 256 -- " + Quoted(one.string()) + " " +
               Quoted(locked.string())),
            0);
  const std::string bill = Write("template.json", kBill);
  const auto batch = [&](const std::string& rows, const std::string& output) {
    return Run("batch --kind qr --bill " + Quoted(bill) + " --csv " +
               Quoted(Write("rows.csv", rows)) + " --attach-column pdf " + output);
  };
  const std::string header = "pdf;amount;reference\n";
  const std::string goodRows = header + "invoices/a.pdf;10.00;210000000003139471430009017\n" +
                               "invoices/b.pdf;20.00;000008207791225857421286694\n";

  const bvr::test::CliResult bad =
      batch(goodRows + "invoices/c.pdf;30.00;210000000003139471430009017\n" +
                "invoices/none.pdf;30.00;210000000003139471430009017\n",
            "-o " + Quoted((dir / "out/").string()));
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("row 3, pdf : encrypted: the PDF needs a password to open"),
            std::string::npos)
      << bad.err;
  EXPECT_NE(bad.err.find("row 4, pdf : "), std::string::npos) << bad.err;
  EXPECT_EQ(bad.err.find("row 1,"), std::string::npos) << bad.err;
  EXPECT_FALSE(fs::exists(dir / "out"));

  const bvr::test::CliResult each = batch(goodRows, "-o " + Quoted((dir / "out/").string()));
  ASSERT_EQ(each.code, 0) << each.err;
  const std::string payloadA = bvr::test::SymbolOnPage(dir / "out/a.pdf", 1, dir).text;
  const std::string payloadB = bvr::test::SymbolOnPage(dir / "out/b.pdf", 4, dir).text;
  EXPECT_NE(payloadA.find("\n10.00\nCHF\n"), std::string::npos) << payloadA;
  EXPECT_NE(payloadB.find("\n20.00\nCHF\n"), std::string::npos) << payloadB;
  EXPECT_EQ(bvr::test::PageCount(dir / "out/b.pdf", scratch()), 4);

  const fs::path combined = dir / "all.pdf";
  const bvr::test::CliResult all = batch(goodRows, "--combined " + Quoted(combined.string()));
  ASSERT_EQ(all.code, 0) << all.err;
  EXPECT_EQ(Sh("qpdf --check " + Quoted(combined.string()) + " >/dev/null 2>&1"), 0);
  EXPECT_EQ(bvr::test::PageCount(combined, scratch()), 5);
  EXPECT_EQ(bvr::test::SymbolOnPage(combined, 1, dir).text, payloadA);
  EXPECT_EQ(bvr::test::SymbolOnPage(combined, 5, dir).text, payloadB);
  EXPECT_EQ(bvr::test::PageText(combined, 3, dir / "s"), bvr::test::PageText(three, 2, dir / "s"));

  const bvr::test::CliResult over = batch(goodRows, "--combined " + Quoted(one.string()));
  EXPECT_EQ(over.code, 1);
  EXPECT_NE(over.err.find("row 1, pdf : Refusing to write \"" + one.string() +
                          "\": it is the input file"),
            std::string::npos)
      << over.err;
  EXPECT_EQ(over.err.find("row 2,"), std::string::npos) << over.err;

  const fs::path slice = dir / "slice.pdf";
  ASSERT_EQ(batch(goodRows, "--rows 2-2 --combined " + Quoted(slice.string())).code, 0);
  EXPECT_EQ(bvr::test::PageCount(slice, scratch()), 4);
  EXPECT_EQ(bvr::test::SymbolOnPage(slice, 4, dir).text, payloadB);
}

}  // namespace
