#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "app/LayoutFiles.h"
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
