// The offsets stored for each queue, in a configuration folder of the test's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "report/PrinterOffsets.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

namespace fs = std::filesystem;

// The settings find their folder once per process: it is set before the first test.
const fs::path& ConfigHome() {
  static const fs::path home =
      fs::temp_directory_path() / ("bvr-printers-" + std::to_string(::getpid()));
  return home;
}

class ConfigEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    fs::remove_all(ConfigHome());
    fs::create_directories(ConfigHome());
    ::setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  }
  void TearDown() override { fs::remove_all(ConfigHome()); }
};
[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ConfigEnvironment);

class PrinterOffsets : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove_all(ConfigHome() / "bvrslip"); }
  static fs::path File() { return ConfigHome() / "bvrslip" / "printers.ini"; }
  static std::string Text() {
    std::ifstream in(File());
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(PrinterOffsets, LiveInTheUsersConfigurationFolder) {
  EXPECT_EQ(fs::path(PrinterSettingsPath()), File());
}

TEST_F(PrinterOffsets, EachQueueKeepsItsOwn) {
  const struct {
    const char* queue;
    PrinterOffset offset;
  } stored[] = {{"office-laser", {15, -5}}, {"Inkjet_2", {-120, 0}}, {"pdf", {0, 33}}};
  for (const auto& s : stored) {
    StorePrinterOffset(s.queue, s.offset);
  }
  StorePrinterOffset("pdf", {7, 8});  // stored again: replaced
  EXPECT_EQ(StoredPrinterOffset("office-laser"), (PrinterOffset{15, -5}));
  EXPECT_EQ(StoredPrinterOffset("Inkjet_2"), (PrinterOffset{-120, 0}));
  EXPECT_EQ(StoredPrinterOffset("pdf"), (PrinterOffset{7, 8}));
  EXPECT_EQ(StoredPrinterOffset("never-stored"), (PrinterOffset{0, 0}));
}

TEST_F(PrinterOffsets, TheFileIsTheDocumentedIni) {
  StorePrinterOffset("office-laser", {15, -5});
  StorePrinterOffset("a/b", {1, 2});  // no sub-group out of a slash
  const std::string text = Text();
  EXPECT_EQ(text.rfind("[offsets]\n", 0), 0u) << text;
  EXPECT_NE(text.find("\noffice-laser=\"15,-5\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\na_b=\"1,2\"\n"), std::string::npos) << text;
  EXPECT_EQ(StoredPrinterOffset("a/b"), (PrinterOffset{1, 2}));
}

TEST_F(PrinterOffsets, AHandEditedLineReadsOrStopsWithItsLine) {
  fs::create_directories(File().parent_path());
  std::ofstream(File()) << "; written by hand\n"
                        << "[offsets]\n"
                        << "plain=12,-3\n"
                        << "spaced=\" 4 , 5 \"\n"
                        << "Office-Laser=\"-7,8\"\n"
                        << "edge=\"-500,500\"\n"
                        << "words=left\n"
                        << "three=\"1,2,3\"\n"
                        << "half=\"1.5,2\"\n"
                        << "nan=\"nan,2\"\n"
                        << "huge=\"99999999999,2\"\n"
                        << "past=\"501,0\"\n"
                        << "control=\"1\x1b[2J,2\"\n";
  const struct {
    const char* queue;
    PrinterOffset offset;
    const char* error;  // what the message says after the file's path, or nullptr
  } cases[] = {
      {"plain", {12, -3}, nullptr},
      {"spaced", {4, 5}, nullptr},
      {"office-laser", {-7, 8}, nullptr},  // queue names ignore letter case
      {"OFFICE-LASER", {-7, 8}, nullptr},
      {"edge", {-500, 500}, nullptr},
      {"never-stored", {0, 0}, nullptr},
      {"words", {}, "\", line 7: \"left\" is not DX,DY"},
      {"three", {}, "\", line 8: \"\"1,2,3\"\" is not DX,DY"},
      {"half", {}, "\", line 9: "},
      {"nan", {}, "\", line 10: "},
      {"huge", {}, "\", line 11: \"\"99999999999,2\"\" is out of range"},
      {"past", {}, "\", line 12: \"\"501,0\"\" is out of range"},
      {"control", {}, "\", line 13: \"\"1\\x1B[2J,2\"\" is not DX,DY"},
  };
  for (const auto& c : cases) {
    if (c.error == nullptr) {
      EXPECT_EQ(StoredPrinterOffset(c.queue), c.offset) << c.queue;
      continue;
    }
    try {
      StoredPrinterOffset(c.queue);
      ADD_FAILURE() << c.queue << " read";
    } catch (const EBvrError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("\"" + File().string() + c.error, 0), 0u)
          << c.queue << ": " << e.what();
    }
  }
}

TEST_F(PrinterOffsets, AStoreKeepsHandWrittenLinesAndReplacesEveryCaseOfTheQueue) {
  fs::create_directories(File().parent_path());
  const std::string before =
      "# my printers\n[general]\nnote without equals\n[offsets]\n; laser on floor 2\n"
      "Laser=\"1,1\"\nother=\"2,2\"\nLASER=\"3,3\"\n[later]\nkept=yes\n";
  std::ofstream(File()) << before;
  fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  StorePrinterOffset("laser", {-5, 3});
  StorePrinterOffset("new", {7, 0});
  EXPECT_EQ(Text(),
            "# my printers\n[general]\nnote without equals\n[offsets]\n; laser on floor 2\n"
            "laser=\"-5,3\"\nother=\"2,2\"\nnew=\"7,0\"\n[later]\nkept=yes\n");
  EXPECT_EQ(fs::status(File()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(PrinterOffsets, OutOfRangeIsNeverStored) {
  const PrinterOffset refused[] = {{501, 0}, {0, -501}, {2147483647, -2147483647 - 1}};
  for (const PrinterOffset& offset : refused) {
    EXPECT_THROW(StorePrinterOffset("q", offset), EBvrError) << offset.dx << "," << offset.dy;
  }
  EXPECT_FALSE(fs::exists(File()));
}

TEST_F(PrinterOffsets, AnUnwritableFileIsAnError) {
  // A plain file where the folder should be.
  std::ofstream(ConfigHome() / "bvrslip") << "in the way";
  EXPECT_THROW(StorePrinterOffset("office-laser", {1, 1}), EBvrError);
  fs::remove(ConfigHome() / "bvrslip");
}

// A link to a regular file is followed as the outputs' links are: the file it points to gets
// the new content, the link stays.
TEST_F(PrinterOffsets, ALinkToARegularFileIsWrittenThrough) {
  const fs::path real = ConfigHome() / "real.ini";
  std::ofstream(real) << "[offsets]\nq=\"1,1\"\n";
  fs::create_directories(File().parent_path());
  fs::create_symlink(real, File());
  StorePrinterOffset("q", {4, -4});
  EXPECT_TRUE(fs::is_symlink(File()));
  std::ifstream in(real);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[offsets]\nq=\"4,-4\"\n");
  fs::remove(real);
}

// Writers in parallel processes take turns: no store is lost.
TEST_F(PrinterOffsets, ParallelWritersLoseNoStore) {
  constexpr int kWriters = 6;
  constexpr int kStores = 15;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      try {
        for (int i = 0; i < kStores; ++i) {
          StorePrinterOffset("q" + std::to_string(w) + "-" + std::to_string(i), {w, -i});
        }
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kStores; ++i) {
      EXPECT_EQ(StoredPrinterOffset("q" + std::to_string(w) + "-" + std::to_string(i)),
                (PrinterOffset{w, -i}))
          << w << "-" << i;
    }
  }
}

// Another writer holding the lock makes a store wait, then give up with a message.
TEST_F(PrinterOffsets, AHeldLockIsWaitedForABoundedTime) {
  fs::create_directories(File().parent_path());
  const int fd = ::open((File().string() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const auto start = std::chrono::steady_clock::now();
  try {
    StorePrinterOffset("q", {1, 2});
    ADD_FAILURE() << "stored under another's lock";
  } catch (const EBvrError& e) {
    EXPECT_NE(std::string(e.what()).find("another process has held it for 5 s"), std::string::npos)
        << e.what();
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(kOffsetsLockWaitMs));
  EXPECT_LT(waited, std::chrono::milliseconds(kOffsetsLockWaitMs + 2000));
  ::close(fd);
  StorePrinterOffset("q", {1, 2});  // released: stored at once
  EXPECT_EQ(StoredPrinterOffset("q"), (PrinterOffset{1, 2}));
}

}  // namespace
}  // namespace bvr
