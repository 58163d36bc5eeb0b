// The print options of render and batch and the printer commands, where they fail before any
// print server is asked: usage errors, and an unreachable server that leaves no file behind.
// Printing itself runs against a private server in tests/printing/cups-test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CliTestSupport.h"

namespace bvr::test {
namespace {

namespace fs = std::filesystem;

// No server at all, a socket path where none listens, and a configuration folder of the
// test's own; the tool runs in the test's folder, so that a file it left would show there.
struct PrintCommandTest : CliTest {
  void SetUp() override {
    CliTest::SetUp();
    ::setenv("CUPS_SERVER", (dir / "no-server.sock").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    previous = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(previous);
    ::unsetenv("CUPS_SERVER");
    ::unsetenv("XDG_CONFIG_HOME");
    CliTest::TearDown();
  }
  fs::path previous;
};

TEST_F(PrintCommandTest, OptionMistakesAreUsageErrorsBeforeAnyServer) {
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"render --printer pdf -o a.pdf", "-o and --printer exclude each other"},
      {"render --copies 2 -o a.pdf", "--copies and --no-printer-offset need --printer"},
      {"render --no-printer-offset -o a.pdf", "need --printer"},
      {"render --printer pdf --copies 0", "--copies takes a number from 1 to 999"},
      {"render --printer pdf --copies 1000", "--copies takes a number from 1 to 999"},
      {"render --printer pdf --copies 2x", "--copies takes a number from 1 to 999"},
      {"render --printer pdf --dpi 150", "--dpi is for PNG output"},
      {"render --printer ''", "--printer takes a queue name or default"},
      {"render", "missing -o OUT.pdf|OUT.png or --printer NAME"},
      {"render --offset 1.5,2 -o a.pdf", "--offset takes DX,DY"},
      {"batch --csv p.csv", "missing -o OUT.pdf or --printer NAME"},
      {"batch --csv p.csv --printer pdf -o a.pdf", "-o and --printer exclude each other"},
      {"printer-offset", "expected NAME [DX,DY]"},
      {"printer-offset pdf 1.5,2", "the offset is DX,DY in tenths of a millimetre"},
      {"printer-offset pdf 1,2 3", "expected NAME [DX,DY]"},
      {"printers pdf", "unexpected argument pdf"},
      {"calibrate", "expected one queue NAME"},
      {"calibrate pdf --measured 140", "--measured takes X,Y in millimetres"},
      {"calibrate pdf --measured 140,5mm", "--measured takes X,Y in millimetres"},
      {"calibrate pdf --measured-length 0", "--measured-length takes the mark's length"},
      {"calibrate pdf --measured-length -30", "--measured-length takes the mark's length"},
  };
  for (const auto& c : cases) {
    const CliResult result = Run(c.args);
    EXPECT_EQ(result.code, 2) << c.args << "\n" << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.args << "\n" << result.err;
  }
}

TEST_F(PrintCommandTest, AnUnreachableServerIsAFailureAndWritesNothing) {
  Write("p.csv", "invoice,amount,payer1\n45687,10.00,Ada\n");
  const char* commands[] = {
      "render --printer default",
      "batch --csv p.csv --printer pdf",
      "printers",
      "printer-offset pdf 1,2",
      "calibrate pdf",
      "calibrate pdf --measured 1,2",
  };
  for (const char* args : commands) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.code, 1) << args << "\n" << result.err;
    EXPECT_NE(result.err.find("print server"), std::string::npos) << args << "\n" << result.err;
    EXPECT_EQ(result.out, "") << args;
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
      files += entry.path().filename() != "p.csv" && entry.path().filename() != "stderr.txt";
    }
    EXPECT_EQ(files, 0u) << args << ": a file was left behind";
    EXPECT_FALSE(fs::exists(dir / "config")) << args << ": an offset was stored";
  }
}

}  // namespace
}  // namespace bvr::test
