// bvrslip render, run as a subprocess without a display.
#include <gtest/gtest.h>

#include "CliTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/DemoLayout.h"

namespace {

namespace fs = std::filesystem;

using Result = bvr::test::CliResult;
using bvr::test::Slurp;

struct RenderTest : bvr::test::CliTest {
  Result Run(const std::string& args) const { return CliTest::Run("render " + args); }

  std::string Text(const fs::path& pdf) const {
    const fs::path out = dir / "text.txt";
    std::system(("pdftotext -raw " + pdf.string() + " " + out.string()).c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path Layout(const std::string& account) const {
    std::string text(bvr::DemonstrationLayoutText());
    const std::string demo = "'01-987654-4'";
    text.replace(text.find(demo), demo.size(), "'" + account + "'");
    const fs::path path = dir / "layout.BVR";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
};

std::string NoBlanks(std::string s) {
  std::erase_if(s, [](char c) { return c == ' ' || c == '\n'; });
  return s;
}

TEST_F(RenderTest, DemonstrationInvoiceAsPdfAndPng) {
  const fs::path pdf = dir / "invoice.pdf";
  ASSERT_EQ(Run("-o " + pdf.string()).code, 0);
  EXPECT_NE(NoBlanks(Text(pdf)).find("0100001000004>001234560000000000000456878+019876544>"),
            std::string::npos);
  // The exact A4 size, not the whole points Qt rounds page sizes to.
  const fs::path info = dir / "info.txt";
  std::system(("pdfinfo " + pdf.string() + " > " + info.string()).c_str());
  EXPECT_NE(Slurp(info).find("Page size:       595.276 x 841.89 pts"), std::string::npos)
      << Slurp(info);
  const fs::path png = dir / "invoice.png";
  ASSERT_EQ(Run("--dpi 50 -o " + png.string()).code, 0);
  std::ifstream in(png, std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
}

TEST_F(RenderTest, PaymentOptionsReachThePage) {
  const fs::path pdf = dir / "invoice.pdf";
  ASSERT_EQ(
      Run("--invoice 12 --amount 12.5 --payer 'Madame' --payer 'Ada Muster' -o " + pdf.string())
          .code,
      0);
  const std::string text = Text(pdf);
  EXPECT_NE(text.find("Ada Muster"), std::string::npos);
  EXPECT_EQ(text.find("Jean Dupont"), std::string::npos);
  EXPECT_NE(NoBlanks(text).find("0100000012505>"), std::string::npos);

  ASSERT_EQ(Run("--no-amount -o " + pdf.string()).code, 0);
  EXPECT_NE(NoBlanks(Text(pdf)).find("042>001234560000000000000456878+019876544>"),
            std::string::npos);
}

// A credit note prints: its amount as the layout shows negative amounts, and the coding line
// without amount.
TEST_F(RenderTest, NegativeAmountPrintsWithTheCodeWithoutAmount) {
  const fs::path pdf = dir / "invoice.pdf";
  ASSERT_EQ(Run("--amount -12.5 -o " + pdf.string()).code, 0);
  std::string text = NoBlanks(Text(pdf));
  EXPECT_NE(text.find("5050-12-12"), std::string::npos) << text;
  EXPECT_NE(text.find("042>001234560000000000000456878+019876544>"), std::string::npos);

  std::string layout(bvr::DemonstrationLayoutText());
  layout.insert(layout.rfind("end"), "  Amount.ShowNegativeAmount = False\r\n");
  std::ofstream(dir / "hidden.BVR", std::ios::binary) << layout;
  ASSERT_EQ(
      Run("--layout " + (dir / "hidden.BVR").string() + " --amount -12.5 -o " + pdf.string()).code,
      0);
  text = NoBlanks(Text(pdf));
  EXPECT_NE(text.find("*****"), std::string::npos) << text;
  EXPECT_EQ(text.find("-12"), std::string::npos);
  EXPECT_NE(text.find("042>001234560000000000000456878+019876544>"), std::string::npos);
}

TEST_F(RenderTest, ErrorsExitOneAndLeaveNoFile) {
  struct Row {
    std::string args;
    std::string message;
  };
  const Row rows[] = {
      {"--amount 123456789", "123456789 : Montant trop grand"},
      {"--layout " + Layout("01-987654-5").string(), "Format du n° d'adhérent invalide"},
      {"--layout " + (dir / "missing.BVR").string(), "Cannot open file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args);
    for (const char* name : {"out.pdf", "out.png"}) {
      const Result r = Run(row.args + " -o " + (dir / name).string());
      EXPECT_EQ(r.code, 1);
      EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(dir / name));
    }
  }
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "stderr.txt" || name == "layout.BVR" || name == "text.txt") << name;
  }
}

TEST_F(RenderTest, SettingModeIgnoresInvalidNumbers) {
  const fs::path pdf = dir / "overlay.pdf";
  ASSERT_EQ(
      Run("--setting-mode --layout " + Layout("99-999999-0").string() + " -o " + pdf.string()).code,
      0);
  const std::string text = Text(pdf);
  EXPECT_NE(NoBlanks(text).find("042>123456789012345678901234567+019876544>"), std::string::npos);
  EXPECT_NE(text.find("largeur : 3 cm"), std::string::npos);
  EXPECT_EQ(text.find("01-987654-4"), std::string::npos);
}

TEST_F(RenderTest, UsageErrors) {
  for (const std::string args : {"", "-o out.txt", "--amount 1 --no-amount -o x.pdf",
                                 "--dpi 5 -o x.png", "--dpi 601 -o x.png", "--bogus -o x.pdf"}) {
    SCOPED_TRACE(args);
    const Result r = Run(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage: bvrslip render"), std::string::npos);
  }
}

}  // namespace
