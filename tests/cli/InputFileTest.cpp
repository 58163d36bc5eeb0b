// Inputs that are not ordinary files, or are far too large, for every command that reads one:
// refused at once with the path and the reason, never read until memory runs out, no output.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include "CliTestSupport.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Reader {
  const char* name;
  std::string before;  // arguments before the input path
  std::string after;   // and after it; OUT stands for the output path
  int limitMiB;
};

const Reader kReaders[] = {
    {"check", "check", "", 4},
    {"format", "format", "", 4},
    {"render_layout", "render --layout", "-o OUT.pdf", 4},
    {"batch_csv", "batch --csv", "-o OUT.pdf", 256},
    {"batch_layout", "batch --csv CSV --layout", "-o OUT.pdf", 4},
    {"qr_bill", "qr payload --bill", "", 1},
    {"qr_payload", "qr check --payload", "", 1},
    {"qr_layout", "qr reference --invoice 1 --layout", "", 4},
};

struct HostileInputTest : bvr::test::CliTest, ::testing::WithParamInterface<Reader> {
  bvr::test::CliResult RunOn(const std::string& input) const {
    std::string after = GetParam().after;
    if (const auto at = after.find("OUT"); at != std::string::npos) {
      after.replace(at, 3, (dir / "out").string());
    }
    std::string before = GetParam().before;
    if (const auto at = before.find("CSV"); at != std::string::npos) {
      before.replace(at, 3, Write("ok.csv", "invoice,amount\n1,1\n"));
    }
    return Run(before + " " + bvr::test::Quoted(input) + " " + after);
  }

  void ExpectRefused(const bvr::test::CliResult& r, const std::string& message) const {
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, message + "\n");
    EXPECT_FALSE(fs::exists(dir / "out.pdf"));
  }
};

TEST_P(HostileInputTest, NotARegularFile) {
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path folder = dir / "folder";
  fs::create_directory(folder);
  const fs::path socketPath = dir / "sock";
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(s, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  const fs::path linkToZero = dir / "zero-link";
  fs::create_symlink("/dev/zero", linkToZero);

  const struct {
    std::string path;
    const char* kind;
  } inputs[] = {
      {fifo.string(), "a FIFO"},
      {"/dev/zero", "a character device"},
      {linkToZero.string(), "a character device"},
      {folder.string(), "a directory"},
      {socketPath.string(), "a socket"},
  };
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.path);
    ExpectRefused(RunOn(input.path), "Cannot read \"" + input.path + "\": it is " + input.kind +
                                         ", not a regular file");
  }
  ::close(s);
}

TEST_P(HostileInputTest, LargerThanTheLimit) {
  // Sparse: as large as it says, without taking the disk.
  const fs::path big = dir / "big";
  const std::string tooLarge = "Cannot read \"" + big.string() + "\": it is larger than " +
                               std::to_string(GetParam().limitMiB) +
                               " MiB, the most this input may hold";
  std::ofstream(big).put('x');
  fs::resize_file(big, (std::uintmax_t{static_cast<unsigned>(GetParam().limitMiB)} << 20) + 1);
  ExpectRefused(RunOn(big.string()), tooLarge);
  // One byte less is read (and then refused for what it holds, not for its size).
  fs::resize_file(big, std::uintmax_t{static_cast<unsigned>(GetParam().limitMiB)} << 20);
  const bvr::test::CliResult r = RunOn(big.string());
  EXPECT_EQ(r.err.find("larger than"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Commands, HostileInputTest, ::testing::ValuesIn(kReaders),
                         [](const auto& p) { return std::string(p.param.name); });

struct StandardInput : bvr::test::CliTest {};

TEST_F(StandardInput, ReadsUpToTheBillLimitOnly) {
  for (const char* command : {"qr payload --bill -", "qr check --bill -"}) {
    SCOPED_TRACE(command);
    const bvr::test::CliResult r = Run(std::string(command) + " </dev/zero");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "Cannot read standard input: it is larger than 1 MiB, the most this input may "
              "hold\n");
  }
  const std::string example = std::string(BVR_SOURCE_DIR) + "/tests/qrbill/data/example-03.json";
  const bvr::test::CliResult ok = Run("qr payload --bill - <" + bvr::test::Quoted(example));
  EXPECT_EQ(ok.code, 0) << ok.err;
  EXPECT_EQ(ok.out.substr(0, 9), "SPC\n0200\n");
}

}  // namespace
