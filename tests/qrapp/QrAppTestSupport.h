// What the window's tests share: a window with its own settings file and answered dialogs,
// typing into fields by object name, the tool run as a subprocess, PDFs read back.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "qrapp/QrBillWindow.h"
#include "qrbill/Bill.h"

namespace bvr::test {

struct ToolResult {
  int code = 0;
  std::string out;
  std::string err;
};

// bvrslip with args.
inline ToolResult RunTool(const QStringList& args) {
  QProcess tool;
  tool.start(BVR_CLI, args);
  tool.waitForFinished(60000);
  return {tool.exitCode(), tool.readAllStandardOutput().toStdString(),
          tool.readAllStandardError().toStdString()};
}

inline std::string ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

inline void WriteText(const QString& path, const std::string& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.data(), static_cast<qint64>(text.size()));
}

// The QR symbol of every page of a PDF: pdftoppm's grey levels read by ZXing.
std::vector<std::string> PdfSymbols(const QString& pdf);

// How many pages a PDF has (pdfinfo).
int PdfPages(const QString& pdf);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  template <class T = QLineEdit>
  T* Find(const char* name) {
    T* widget = window->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QAction* Action(const char* name) { return Find<QAction>(name); }
  // Types text into the line edit after selecting what it held, as a person would.
  void Type(const char* name, const std::string& text);
  // Types every field of bill (its reference as typed).
  void TypeBill(const qr::Bill& bill);
  QString Temp(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  std::unique_ptr<QrBillWindow> window;
  QString saveAnswer;
  QString openAnswer;
  QMessageBox::StandardButton closeAnswer = QMessageBox::Cancel;
  int asked = 0;
  std::vector<QString> informed;
};

}  // namespace bvr::test
