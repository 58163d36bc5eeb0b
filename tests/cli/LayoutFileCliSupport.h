// Runs the real bvrslip binary on a layout file written to a temporary directory and
// collects its standard output (bytes), standard error and exit code.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace bvr::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class LayoutFileCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("bvr-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // args are passed through the shell unquoted: keep them free of spaces.
  CliResult Run(const std::string& args) {
    const std::string errPath = (dir_ / "stderr.txt").string();
    const std::string command = std::string(BVR_CLI) + " " + args + " 2>" + errPath;
    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
      ADD_FAILURE() << "cannot run " << command;
      return result;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
      result.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath, std::ios::binary);
    result.err.assign(std::istreambuf_iterator<char>(err), {});
    return result;
  }

  std::filesystem::path dir_;
};

}  // namespace bvr::test
