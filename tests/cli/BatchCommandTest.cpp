// bvrslip batch, run as a subprocess without a display; its PDFs read back with poppler.
#include <gtest/gtest.h>

#include "CliTestSupport.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Result = bvr::test::CliResult;
using bvr::test::Slurp;

struct BatchTest : bvr::test::CliTest {
  Result Run(const std::string& args) const { return CliTest::Run("batch " + args); }

  fs::path Csv(const std::string& text) const {
    const fs::path path = dir / "payments.csv";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string Tool(const std::string& command) const {
    const fs::path out = dir / "tool.txt";
    EXPECT_EQ(std::system((command + " >" + out.string() + " 2>/dev/null").c_str()), 0) << command;
    std::string text = Slurp(out);
    fs::remove(out);
    return text;
  }
  // x, y of the coding line's first character on page 1, points.
  std::pair<double, double> CodingLineStart(const fs::path& pdf) const {
    const std::string html = Tool("pdftotext -bbox -f 1 -l 1 " + pdf.string() + " -");
    // The coding line starts with the amount code's "01" right before the amount digits and
    // is drawn one character a word: find the word that precedes ten more single digits.
    static const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re");
    struct W {
      double x, y;
      std::string t;
    };
    std::vector<W> words;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word);
         it != std::sregex_iterator(); ++it) {
      words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
    }
    for (std::size_t i = 0; i + 13 < words.size(); ++i) {
      std::string run;
      for (std::size_t k = i; k < i + 14; ++k) {
        run += words[k].t;
      }
      if (run == "0100001000004&gt;") {
        return {words[i].x, words[i].y};
      }
    }
    ADD_FAILURE() << "no coding line in " << pdf;
    return {0, 0};
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

std::string NoBlanks(std::string s) {
  std::erase_if(s, [](char c) { return c == ' ' || c == '\n'; });
  return s;
}

const char* const kTwoRows =
    "invoice,amount,payer1,payer2,payer3\n"
    "45687,1000,Monsieur,\"Dupont, Jean\",\"Chemin des Vignes 7\n2000 Neuchâtel\"\n"
    "12,12.5,Madame,Ada Muster,Rue du Lac 1\n";

TEST_F(BatchTest, OnePagePerRowWithQuotedAndMultiLinePayers) {
  const fs::path pdf = dir / "out.pdf";
  const Result r = Run("--csv " + Csv(kTwoRows).string() + " -o " + pdf.string());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(Tool("pdfinfo " + pdf.string()).find("Pages:           2\n"), std::string::npos);
  const std::string first = Tool("pdftotext -raw -f 1 -l 1 " + pdf.string() + " -");
  // The quoted comma stays in its line; the embedded line break starts a new line.
  EXPECT_NE(first.find("Monsieur\nDupont, Jean\nChemin des Vignes 7\n2000 Neuchâtel\n"),
            std::string::npos)
      << first;
  EXPECT_NE(NoBlanks(first).find("0100001000004>001234560000000000000456878+019876544>"),
            std::string::npos);
  const std::string second = Tool("pdftotext -raw -f 2 -l 2 " + pdf.string() + " -");
  EXPECT_NE(second.find("Ada Muster"), std::string::npos);
  EXPECT_EQ(second.find("Dupont"), std::string::npos);
  EXPECT_NE(NoBlanks(second).find("0100000012505>"), std::string::npos);
}

TEST_F(BatchTest, ABadRowAnywhereWritesNothing) {
  struct Row {
    std::string csv;
    std::string message;
  };
  std::string many = "invoice,amount\n";
  for (int i = 1; i <= 300; ++i) {
    many += std::to_string(i) + ",10\n";
  }
  const Row rows[] = {
      {many + "301,123456789\n",
       "row 301 (line 302), column amount: 123456789 : Montant trop grand"},
      {many + "30x,1\n", "row 301 (line 302), column invoice: '30x' is not a valid integer value"},
      {many + "302,ten\n", "row 301 (line 302), column amount: "},
      {"invoice,amount\n1,1\n\"2,1\n",
       "row 2 (line 3), column invoice: the quote opened on line 3 "},
      {"invoice,payer1\n1,a\n", "CSV header: "},
      {"invoice,amount\n", "CSV: no payment after the header"},
  };
  const fs::path pdf = dir / "out.pdf";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    const Result r = Run("--csv " + Csv(row.csv).string() + " -o " + pdf.string());
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    EXPECT_EQ(Files(), std::vector<std::string>{"payments.csv"});
  }
}

TEST_F(BatchTest, SettingModeNeedsOnlyAReadableCsv) {
  const fs::path pdf = dir / "out.pdf";
  const fs::path csv = Csv("invoice,amount\n1x,123456789\n2,1\n");
  EXPECT_EQ(Run("--csv " + csv.string() + " -o " + pdf.string()).code, 1);
  EXPECT_FALSE(fs::exists(pdf));
  const Result r = Run("--setting-mode --csv " + csv.string() + " -o " + pdf.string());
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(Tool("pdfinfo " + pdf.string()).find("Pages:           2\n"), std::string::npos);
}

TEST_F(BatchTest, UsageErrors) {
  const std::string csv = Csv(kTwoRows).string();
  const std::string out = (dir / "out.pdf").string();
  for (const std::string& args :
       {"-o " + out, "--csv " + csv, "--csv " + csv + " -o " + out + " --page a5",
        "--csv " + csv + " -o " + out + " --offset 1.5,2", "--csv " + csv + " -o " + out + " x"}) {
    SCOPED_TRACE(args);
    const Result r = Run(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage: bvrslip batch --csv"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST_F(BatchTest, SlipPagesHaveTheFormsSize) {
  const fs::path pdf = dir / "slip.pdf";
  ASSERT_EQ(Run("--page slip --csv " + Csv(kTwoRows).string() + " -o " + pdf.string()).code, 0);
  const std::string info = Tool("pdfinfo " + pdf.string());
  // 210 x 105.8 mm exactly, not the whole points Qt rounds page sizes to.
  double width = 0;
  double height = 0;
  const auto at = info.find("Page size:");
  ASSERT_NE(at, std::string::npos) << info;
  ASSERT_EQ(std::sscanf(info.c_str() + at, "Page size: %lf x %lf pts", &width, &height), 2);
  EXPECT_NEAR(width, 595.28, 0.005);
  EXPECT_NEAR(height, 299.91, 0.005);
  EXPECT_NE(info.find("Pages:           2\n"), std::string::npos);
  const std::string text = NoBlanks(Tool("pdftotext -raw -f 1 -l 1 " + pdf.string() + " -"));
  EXPECT_NE(text.find("0100001000004>001234560000000000000456878+019876544>"), std::string::npos);
  EXPECT_EQ(text.find("Exemple"), std::string::npos);  // the invoice's own text stays out
}

TEST_F(BatchTest, OffsetMovesTheCodingLineByExactlyTheOffset) {
  const std::string csv = Csv(kTwoRows).string();
  constexpr double kPointsPerTenth = 72.0 / 254.0;
  for (const char* page : {"invoice", "slip"}) {
    SCOPED_TRACE(page);
    const fs::path plain = dir / "plain.pdf";
    const fs::path moved = dir / "moved.pdf";
    ASSERT_EQ(Run("--page " + std::string(page) + " --csv " + csv + " -o " + plain.string()).code,
              0);
    ASSERT_EQ(Run("--offset 37,-12 --page " + std::string(page) + " --csv " + csv + " -o " +
                  moved.string())
                  .code,
              0);
    const auto [x0, y0] = CodingLineStart(plain);
    const auto [x1, y1] = CodingLineStart(moved);
    EXPECT_NEAR(x1 - x0, 37 * kPointsPerTenth, 0.01);
    EXPECT_NEAR(y1 - y0, -12 * kPointsPerTenth, 0.01);
  }
}

// Orange pixels of page 1 at 30 dpi.
int OrangePixels(const BatchTest& t, const fs::path& pdf) {
  const fs::path base = t.dir / "page";
  t.Tool("pdftoppm -r 30 -f 1 -l 1 -singlefile " + pdf.string() + " " + base.string());
  const std::string ppm = Slurp(base.string() + ".ppm");
  std::istringstream in(ppm);
  std::string magic;
  int width = 0;
  int height = 0;
  int maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  EXPECT_EQ(magic, "P6");
  const auto start = static_cast<std::size_t>(in.tellg());
  int orange = 0;
  for (std::size_t i = start; i + 2 < ppm.size(); i += 3) {
    const int r = static_cast<unsigned char>(ppm[i]);
    const int g = static_cast<unsigned char>(ppm[i + 1]);
    const int b = static_cast<unsigned char>(ppm[i + 2]);
    if (r > 180 && r - b > 40 && g > b && r > g) {
      ++orange;
    }
  }
  EXPECT_EQ(ppm.size() - start, static_cast<std::size_t>(width * height * 3));
  return orange;
}

TEST_F(BatchTest, WithFormDrawsTheFormUnderTheText) {
  const std::string csv = Csv(kTwoRows).string();
  for (const char* page : {"invoice", "slip"}) {
    SCOPED_TRACE(page);
    const fs::path plain = dir / "plain.pdf";
    const fs::path form = dir / "form.pdf";
    ASSERT_EQ(Run("--page " + std::string(page) + " --csv " + csv + " -o " + plain.string()).code,
              0);
    ASSERT_EQ(
        Run("--with-form --page " + std::string(page) + " --csv " + csv + " -o " + form.string())
            .code,
        0);
    EXPECT_EQ(OrangePixels(*this, plain), 0);
    // The form covers most of a slip page and a third of an invoice page.
    EXPECT_GT(OrangePixels(*this, form), 10000);
    // Painted first: the text is still there, on top.
    const std::string text = NoBlanks(Tool("pdftotext -raw -f 1 -l 1 " + form.string() + " -"));
    EXPECT_NE(text.find("0100001000004>001234560000000000000456878+019876544>"), std::string::npos);
    // Vector drawing: no image in the PDF.
    EXPECT_EQ(Tool("pdfimages -list " + form.string()).find(" image "), std::string::npos);
  }
}

TEST_F(BatchTest, ProgressOnlyOnATerminal) {
  const std::string csv = Csv(kTwoRows).string();
  const fs::path pdf = dir / "out.pdf";
  const Result r = Run("--csv " + csv + " -o " + pdf.string());
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.err.find("pages"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;
  // script(1) gives the tool a terminal for stderr and copies what it shows.
  const std::string shown =
      Tool("script -qec \"env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(BVR_CLI) +
           " batch --csv " + csv + " -o " + pdf.string() + "\" /dev/null");
  EXPECT_NE(shown.find("\r  2/2 pages  "), std::string::npos) << shown;
}

}  // namespace

namespace {

TEST_F(BatchTest, OutputThatWouldDestroyAFileIsRefused) {
  const fs::path csv = Csv(kTwoRows);
  fs::create_symlink(csv, dir / "link.pdf");
  ASSERT_EQ(::mkfifo((dir / "fifo.pdf").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.pdf");
  const fs::path layout = dir / "layout.pdf";
  std::ofstream(layout) << "object X: TBvrProperties\nend\n";
  const struct {
    std::string args;
    std::string message;
  } cases[] = {
      {"-o " + csv.string(), "Refusing to write"},  // usage: not .pdf, exit 2 checked below
      {"-o " + (dir / "link.pdf").string(), "it is the input file"},
      {"-o " + layout.string() + " --layout " + layout.string(), "it is the input file"},
      {"-o " + (dir / "fifo.pdf").string(), "is not a regular file"},
      {"-o " + (dir / "folder.pdf").string(), "is not a regular file"},
  };
  for (std::size_t i = 1; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].args);
    const Result r = Run("--csv " + csv.string() + " " + cases[i].args);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(cases[i].message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Run("--csv " + csv.string() + " " + cases[0].args).code, 2);
  EXPECT_EQ(Slurp(csv), kTwoRows);
  EXPECT_TRUE(fs::is_symlink(dir / "link.pdf"));
  EXPECT_TRUE(fs::is_fifo(dir / "fifo.pdf"));
}

TEST_F(BatchTest, ALayoutFaultIsTheLayouts) {
  const fs::path layout = dir / "bad.BVR";
  std::ofstream(layout) << "object X: TBvrProperties\n  Account.number = '01-987654-5'\nend\n";
  const Result r = Run("--csv " + Csv(kTwoRows).string() + " --layout " + layout.string() + " -o " +
                       (dir / "out.pdf").string());
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.rfind("--layout " + layout.string() + ": ", 0), 0u) << r.err;
}

}  // namespace

namespace {

TEST_F(BatchTest, AFileSizeLimitIsAMessageNotAKill) {
  std::string many = "invoice,amount\n";
  for (int i = 1; i <= 200; ++i) {
    many += std::to_string(i) + ",10\n";
  }
  const fs::path pdf = dir / "out.pdf";
  std::ofstream(pdf) << "old";
  // ulimit in the shell that starts the tool: a real setrlimit in a child.
  const std::string tool = BVR_CLI;
  const Result r = CliTest::Run("--help >/dev/null; ulimit -f 20; " + tool + " batch --csv " +
                                Csv(many).string() + " -o " + pdf.string());
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_NE(r.err.find("Cannot write"), std::string::npos) << r.err;
  EXPECT_EQ(Files(), (std::vector<std::string>{"out.pdf", "payments.csv"}));
  EXPECT_EQ(Slurp(pdf), "old");
}

}  // namespace

namespace {

TEST_F(BatchTest, Windows1252SemicolonCsvPrintsItsNames) {
  const std::string csv = Csv("invoice;amount;payer1;payer2\r\n45687;1000;Hans M\xFC"
                              "ller;\"Zo\xEB; Rue 1\"\r\n")
                              .string();
  const fs::path pdf = dir / "out.pdf";
  const struct {
    std::string options;
    int code;
    std::string err;  // what standard error says, whole
  } cases[] = {
      {"", 0,
       "bvrslip batch: " + csv +
           " is not UTF-8, read as Windows-1252 (--encoding utf-8 "
           "to refuse it)\n"},
      {"--encoding windows-1252", 0, ""},
      {"--encoding utf-8", 1, "row 1 (line 2), column payer1: byte 0xFC is not UTF-8\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    fs::remove(pdf);
    const Result r = Run(c.options + " --csv " + csv + " -o " + pdf.string());
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.err, c.err);
    if (c.code == 0) {
      const std::string text = Tool("pdftotext -raw -f 1 -l 1 " + pdf.string() + " -");
      EXPECT_NE(text.find("Hans M\xC3\xBCller\nZo\xC3\xAB; Rue 1\n"), std::string::npos) << text;
    } else {
      EXPECT_FALSE(fs::exists(pdf));
    }
  }
  EXPECT_EQ(Run("--encoding latin9 --csv " + csv + " -o " + pdf.string()).code, 2);
}

}  // namespace

// Slices printed by separate runs are the whole run's pages, word for word and point for
// point; a slice is refused where the whole run would be, and a bad range is a usage error.
TEST_F(BatchTest, RowSlicesGiveTheWholeRunsPages) {
  std::string text = "invoice,amount,payer1,payer2\n";
  for (int i = 1; i <= 12; ++i) {
    text += std::to_string(45000 + i) + "," + std::to_string(i * 11) + ".05,Madame,Ada " +
            std::to_string(i) + "\n";
  }
  const std::string csv = Csv(text).string();
  const fs::path whole = dir / "whole.pdf";
  ASSERT_EQ(Run("--csv " + csv + " -o " + whole.string()).code, 0);
  const auto page = [&](const fs::path& pdf, int n) {
    std::string words = Tool("pdftotext -bbox -f " + std::to_string(n) + " -l " +
                             std::to_string(n) + " " + pdf.string() + " -");
    return words.substr(words.find("<page"));  // without the file's title and metadata
  };
  const struct Slice {
    std::string rows;
    int from, to;
  } slices[] = {{"1-5", 1, 5}, {"6-12", 6, 12}, {"12-", 12, 12}, {"11-40", 11, 12}};
  for (const Slice& slice : slices) {
    SCOPED_TRACE(slice.rows);
    const fs::path part = dir / "part.pdf";
    ASSERT_EQ(Run("--rows " + slice.rows + " --csv " + csv + " -o " + part.string()).code, 0);
    EXPECT_NE(Tool("pdfinfo " + part.string())
                  .find("Pages:           " + std::to_string(slice.to - slice.from + 1) + "\n"),
              std::string::npos);
    for (int n = slice.from; n <= slice.to; ++n) {
      EXPECT_EQ(page(part, n - slice.from + 1), page(whole, n)) << "row " << n;
    }
  }
  for (const std::string bad : {"0-3", "5-2", "x", "3", "-4", "1-2-3"}) {
    const Result r = Run("--rows " + bad + " --csv " + csv + " -o " + (dir / "bad.pdf").string());
    EXPECT_EQ(r.code, 2) << bad;
    EXPECT_NE(r.err.find("--rows takes FROM-TO"), std::string::npos) << r.err;
  }
  const Result beyond = Run("--rows 13- --csv " + csv + " -o " + (dir / "bad.pdf").string());
  EXPECT_EQ(beyond.code, 1);
  EXPECT_NE(beyond.err.find("--rows: the file has 12 rows, none from row 13"), std::string::npos)
      << beyond.err;
  // A bad row outside the slice fails the slice too: a split run prints all or nothing.
  const std::string badCsv = Csv(text + "45099,abc,Madame,Ada\n").string();
  EXPECT_EQ(Run("--rows 1-2 --csv " + badCsv + " -o " + (dir / "bad.pdf").string()).code, 1);
  EXPECT_FALSE(fs::exists(dir / "bad.pdf"));
}
