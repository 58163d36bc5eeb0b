#include "QrAppTestSupport.h"

#include <ZXing/ReadBarcode.h>

#include <QDir>
#include <QImage>

namespace bvr::test {

std::vector<std::string> PdfSymbols(const QString& pdf) {
  const QString prefix = pdf + "-page";
  QProcess::execute("pdftoppm", {"-gray", "-r", "150", "-png", pdf, prefix});
  std::vector<std::string> symbols;
  const QFileInfo info(pdf);
  const QStringList pages =
      QDir(info.path()).entryList({info.fileName() + "-page*.png"}, QDir::Files, QDir::Name);
  for (const QString& page : pages) {
    const QImage image =
        QImage(info.path() + "/" + page).convertToFormat(QImage::Format_Grayscale8);
    const ZXing::Result r =
        ZXing::ReadBarcode({image.constBits(), image.width(), image.height(),
                            ZXing::ImageFormat::Lum, static_cast<int>(image.bytesPerLine())},
                           ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    symbols.push_back(r.isValid() ? std::string(r.bytes().begin(), r.bytes().end())
                                  : "(no symbol)");
  }
  return symbols;
}

int PdfPages(const QString& pdf) {
  QProcess info;
  info.start("pdfinfo", {pdf});
  info.waitForFinished(30000);
  for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
    if (line.startsWith("Pages:")) {
      return line.mid(6).trimmed().toInt();
    }
  }
  return -1;
}

void WindowTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  window = std::make_unique<QrBillWindow>(Temp("settings.conf"));
  WindowDialogs d;
  d.openFile = [this](QWidget*, const QString&, const QString&) { return openAnswer; };
  d.saveFile = [this](QWidget*, const QString&, const QString&) { return saveAnswer; };
  d.askSaveChanges = [this](QWidget*) {
    ++asked;
    return closeAnswer;
  };
  d.chooseQueue = [](QWidget*, const QStringList& queues, int current) {
    return queues.value(current);
  };
  d.inform = [this](QWidget*, const QString& text) { informed.push_back(text); };
  window->SetDialogs(d);
  window->resize(1024, 700);
  window->show();
}

void WindowTest::TearDown() {
  closeAnswer = QMessageBox::Discard;
  window.reset();
}

void WindowTest::Type(const char* name, const std::string& text) {
  QLineEdit* edit = Find(name);
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  // keyClicks takes ASCII only: each character goes as a key event carrying its text.
  for (const QChar c : QString::fromStdString(text)) {
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void WindowTest::TypeBill(const qr::Bill& bill) {
  const auto address = [this](const char* prefix, const qr::Address& a) {
    const std::string p = std::string("edi") + prefix;
    Type((p + "Name").c_str(), a.name);
    Type((p + "Street").c_str(), a.street);
    Type((p + "Number").c_str(), a.number);
    Type((p + "Postcode").c_str(), a.postcode);
    Type((p + "Town").c_str(), a.town);
    Type((p + "Country").c_str(), a.country);
  };
  Type("ediAccount", bill.account);
  address("Creditor", bill.creditor);
  Type("ediAmount", bill.amount);
  Find<QComboBox>("cbxCurrency")->setCurrentText(QString::fromStdString(bill.currency));
  address("Debtor", bill.debtor.value_or(qr::Address{}));
  Find<QComboBox>("cbxReferenceKind")->setCurrentIndex(bill.reference.empty() ? 0 : 3);
  Type("ediReference", bill.reference);
  Type("ediMessage", bill.message);
  Type("ediBilling", bill.billing);
  Find<QComboBox>("cbxLanguage")->setCurrentIndex(static_cast<int>(bill.language));
}

}  // namespace bvr::test
