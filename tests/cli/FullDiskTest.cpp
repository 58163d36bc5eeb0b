// A disk that refuses data, for real: a tiny tmpfs and a file-size limit on the tool's process.
// Every output must fail at once with the path and the system's reason, and leave no file.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include "CliTestSupport.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 2000;

struct Output {
  const char* name;
  std::string args;  // before -o
  bool batch;
};

struct FullDiskTest : bvr::test::CliTest {
  std::string csv;

  void SetUp() override {
    CliTest::SetUp();
    std::string text = "invoice,amount,payer1,payer2\n";
    for (int i = 1; i <= kRows; ++i) {
      text += std::to_string(45000 + i) + "," + std::to_string(i % 900 + 1) +
              ".50,Jean Dupont,Rue " + std::to_string(i) + "\n";
    }
    csv = Write("payments.csv", text);
  }

  // The tool under prefix (a limit), in the C locale so that the reason reads the same
  // everywhere.
  bvr::test::CliResult RunUnder(const std::string& prefix, const std::string& args) const {
    return Run("--help >/dev/null; env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C " +
               prefix + " " + BVR_CLI + " " + args);
  }

  // stderr must be exactly the refusal; a batch says where it stopped, well before the end.
  void ExpectRefused(const bvr::test::CliResult& r, const fs::path& out, const std::string& reason,
                     bool batch) const {
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string head = "Cannot write \"" + out.string() + "\": " + reason;
    if (!batch) {
      EXPECT_EQ(r.err, head + "\n");
      return;
    }
    const std::string stop = " (stopped at page ";
    const std::string tail = " of " + std::to_string(kRows) + ")\n";
    ASSERT_EQ(r.err.rfind(head + stop, 0), 0u) << r.err;
    ASSERT_GT(r.err.size(), head.size() + stop.size() + tail.size()) << r.err;
    ASSERT_EQ(r.err.substr(r.err.size() - tail.size()), tail) << r.err;
    const std::string page = r.err.substr(head.size() + stop.size(),
                                          r.err.size() - head.size() - stop.size() - tail.size());
    ASSERT_EQ(page.find_first_not_of("0123456789"), std::string::npos) << r.err;
    // 8 KiB hold a few pages; a batch that went on would stop at the last one.
    EXPECT_LT(std::stoi(page), 50) << r.err;
  }

  std::vector<Output> Outputs() const {
    return {
        {"out.pdf", "render", false},
        {"out.png", "render --dpi 100", false},
        {"out.pdf", "batch --csv " + csv, true},
    };
  }
};

TEST_F(FullDiskTest, AFileSizeLimitIsReportedWithPathAndReason) {
  for (const Output& o : Outputs()) {
    SCOPED_TRACE(o.args);
    const fs::path out = dir / o.name;
    ExpectRefused(RunUnder("prlimit --fsize=8192", o.args + " -o " + out.string()), out,
                  "File too large", o.batch);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  }
}

// Unmounted again however the test ends.
struct Mount {
  fs::path at;
  bool mounted = false;
  Mount(const fs::path& where, const char* options) : at(where) {
    fs::create_directories(at);
    mounted = ::mount("tmpfs", at.c_str(), "tmpfs", 0, options) == 0;
  }
  Mount(const Mount&) = delete;
  Mount& operator=(const Mount&) = delete;
  ~Mount() {
    if (mounted) {
      ::umount(at.c_str());
    }
  }
};

TEST_F(FullDiskTest, AFullDiskIsReportedWithPathAndReason) {
  const Mount disk(dir / "disk", "size=8k");
  if (!disk.mounted) {
    GTEST_SKIP() << "cannot mount a tmpfs here (needs root or CAP_SYS_ADMIN)";
  }
  for (const Output& o : Outputs()) {
    SCOPED_TRACE(o.args);
    const fs::path out = disk.at / o.name;
    ExpectRefused(RunUnder("", o.args + " -o " + out.string()), out, "No space left on device",
                  o.batch);
    // Nothing left behind: the temporary file is gone and its space free again.
    EXPECT_TRUE(fs::is_empty(disk.at));
    EXPECT_EQ(fs::space(disk.at).available, fs::space(disk.at).capacity);
  }
}

}  // namespace
