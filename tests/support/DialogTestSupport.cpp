#include "DialogTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace bvr::test {

void WhenModal(std::function<void(QDialog&)> steps) {
  QTimer::singleShot(0, [steps = std::move(steps)] {
    QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_FALSE(dialog.isNull()) << "no modal dialog";
    steps(*dialog);
    // Buttons, Enter and the close box all close synchronously.
    if (!dialog.isNull() && dialog->isVisible()) {
      ADD_FAILURE() << "the steps left " << dialog->objectName().toStdString() << " open";
      dialog->done(QDialog::Rejected);
    }
  });
}

void ClearByKeys(QLineEdit* edit) {
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
}

void PressEnter(QWidget* widget) {
  QTest::keyClick(widget, Qt::Key_Return);
}

void ClickButton(QDialog& dialog, const char* name) {
  QPushButton* button = Child<QPushButton>(dialog, name);
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

QLocale PointLocale() {
  return QLocale(QLocale::German, QLocale::Switzerland);
}
QLocale CommaLocale() {
  return QLocale(QLocale::French, QLocale::Switzerland);
}

void InLocale::SetUp() {
  saved_ = QLocale();
  QLocale::setDefault(GetParam());
}

void InLocale::TearDown() {
  QLocale::setDefault(saved_);
}

QString InLocale::Dec(const char* text) {
  QString result = QString::fromUtf8(text);
  result.replace(QChar(u'.'), QLocale().decimalPoint());
  return result;
}

QChar InLocale::Other() {
  return QLocale().decimalPoint() == u"." ? u',' : u'.';
}

std::string LocaleName(const ::testing::TestParamInfo<QLocale>& info) {
  return info.param.name().toStdString();
}

}  // namespace bvr::test
