#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "app/LayoutFiles.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

TEST(LayoutFiles, EveryLineEndIsReadAsCrLf) {
  QTemporaryDir dir;
  const QString path = dir.filePath("mixed.BVR");
  WriteBytes(path, "a\rb\nc\r\nd");
  EXPECT_EQ(ReadLayoutFile(path), "a\r\nb\r\nc\r\nd");
}

TEST(LayoutFiles, AMissingFileNamesItsFullPath) {
  QTemporaryDir dir;
  const QString path = dir.filePath("none.BVR");
  try {
    ReadLayoutFile(path);
    FAIL() << "no error";
  } catch (const EBvrError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + path.toStdString() + "\". No such file or directory");
  }
}

TEST(LayoutFiles, ABadFileLeavesTheLayoutExactlyAsItWas) {
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

TEST(LayoutFiles, AGoodFileIsTakenOverWhole) {
  TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  layout.Account().Setnumber("01-000001-7");
  LoadLayoutAllOrNothing(layout, std::string(DemonstrationLayoutText()));
  EXPECT_EQ(layout.SaveToText(), std::string(DemonstrationLayoutText()));
  EXPECT_EQ(layout.Account().Receipt().LineText(), "01-987654-4");
}

TEST(LayoutFiles, AFailedSaveLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.BVR");
  WriteBytes(path, "old layout");
  std::string message;
  {
    const test::FileSizeLimit limit(64);
    try {
      SaveLayoutFile(path, std::string(4096, 'x'));
    } catch (const EBvrError& e) {
      message = e.what();
    }
  }
  EXPECT_EQ(message, "Cannot write \"" + path.toStdString() + "\": " + std::strerror(EFBIG))
      << message;
  EXPECT_EQ(ReadBytes(path), QByteArray("old layout"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.BVR"});
}

TEST(LayoutFiles, ASaveReplacesTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("new.BVR");
  WriteBytes(path, "old layout, longer than the new one");
  SaveLayoutFile(path, "new\r\n");
  EXPECT_EQ(ReadBytes(path), QByteArray("new\r\n"));
}

}  // namespace
}  // namespace bvr
