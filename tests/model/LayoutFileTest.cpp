#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "model/LayoutFile.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

namespace fs = std::filesystem;

struct TempDir {
  fs::path path;
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "layoutfile-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const fs::path file = path / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }
};

std::string MessageOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const EBvrError& e) {
    return e.what();
  }
  return "no error";
}

TEST(LayoutFile, EveryLineEndIsReadAsCrLf) {
  TempDir dir;
  EXPECT_EQ(ReadLayoutFile(dir.Write("mixed.BVR", "a\rb\nc\r\nd\n\r")), "a\r\nb\r\nc\r\nd\r\n\r\n");
}

TEST(LayoutFile, WhatIsNotARegularFileIsNotRead) {
  TempDir dir;
  const std::string fifo = (dir.path / "pipe.BVR").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string missing = (dir.path / "none.BVR").string();
  const struct Row {
    std::string path;
    std::string reason;
  } rows[] = {{missing, "No such file or directory"},
              {dir.path.string(), "Not a regular file"},
              {fifo, "Not a regular file"},
              {"/dev/zero", "Not a regular file"}};
  for (const Row& row : rows) {
    EXPECT_EQ(MessageOf([&] { ReadLayoutFile(row.path); }),
              "Cannot open file \"" + row.path + "\". " + row.reason);
  }
}

// The line of the fault is a field beside the unchanged message, for syntax faults and for
// properties the layout does not have, with any line ends.
TEST(LayoutFile, FaultsCarryTheirLine) {
  const struct Row {
    std::string text;
    long long line;
    std::string message;
  } rows[] = {
      {"object A: TBvrProperties\r\n  Amount.ShowNegativeAmount = True\r\n  x\r\nend\r\n", 3,
       "'=' expected on line 3"},
      {"object A: TBvrProperties\n\n  PaymentFor.Receipt.Colour = 5\nend\n", 3,
       "Error reading A.PaymentFor.Receipt.Colour: Property Colour does not exist"},
      {"object A: TBvrProperties\r  Amount.ShowNegativeAmount = 7\rend\r", 2,
       "Error reading A.Amount.ShowNegativeAmount: Invalid property value"},
      {"object A: TBvrProperties\r\n", 2, "'end' expected on line 2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    TBvrProperties layout;
    layout.Name = "A";
    try {
      LoadLayoutAllOrNothing(layout, row.text);
      ADD_FAILURE() << "no error";
    } catch (const EBvrError& e) {
      EXPECT_EQ(e.Line(), row.line);
      EXPECT_EQ(std::string(e.what()), row.message);
    }
  }
  EXPECT_EQ(EBvrError("no place").Line(), 0);
}

TEST(LayoutFile, ABadFileLeavesTheLayoutExactlyAsItWas) {
  TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  LoadDemonstrationLayout(layout);
  layout.PaymentFor().Receipt().SetLeft(333);
  const std::string before = layout.SaveToText();
  // A good start, then a property that does not exist.
  const std::string bad =
      "object BVRPropertiesParams: TBvrProperties\r\n  PaymentFor.Receipt.Left = 1\r\n"
      "  PaymentFor.Receipt.Colour = 5\r\nend\r\n";
  EXPECT_THROW(LoadLayoutAllOrNothing(layout, bad), EBvrError);
  EXPECT_EQ(layout.SaveToText(), before);
}

TEST(LayoutFile, AGoodFileIsTakenOverWhole) {
  TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  layout.Account().Setnumber("01-000001-7");
  LoadLayoutAllOrNothing(layout, std::string(DemonstrationLayoutText()));
  EXPECT_EQ(layout.SaveToText(), std::string(DemonstrationLayoutText()));
  EXPECT_EQ(layout.Account().Receipt().LineText(), "01-987654-4");
}

}  // namespace
}  // namespace bvr
