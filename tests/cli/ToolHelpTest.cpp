// bvrslip's own help and its answer to commands it does not know.
#include <gtest/gtest.h>

#include "CliTestSupport.h"

namespace bvr::test {
namespace {

using ToolHelp = CliTest;

TEST_F(ToolHelp, ListsEveryCommandAndShowsOneCommandsUsage) {
  const CliResult all = Run("--help");
  EXPECT_EQ(all.code, 0);
  for (const char* command : {"batch", "check", "format", "numbers", "render"}) {
    EXPECT_NE(all.out.find(std::string("usage: bvrslip ") + command), std::string::npos) << command;
  }
  const CliResult one = Run("render --help");
  EXPECT_EQ(one.code, 0);
  EXPECT_EQ(one.out.rfind("usage: bvrslip render ", 0), 0u) << one.out;
  EXPECT_EQ(one.out.find("numbers"), std::string::npos);
}

TEST_F(ToolHelp, VersionIsTheProjectsAndGoesToStandardOutput) {
  const CliResult version = Run("--version");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, std::string("bvrslip ") + BVR_VERSION + "\n");
  EXPECT_EQ(version.err, "");
}

TEST_F(ToolHelp, UnknownOrMissingCommandsAreUsageErrors) {
  const CliResult unknown = Run("print");
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("unknown command 'print'"), std::string::npos) << unknown.err;
  EXPECT_EQ(Run("").code, 2);
}

}  // namespace
}  // namespace bvr::test
