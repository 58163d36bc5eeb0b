// The private runtime folder bvrslip makes when XDG_RUNTIME_DIR is unset: nothing found at its
// predictable path is chmodded or used unless it is already a private folder of ours.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "CliTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct RuntimeDirectoryTest : bvr::test::CliTest {
  fs::path Predictable() const {
    return dir / "tmp" / ("bvrslip-runtime-" + std::to_string(::getuid()));
  }
  int Render() const {
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u "
        "XDG_RUNTIME_DIR TMPDIR=" +
        bvr::test::Quoted((dir / "tmp").string()) + " " + BVR_CLI + " render -o " +
        bvr::test::Quoted((dir / "x.pdf").string()) + " >/dev/null 2>" +
        bvr::test::Quoted((dir / "err.txt").string());
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static unsigned Mode(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
  }
  // Folders bvrslip made itself beside the predictable path.
  std::size_t FreshFolders() const {
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(dir / "tmp")) {
      n += entry.path().filename().string().starts_with(Predictable().filename().string() + "-");
    }
    return n;
  }
};

TEST_F(RuntimeDirectoryTest, WhatIsFoundIsNeitherChmoddedNorLeftBehind) {
  struct Case {
    const char* name;
    bool link;  // a link to a folder of ours, else the folder itself at the path
    unsigned mode;
  };
  for (const Case c :
       {Case{"link to a 0755 folder", true, 0755}, Case{"link to a 0700 folder", true, 0700},
        Case{"own folder 0755", false, 0755}}) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir / "tmp");
    fs::remove_all(dir / "target");
    fs::create_directories(dir / "tmp");
    const fs::path target = c.link ? dir / "target" : Predictable();
    fs::create_directory(target);
    ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
    if (c.link) {
      fs::create_directory_symlink(target, Predictable());
    }
    EXPECT_EQ(Render(), 0);
    EXPECT_EQ(Mode(target), c.mode);
    EXPECT_TRUE(fs::exists(dir / "x.pdf"));
    EXPECT_EQ(FreshFolders(), 0u);
    EXPECT_EQ(bvr::test::Slurp(dir / "err.txt"), "");
    EXPECT_EQ(bvr::test::Slurp(dir / "err.txt"), "");
  }
}

TEST_F(RuntimeDirectoryTest, MissingFolderIsMadePrivate) {
  fs::create_directories(dir / "tmp");
  EXPECT_EQ(Render(), 0);
  EXPECT_EQ(Mode(Predictable()), 0700u);
}

}  // namespace
