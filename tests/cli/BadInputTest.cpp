// Bad input the tool must refuse with a usage error or a clear message: values that are not
// whole numbers, JSON that is not UTF-8 text, a CSV changed while it is printed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "CliTestSupport.h"

namespace bvr {
namespace {

namespace fs = std::filesystem;

class BadInput : public test::CliTest {};

TEST_F(BadInput, DpiTakesWholeNumbersOnly) {
  const struct {
    const char* dpi;
    int code;
  } cases[] = {{"1e2", 2},  {"300.5", 2}, {" 300", 2}, {"300 ", 2}, {"+300", 2},
               {"0x64", 2}, {"", 2},      {"35", 2},   {"601", 2},  {"100", 0}};
  for (const auto& c : cases) {
    const std::string png = (dir / "out.png").string();
    EXPECT_EQ(Run({"render", "--dpi", c.dpi, "-o", png}).code, c.code) << "'" << c.dpi << "'";
    const std::string bill = std::string(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-01.json";
    EXPECT_EQ(Run({"qr", "render", "--bill", bill, "--dpi", c.dpi, "-o", png}).code, c.code)
        << "qr '" << c.dpi << "'";
  }
}

TEST_F(BadInput, BillJsonIsUtf8TextWithoutNul) {
  const std::string valid =
      test::Slurp(fs::path(BVR_SOURCE_DIR) / "tests/qrbill/data/example-01.json");
  const auto utf16le = [](const std::string& text) {
    std::string wide;
    for (char c : text) {
      wide += c;
      wide += '\0';
    }
    return wide;
  };
  const struct {
    const char* name;
    std::string bytes;
    int code;
    const char* message;  // a part of standard error
  } cases[] = {
      {"NUL then garbage", valid + std::string("\0NOT JSON", 9), 1, "octet NUL"},
      {"NUL inside", std::string("{\"account\"\0: 1}", 15), 1, "ligne 1, colonne 11 : octet NUL"},
      {"UTF-16 LE with mark", "\xFF\xFE" + utf16le(valid), 1, "en UTF-16 (little-endian)"},
      {"UTF-16 LE", utf16le(valid), 1, "en UTF-16 (little-endian)"},
      {"UTF-16 BE with mark", std::string("\xFE\xFF\0{", 4), 1, "en UTF-16 (big-endian)"},
      {"UTF-32 LE", std::string("{\0\0\0}\0\0\0", 8), 1, "en UTF-32 (little-endian)"},
      {"invalid bytes echoed escaped", "{\"a\": \xFF\xFE\x1B[31m}", 1, "\\xFF"},
      {"UTF-8 mark", "\xEF\xBB\xBF" + valid, 0, ""},
  };
  for (const auto& c : cases) {
    const std::string path = Write("bill.json", c.bytes);
    const test::CliResult r = Run({"qr", "check", "--bill", path});
    EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(r.err.find('\x1B'), std::string::npos) << c.name;
    EXPECT_EQ(r.err.find("\xFF"), std::string::npos) << c.name;
  }
}

TEST_F(BadInput, APayloadWithAByteOrderMarkReadsAsABillDoes) {
  const std::string payload =
      test::Slurp(fs::path(BVR_SOURCE_DIR) / "tests/qrbill/data/example-01.payload");
  const std::string path = Write("bill.txt", "\xEF\xBB\xBF" + payload);
  const test::CliResult r = Run({"qr", "check", "--payload", path});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "ok\n");
}

// The batch's second pass reads the bytes the first checked: a row edited in place (same size)
// while the pages are drawn fails the batch, and no PDF is left.
TEST_F(BadInput, ACsvEditedBetweenThePassesFailsTheBatch) {
  const fs::path csv = dir / "payments.csv";
  {
    std::ofstream out(csv, std::ios::binary);
    out << "invoice,amount,payer1\n";
    for (int i = 0; i < 3000; ++i) {
      out << 10000 + i << ",1000.00,Ada Muster\n";
    }
  }
  const auto size = static_cast<long long>(fs::file_size(csv));
  const fs::path pdf = dir / "out.pdf";
  const fs::path err = dir / "err.txt";
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execl(BVR_CLI, BVR_CLI, "batch", "--csv", csv.c_str(), "--encoding", "utf-8", "-o",
            pdf.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // The second pass starts once the output is open (its temporary file beside the PDF); the
  // last row lies in the CSV's second 64 KiB piece, read some 2,600 pages later.
  bool edited = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!edited && std::chrono::steady_clock::now() < deadline) {
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
      const fs::path target = fs::read_symlink(fd.path(), error);
      if (!edited && target.parent_path() == dir && target != csv && target != err) {
        std::fstream file(csv, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(size - 19);  // the last row's amount: "1000.00" becomes "9000.00"
        file.put('9');
        edited = true;
      }
    }
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      FAIL() << "the batch ended before the edit: " << test::Slurp(err);
    }
  }
  ASSERT_TRUE(edited) << "the second pass was never seen";
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(test::Slurp(err), "CSV: the file changed while it was printed\n");
  EXPECT_FALSE(fs::exists(pdf));
}

}  // namespace
}  // namespace bvr
