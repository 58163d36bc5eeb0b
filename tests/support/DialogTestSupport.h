// Driving dialogs as a user does: modal dialogs acted on once shown, controls found
// by object name, typing through key events, and the locale as a test dimension.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QLocale>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace bvr::test {

// The child named `name`; fails the test when missing.
template <class T>
T* Child(const QObject& root, const char* name) {
  T* child = root.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Runs `steps` on the modal dialog once its loop runs. Steps that leave it open fail the
// test and the dialog is cancelled, so no test hangs.
void WhenModal(std::function<void(QDialog&)> steps);

// Clears an edit with keys only: End, Shift+Home, Backspace.
void ClearByKeys(QLineEdit* edit);
// Presses Enter in the widget (an edit passes it on to the default button).
void PressEnter(QWidget* widget);
void ClickButton(QDialog& dialog, const char* name);

// Point and comma locales.
QLocale PointLocale();
QLocale CommaLocale();

// Tests that run once under each locale: "." in the texts they type or expect stands for the
// locale's decimal separator (Dec), Other() is the separator of the other locale.
class InLocale : public ::testing::TestWithParam<QLocale> {
 protected:
  void SetUp() override;
  void TearDown() override;
  static QString Dec(const char* text);
  static QChar Other();

 private:
  QLocale saved_;
};

std::string LocaleName(const ::testing::TestParamInfo<QLocale>& info);

}  // namespace bvr::test
