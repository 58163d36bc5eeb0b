// Runs the real bvrslip binary (BVR_CLI) in a shell, without a display, in a temporary
// directory of its own, and collects its exit code, standard output and standard error.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bvr::test {

struct CliResult {
  int code = -1;
  std::string out;
  std::string err;
};

// Single-quoted for the shell, so arguments may hold blanks and quotes.
inline std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) {
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return q + "'";
}

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("bvr-cli-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // arguments: the rest of the command line, in shell syntax. No display and no platform are
  // given: the tool must choose one itself.
  CliResult Run(const std::string& arguments) const {
    const std::filesystem::path errPath = dir / "stderr.txt";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                std::string(BVR_CLI) + " " + arguments + " 2>" +
                                Quoted(errPath.string());
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
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = Slurp(errPath);
    std::filesystem::remove(errPath);
    return result;
  }

  // Each argument quoted for the shell.
  CliResult Run(const std::vector<std::string>& arguments) const {
    std::string line;
    for (const std::string& a : arguments) {
      line += (line.empty() ? "" : " ") + Quoted(a);
    }
    return Run(line);
  }

 public:
  std::filesystem::path dir;
};

}  // namespace bvr::test
