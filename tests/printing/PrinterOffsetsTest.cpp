// The offsets stored for each queue, in a configuration folder of the test's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

TEST_F(PrinterOffsets, AHandEditedFileReadsOrCountsAsZero) {
  fs::create_directories(File().parent_path());
  std::ofstream(File()) << "[offsets]\n"
                        << "plain=12,-3\n"
                        << "spaced=\" 4 , 5 \"\n"
                        << "words=left\n"
                        << "three=\"1,2,3\"\n"
                        << "half=\"1.5,2\"\n";
  const struct {
    const char* queue;
    PrinterOffset offset;
  } cases[] = {{"plain", {12, -3}},
               {"spaced", {4, 5}},
               {"words", {0, 0}},
               {"three", {0, 0}},
               {"half", {0, 0}}};
  for (const auto& c : cases) {
    EXPECT_EQ(StoredPrinterOffset(c.queue), c.offset) << c.queue;
  }
}

TEST_F(PrinterOffsets, AnUnwritableFileIsAnError) {
  // A plain file where the folder should be.
  std::ofstream(ConfigHome() / "bvrslip") << "in the way";
  EXPECT_THROW(StorePrinterOffset("office-laser", {1, 1}), EBvrError);
  fs::remove(ConfigHome() / "bvrslip");
}

}  // namespace
}  // namespace bvr
