// The bill's fields, grouped as on the bill: the creditor ("Compte / Payable à"), the amount,
// the reference, the debtor ("Payable par"), the further information and how it is printed.
// Every control has an object name (ediAccount, ediCreditorName, …) so that tests and anyone
// find it.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "numbers/VYKBVRFunctions.h"
#include "print/QrBillReport.h"
#include "qrapp/ProblemMarks.h"
#include "qrapp/ReferenceMaking.h"
#include "qrbill/Bill.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace bvr {

struct AddressEdits {
  QLineEdit* name;
  QLineEdit* street;
  QLineEdit* number;
  QLineEdit* postcode;
  QLineEdit* town;
  QLineEdit* country;
};

class BillForm : public QWidget {
  Q_OBJECT

 public:
  explicit BillForm(QWidget* parent = nullptr);

  // The bill as the fields give it, its reference made, and a problem of the making.
  qr::Bill Bill() const;
  std::optional<qr::Problem> ReferenceProblem() const;
  QrBillPage Page() const;
  bool Separators() const;

  // Shows a bill read from a file: its reference as typed.
  void SetBill(const qr::Bill& bill);
  // Empties the bill's fields; the creditor and the account stay.
  void ClearBill();
  void SetPage(QrBillPage page);
  void SetSeparators(bool on);

  // The scheme of the chosen .BVR layout (empty: demonstration layout).
  void SetLayoutPath(const QString& path);
  QString LayoutPath() const { return layoutPath_; }
  void ShowProblems(const qr::Problems& problems) { marks_->Show(problems); }

 signals:
  void Changed();
  // The user typed into a creditor field or the account (not a bill opened).
  void CreditorEdited();
  void LayoutRequested();

 private:
  QWidget* CreditorGroup();
  QWidget* AmountGroup();
  QWidget* ReferenceGroup();
  QWidget* DebtorGroup();
  QWidget* InformationGroup();
  QWidget* PrintingGroup();
  AddressEdits AddAddressRows(QFormLayout* form, const QString& prefix, const std::string& path);
  QLineEdit* AddRow(QFormLayout* form, const QString& caption, const QString& name,
                    const std::string& field);
  void UpdateReferenceControls();
  void AlignCaptions();
  ReferenceKind Kind() const;

  std::unique_ptr<ProblemMarks> marks_;
  QLineEdit* account_ = nullptr;
  AddressEdits creditor_{};
  QLineEdit* amount_ = nullptr;
  QComboBox* currency_ = nullptr;
  QComboBox* referenceKind_ = nullptr;
  QLineEdit* invoice_ = nullptr;
  QLabel* layoutName_ = nullptr;
  QPushButton* layoutButton_ = nullptr;
  QLineEdit* reference_ = nullptr;
  AddressEdits debtor_{};
  QLineEdit* message_ = nullptr;
  QLineEdit* billing_ = nullptr;
  QComboBox* language_ = nullptr;
  QComboBox* page_ = nullptr;
  QCheckBox* separators_ = nullptr;
  QString layoutPath_;
  ReferenceLayout scheme_;
  std::vector<std::string> alternatives_;  // kept from an opened file, not edited here
};

}  // namespace bvr
