// A batch ended by a signal while it writes: a real bvrslip process, a real signal once its
// temporary file exists. The process ends by that signal and leaves no file behind, both where
// the temporary file has no name and on a filesystem without unnamed files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CliTestSupport.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  int signal;
  bool unnamed;  // the filesystem gives unnamed temporary files
};

const Case kCases[] = {
    {"term_unnamed", SIGTERM, true}, {"int_unnamed", SIGINT, true}, {"hup_unnamed", SIGHUP, true},
    {"term_named", SIGTERM, false},  {"int_named", SIGINT, false},  {"hup_named", SIGHUP, false},
};

struct InterruptedWriteTest : bvr::test::CliTest, ::testing::WithParamInterface<Case> {
  // Whether pid holds the temporary file of out: a name beside it, or an unnamed file open in
  // its folder.
  bool WritesTemporaryFile(pid_t pid, const fs::path& out) const {
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().filename().string().rfind(out.filename().string() + ".", 0) == 0) {
        return true;
      }
    }
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
      const std::string to = fs::read_symlink(fd.path(), error).string();
      if (to.rfind(dir.string() + "/#", 0) == 0) {
        return true;
      }
    }
    return false;
  }
};

TEST_P(InterruptedWriteTest, LeavesNoFile) {
  std::string csv = "invoice,amount,payer1\n";
  for (int i = 1; i <= 50000; ++i) {
    csv += std::to_string(i) + ",10.50,Jean Dupont\n";
  }
  const std::string csvPath = Write("payments.csv", csv);
  const fs::path out = dir / "out.pdf";

  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // The signals as a shell would leave them to a command it runs in the foreground.
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
      ::signal(s, SIG_DFL);
    }
    ::freopen("/dev/null", "w", stdout);
    ::freopen("/dev/null", "w", stderr);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    if (!GetParam().unnamed) {
      ::setenv("LD_PRELOAD", NO_TMPFILE_SHIM, 1);
    }
    ::execl(BVR_CLI, BVR_CLI, "batch", "--csv", csvPath.c_str(), "-o", out.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  bool seen = false;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  while (!seen && std::chrono::steady_clock::now() < deadline) {
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      break;  // ended on its own: the batch was too quick
    }
    seen = WritesTemporaryFile(pid, out);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (seen) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // some pages into the file
    ASSERT_EQ(::kill(pid, GetParam().signal), 0);
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  } else {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(seen) << "no temporary file appeared";
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << status;
  EXPECT_EQ(WTERMSIG(status), GetParam().signal);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"payments.csv"});
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedWriteTest, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace

namespace {

// A finished write through either kind of temporary file: a new file gets the usual mode
// (0666 less the umask), a replaced one keeps its own, and nothing else is left.
struct FinishedWrite : bvr::test::CliTest, ::testing::WithParamInterface<bool> {};

TEST_P(FinishedWrite, KeepsModesAndLeavesOnlyTheOutput) {
  const std::string preload =
      GetParam() ? "" : std::string("LD_PRELOAD=") + bvr::test::Quoted(NO_TMPFILE_SHIM) + " ";
  const struct {
    const char* name;
    int oldMode;  // -1: no file before
    int mode;
  } cases[] = {{"new.pdf", -1, 0640}, {"private.pdf", 0600, 0600}, {"shared.pdf", 0664, 0664}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = dir / c.name;
    if (c.oldMode >= 0) {
      Write(c.name, "old");
      fs::permissions(out, static_cast<fs::perms>(c.oldMode));
    }
    const bvr::test::CliResult r = Run("--help >/dev/null; umask 027; " + preload + BVR_CLI +
                                       " render -o " + bvr::test::Quoted(out.string()));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(bvr::test::Slurp(out).substr(0, 5), "%PDF-");
    EXPECT_EQ(static_cast<int>(fs::status(out).permissions()), c.mode);
  }
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"new.pdf", "private.pdf", "shared.pdf"}));
}

INSTANTIATE_TEST_SUITE_P(Filesystems, FinishedWrite, ::testing::Bool(),
                         [](const auto& p) { return std::string(p.param ? "unnamed" : "named"); });

}  // namespace
