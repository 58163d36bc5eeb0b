// bvrslip qr: the text of a bill, its problems (stderr only, exit 1), the references, the
// payment part on paper.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "CliTestSupport.h"

namespace bvr {
namespace {

class QrCommand : public test::CliTest {};

TEST_F(QrCommand, PayloadCheckAndReferences) {
  const std::string example = std::string(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-03.json";
  test::CliResult r = Run({"qr", "payload", "--bill", example});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 26), "SPC\n0200\n1\nCH5204835012345");
  EXPECT_EQ(r.out.substr(r.out.size() - 5), "\nEPD\n");
  r = Run({"qr", "reference", "--invoice", "45687"});
  EXPECT_EQ(r.out, "001234560000000000000456878\n");
  r = Run({"qr", "reference", "--scor", "539007547034"});
  EXPECT_EQ(r.out, "RF18539007547034\n");
}

TEST_F(QrCommand, InvalidBillPrintsEveryProblemOnStandardError) {
  const std::string bill = Write("bill.json", R"({"account": "CH12", "creditor": {},
    "currency": "USD"})");
  const test::CliResult r = Run({"qr", "payload", "--bill", bill});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "account : un IBAN CH ou LI compte 21 caractères, celui-ci 4\n"
            "creditor : obligatoire\n"
            "currency : CHF ou EUR attendu\n");
  EXPECT_EQ(Run(std::string("qr check")).code, 2);
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

TEST_F(QrCommand, RenderWritesEachFormatAndPage) {
  const std::string example = std::string(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-01.json";
  struct Case {
    std::vector<std::string> options;
    const char* file;
    std::string start;                    // the file's first bytes
    std::uint32_t width = 0, height = 0;  // PNG only
  };
  const Case cases[] = {
      {{}, "a.pdf", "%PDF"},
      {{"--page", "bill", "--language", "de"}, "b.PDF", "%PDF"},
      {{"--page", "bill", "--dpi", "100"}, "c.png", "\x89PNG", 827, 413},
      {{"--dpi", "50", "--no-separators"}, "d.png", "\x89PNG", 413, 585},
      {{"--language", "it"}, "e.png", "\x89PNG", 2480, 3508},
      {{"--page", "bill", "--language", "en"}, "f.svg", "<?xml"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"qr", "render", "--bill", example, "-o", (dir / c.file).string()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const test::CliResult r = Run(args);
    EXPECT_EQ(r.code, 0) << c.file << r.err;
    EXPECT_EQ(r.out, (dir / c.file).string() + "\n");
    const std::string bytes = test::Slurp(dir / c.file);
    EXPECT_EQ(bytes.substr(0, c.start.size()), c.start) << c.file;
    if (c.width != 0) {
      ASSERT_GT(bytes.size(), 24u);
      EXPECT_EQ(BigEndian(bytes, 16), c.width) << c.file;
      EXPECT_EQ(BigEndian(bytes, 20), c.height) << c.file;
    }
  }
}

TEST_F(QrCommand, RenderRefusesBadBillsAndOptionsWritingNothing) {
  const std::string example = std::string(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-03.json";
  const std::string invalid = Write("invalid.json", R"({"account": "CH12", "creditor": {},
    "currency": "CHF"})");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string err;  // its beginning
  };
  const Case cases[] = {
      {{"--bill", invalid}, 1, "account : un IBAN CH ou LI compte 21 caractères, celui-ci 4\n"},
      {{"--bill", example, "--page", "a5"}, 2, ""},
      {{"--bill", example, "--language", "rm"}, 2, ""},
      {{"--bill", example, "--dpi", "10"}, 2, ""},
      {{"--payload", example}, 2, ""},
      {{"--bill", example, "--invoice", "1"}, 2, ""},
  };
  for (const Case& c : cases) {
    for (const char* file : {"out.pdf", "out.png", "out.svg"}) {
      std::vector<std::string> args{"qr", "render", "-o", (dir / file).string()};
      args.insert(args.end(), c.args.begin(), c.args.end());
      const test::CliResult r = Run(args);
      EXPECT_EQ(r.code, c.code) << c.args[1] << " " << file << ": " << r.err;
      EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << file;
      EXPECT_EQ(r.out, "");
      EXPECT_FALSE(std::filesystem::exists(dir / file)) << c.args[1] << " " << file;
    }
  }
  EXPECT_EQ(Run({"qr", "render", "--bill", example, "-o", (dir / "out.jpg").string()}).code, 2);
  EXPECT_EQ(Run({"qr", "check", "--bill", example, "--page", "bill"}).code, 2);
}

// Every valid bill prints, whatever the output's resolution: long texts are fitted, and the
// check reports the rules only.
TEST_F(QrCommand, LongTextsPrintInEveryOutput) {
  const std::string W70 = std::string(70, 'W');
  const std::string longest = Write("long.json", R"({"account": "CH5204835012345671000",
    "creditor": {"name": ")" + W70 + R"(", "street": ")" +
                                                     W70 + R"(", "postcode": "1",
    "town": "B", "country": "CH"}, "currency": "CHF",
    "alternatives": [")" + std::string(100, 'W') + R"("]})");
  const std::vector<std::vector<std::string>> outputs = {
      {"out.pdf"}, {"out.svg"}, {"out.png", "--dpi", "150"}, {"out.png", "--dpi", "300"}};
  for (const std::vector<std::string>& output : outputs) {
    std::vector<std::string> args{"qr",    "render", "--bill",
                                  longest, "-o",     (dir / output[0]).string()};
    args.insert(args.end(), output.begin() + 1, output.end());
    const test::CliResult r = Run(args);
    EXPECT_EQ(r.code, 0) << output[0] << ": " << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir / output[0])) << output[0];
    std::filesystem::remove(dir / output[0]);
  }
  const test::CliResult check = Run({"qr", "check", "--bill", longest});
  EXPECT_EQ(check.code, 0) << check.err;
  EXPECT_EQ(check.out, "ok\n");
}

TEST_F(QrCommand, HelpOnEverySubcommand) {
  for (const char* sub : {"payload", "check", "render", "reference"}) {
    const test::CliResult r = Run({"qr", sub, "--help"});
    EXPECT_EQ(r.code, 0) << sub << ": " << r.err;
    EXPECT_NE(r.out.find("qr payload --bill FILE"), std::string::npos) << sub;
  }
}

}  // namespace
}  // namespace bvr
