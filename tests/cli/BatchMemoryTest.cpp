// The batch's memory does not grow with its rows: the tool's peak resident size (wait4) for a
// CSV of 200 rows and for one of 20,000 long rows (about 20 MB) whose last row is bad, so that
// the whole file is read and checked and nothing printed.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CliTestSupport.h"

#include <string>

namespace {

struct BatchMemoryTest : bvr::test::CliTest {
  // Peak resident size of the tool checking rows rows, in KB; the run must fail on the last row.
  long PeakKb(int rows) const {
    const std::string payer(300, 'x');
    std::string csv = "invoice,amount,payer1,payer2,payer3\n";
    for (int i = 1; i < rows; ++i) {
      csv += std::to_string(i) + ",10.50," + payer + "," + payer + "," + payer + "\n";
    }
    csv += "bad,1,,,\n";
    const std::string path = Write("p" + std::to_string(rows) + ".csv", csv);
    const std::string out = (dir / "out.pdf").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::freopen("/dev/null", "w", stdout);
      ::freopen("/dev/null", "w", stderr);
      ::execl(BVR_CLI, BVR_CLI, "batch", "--csv", path.c_str(), "-o", out.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    EXPECT_EQ(::wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    return usage.ru_maxrss;
  }
};

TEST_F(BatchMemoryTest, FlatWithTheNumberOfRows) {
  const long small = PeakKb(200);
  const long large = PeakKb(20000);  // 100 times the rows, 18 MB more text
  EXPECT_GT(small, 0);
  // Holding the file and its payments would add some 35 MB.
  EXPECT_LT(large - small, 4 * 1024) << small << " KB against " << large << " KB";
}

}  // namespace
