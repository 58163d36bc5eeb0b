// The atomic writer against paths changed under it: real folders, links, FIFOs and device
// nodes made by the test.
#include "report/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QIODevice>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>

#include "strings/BvrError.h"

namespace bvr {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("bvr-atomic-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "out");
    fs::create_directories(root / "elsewhere");
  }
  void TearDown() override { fs::remove_all(root); }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path root;
};

// The folder replaced by a link while the file is written: the file still lands in the folder
// that was checked, never in the link's target.
TEST_F(AtomicFile, AFolderSwappedDuringTheWriteCannotRedirectIt) {
  const fs::path target = root / "out" / "a.pdf";
  WriteFileAtomically(QString::fromStdString(target.string()), [&](QIODevice& device) {
    device.write("first half ");
    fs::rename(root / "out", root / "moved");
    fs::create_directory_symlink(root / "elsewhere", root / "out");
    device.write("second half");
  });
  EXPECT_FALSE(fs::exists(root / "elsewhere" / "a.pdf"));
  EXPECT_EQ(Read(root / "moved" / "a.pdf"), "first half second half");
  EXPECT_TRUE(fs::is_empty(root / "elsewhere"));
}

TEST_F(AtomicFile, WhatIsNotARegularFileIsNeverReplaced) {
  const fs::path target = root / "out" / "x.pdf";
  const bool canMakeNodes = ::mknod((root / "node").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  const struct {
    const char* name;
    std::function<void()> make;
    const char* reason;
  } cases[] = {
      {"FIFO", [&] { ::mkfifo(target.c_str(), 0600); }, "it is a FIFO, not a regular file"},
      {"folder", [&] { fs::create_directory(target); }, "it is a directory, not a regular file"},
      {"link to a device node", [&] { fs::create_symlink(root / "node", target); },
       "it is a character device, not a regular file"},
  };
  for (const auto& c : cases) {
    if (std::string(c.name).find("device") != std::string::npos && !canMakeNodes) {
      std::cout << "skipped: " << c.name << ": mknod needs root\n";
      continue;
    }
    fs::remove_all(target);
    c.make();
    try {
      WriteFileAtomically(QString::fromStdString(target.string()),
                          [](QIODevice& device) { device.write("data"); });
      ADD_FAILURE() << c.name << " replaced";
    } catch (const EBvrError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::is_regular_file(target)) << c.name;
  }
  if (canMakeNodes) {
    struct stat st {};
    ASSERT_EQ(::lstat((root / "node").c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
  }
}

}  // namespace
}  // namespace bvr
