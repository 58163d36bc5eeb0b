#include "qrapp/BillForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "qrbill/BillJson.h"

namespace bvr {

namespace {

std::string Utf8(const QLineEdit* edit) {
  return edit->text().toStdString();
}

void SetText(QLineEdit* edit, const std::string& text) {
  edit->setText(QString::fromStdString(text));
  edit->setCursorPosition(0);
}

// The amount as the bill writes it: the user's decimal separator (or a comma) becomes ".",
// the blanks and apostrophes that group thousands go.
std::string AmountOfField(QString text) {
  text.replace(QLocale().decimalPoint(), ".");
  text.replace(',', '.');
  text.remove(QRegularExpression("[\\s'’]"));
  return text.toStdString();
}

QString AmountForField(const std::string& amount) {
  return QString::fromStdString(amount).replace('.', QLocale().decimalPoint());
}

QGroupBox* Group(const QString& title, const QString& name, QLayout* layout) {
  auto* group = new QGroupBox(title);
  group->setObjectName(name);
  group->setLayout(layout);
  return group;
}

QFormLayout* Form() {
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  return form;
}

// A row's caption whose accelerator goes to buddy (rows of two fields have no buddy else).
QLabel* BuddyLabel(const QString& caption, QWidget* buddy) {
  auto* label = new QLabel(caption);
  label->setBuddy(buddy);
  return label;
}

QLineEdit* Edit(const QString& name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  return edit;
}

}  // namespace

BillForm::BillForm(QWidget* parent) : QWidget(parent) {
  auto* general = ProblemMarks::MakeLabel("general");
  marks_ = std::make_unique<ProblemMarks>(general);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(general);
  layout->addWidget(CreditorGroup());
  layout->addWidget(AmountGroup());
  layout->addWidget(ReferenceGroup());
  layout->addWidget(DebtorGroup());
  layout->addWidget(InformationGroup());
  layout->addWidget(PrintingGroup());
  layout->addStretch();
  AlignCaptions();
  // A marked field: red frame, pale red ground.
  setStyleSheet("QLineEdit[problem=\"true\"] { border: 2px solid #c00000; background: #fff0f0; }");
  scheme_ = LayoutScheme({});
  UpdateReferenceControls();
}

QLineEdit* BillForm::AddRow(QFormLayout* form, const QString& caption, const QString& name,
                            const std::string& field) {
  QLineEdit* edit = Edit(name);
  form->addRow(caption, edit);
  QLabel* problem = ProblemMarks::MakeLabel(QString::fromStdString(field));
  form->addRow(QString(), problem);
  marks_->Add(field, edit, problem);
  connect(edit, &QLineEdit::textChanged, this, &BillForm::Changed);
  return edit;
}

AddressEdits BillForm::AddAddressRows(QFormLayout* form, const QString& prefix,
                                      const std::string& path) {
  AddressEdits a{};
  a.name = AddRow(form, "&Nom", "edi" + prefix + "Name", path + ".name");
  // Street and number, post code and town share a row each, as they are written.
  const auto pair = [&](const QString& caption, QLineEdit*& first, const char* firstName,
                        const char* firstField, const QString& firstSaid, QLineEdit*& second,
                        const char* secondName, const char* secondField,
                        const QString& secondSaid) {
    first = Edit("edi" + prefix + firstName);
    second = Edit("edi" + prefix + secondName);
    auto* row = new QHBoxLayout;
    row->addWidget(first);
    row->addWidget(second);
    form->addRow(BuddyLabel(caption, first), row);
    QLabel* problem = ProblemMarks::MakeLabel(QString::fromStdString(path) + "." + firstField);
    form->addRow(QString(), problem);
    marks_->Add(path + "." + firstField, first, problem, firstSaid);
    marks_->Add(path + "." + secondField, second, problem, secondSaid);
    connect(first, &QLineEdit::textChanged, this, &BillForm::Changed);
    connect(second, &QLineEdit::textChanged, this, &BillForm::Changed);
  };
  pair("&Rue, n°", a.street, "Street", "street", "Rue", a.number, "Number", "number", "N°");
  pair("NPA, &localité", a.postcode, "Postcode", "postcode", "NPA", a.town, "Town", "town",
       "Localité");
  a.number->setMaximumWidth(70);
  a.postcode->setMaximumWidth(80);
  a.country = AddRow(form, "&Pays", "edi" + prefix + "Country", path + ".country");
  a.country->setMaximumWidth(60);
  return a;
}

QWidget* BillForm::CreditorGroup() {
  QFormLayout* form = Form();
  account_ = AddRow(form, "&IBAN ou QR-IBAN", "ediAccount", "account");
  account_->setPlaceholderText("CH44 3199 9123 0008 8901 2");
  creditor_ = AddAddressRows(form, "Creditor", "creditor");
  for (QLineEdit* edit : {account_, creditor_.name, creditor_.street, creditor_.number,
                          creditor_.postcode, creditor_.town, creditor_.country}) {
    connect(edit, &QLineEdit::textEdited, this, &BillForm::CreditorEdited);
  }
  return Group("Compte / Payable à", "grpCreditor", form);
}

QWidget* BillForm::AmountGroup() {
  QFormLayout* form = Form();
  amount_ = Edit("ediAmount");
  amount_->setPlaceholderText("vide : montant écrit à la main");
  currency_ = new QComboBox;
  currency_->setObjectName("cbxCurrency");
  currency_->addItems({"CHF", "EUR"});
  auto* row = new QHBoxLayout;
  row->addWidget(amount_, 1);
  row->addWidget(currency_);
  form->addRow(BuddyLabel("&Montant", amount_), row);
  QLabel* problem = ProblemMarks::MakeLabel("amount");
  form->addRow(QString(), problem);
  marks_->Add("amount", amount_, problem);
  marks_->Add("currency", currency_, problem, "Monnaie");
  connect(amount_, &QLineEdit::textChanged, this, &BillForm::Changed);
  connect(currency_, &QComboBox::currentIndexChanged, this, &BillForm::Changed);
  return Group("Montant", "grpAmount", form);
}

QWidget* BillForm::ReferenceGroup() {
  QFormLayout* form = Form();
  referenceKind_ = new QComboBox;
  referenceKind_->setObjectName("cbxReferenceKind");
  referenceKind_->addItems({"Sans référence", "Référence créancier (RF) du n° de facture",
                            "Référence QR du n° de facture (mise en page .BVR)",
                            "Référence saisie"});
  form->addRow("T&ype", referenceKind_);
  invoice_ = AddRow(form, "N° de fa&cture", "ediInvoice", "invoice");
  layoutName_ = new QLabel;
  layoutName_->setObjectName("lblLayout");
  layoutButton_ = new QPushButton("C&hoisir...");
  layoutButton_->setObjectName("btnLayout");
  auto* layoutRow = new QHBoxLayout;
  layoutRow->addWidget(layoutName_, 1);
  layoutRow->addWidget(layoutButton_);
  form->addRow(BuddyLabel("Mise en page", layoutButton_), layoutRow);
  reference_ = AddRow(form, "Référenc&e", "ediReference", "reference");
  connect(referenceKind_, &QComboBox::currentIndexChanged, this, [this] {
    UpdateReferenceControls();
    emit Changed();
  });
  connect(layoutButton_, &QPushButton::clicked, this, &BillForm::LayoutRequested);
  // The made reference is shown as it is made.
  connect(invoice_, &QLineEdit::textChanged, this, &BillForm::UpdateReferenceControls);
  return Group("Référence", "grpReference", form);
}

QWidget* BillForm::DebtorGroup() {
  QFormLayout* form = Form();
  debtor_ = AddAddressRows(form, "Debtor", "debtor");
  debtor_.name->setPlaceholderText("vide : cadre à remplir à la main");
  // The rows have the creditor's accelerators: pressed twice, Alt+N reaches the debtor's name.
  return Group("Payable par", "grpDebtor", form);
}

QWidget* BillForm::InformationGroup() {
  QFormLayout* form = Form();
  message_ = AddRow(form, "Communica&tion", "ediMessage", "message");
  billing_ = AddRow(form, "Fact&uration", "ediBilling", "billing");
  billing_->setPlaceholderText("informations de facturation : //S1/10/…");
  return Group("Informations supplémentaires", "grpInformation", form);
}

QWidget* BillForm::PrintingGroup() {
  QFormLayout* form = Form();
  language_ = new QComboBox;
  language_->setObjectName("cbxLanguage");
  language_->addItems({"français", "allemand", "italien", "anglais"});
  form->addRow("Lan&gue", language_);
  page_ = new QComboBox;
  page_->setObjectName("cbxPage");
  page_->addItems({"A4, facture au pied de la page", "Facture seule (210 × 105 mm)"});
  form->addRow("P&age", page_);
  separators_ = new QCheckBox("Lignes de &séparation (ciseaux)");
  separators_->setObjectName("chkSeparators");
  separators_->setChecked(true);
  form->addRow(QString(), separators_);
  connect(language_, &QComboBox::currentIndexChanged, this, &BillForm::Changed);
  connect(page_, &QComboBox::currentIndexChanged, this, &BillForm::Changed);
  connect(separators_, &QCheckBox::toggled, this, &BillForm::Changed);
  return Group("Impression", "grpPrinting", form);
}

void BillForm::AlignCaptions() {
  // Long choices do not widen the form: a small window keeps room for the preview.
  for (QComboBox* box : findChildren<QComboBox*>()) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
  }
  // One column of captions across the groups, as wide as the widest.
  const QList<QFormLayout*> forms = findChildren<QFormLayout*>();
  QList<QWidget*> captions;
  int width = 0;
  for (QFormLayout* form : forms) {
    for (int row = 0; row < form->rowCount(); ++row) {
      if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget()) {
        captions << item->widget();
        width = std::max(width, item->widget()->sizeHint().width());
      }
    }
  }
  for (QWidget* caption : captions) {
    caption->setMinimumWidth(width);
  }
}

ReferenceKind BillForm::Kind() const {
  return static_cast<ReferenceKind>(referenceKind_->currentIndex());
}

void BillForm::UpdateReferenceControls() {
  const ReferenceKind kind = Kind();
  const bool made = kind == ReferenceKind::Creditor || kind == ReferenceKind::QrFromLayout;
  invoice_->setEnabled(made);
  layoutButton_->setEnabled(kind == ReferenceKind::QrFromLayout);
  layoutName_->setEnabled(kind == ReferenceKind::QrFromLayout);
  layoutName_->setText(layoutPath_.isEmpty() ? "démonstration" : QFileInfo(layoutPath_).fileName());
  layoutName_->setToolTip(layoutPath_);
  reference_->setEnabled(kind != ReferenceKind::None);
  reference_->setReadOnly(kind != ReferenceKind::Typed);
  if (made || kind == ReferenceKind::None) {
    const QSignalBlocker quiet(reference_);  // Changed comes from the invoice or the kind
    reference_->setText(
        QString::fromStdString(MakeReference(kind, Utf8(invoice_), scheme_, "").reference));
  }
}

std::optional<qr::Problem> BillForm::ReferenceProblem() const {
  return MakeReference(Kind(), Utf8(invoice_), scheme_, Utf8(reference_)).problem;
}

qr::Bill BillForm::Bill() const {
  const auto address = [](const AddressEdits& a) {
    return qr::Address{Utf8(a.name),     Utf8(a.street), Utf8(a.number),
                       Utf8(a.postcode), Utf8(a.town),   Utf8(a.country)};
  };
  qr::Bill bill;
  bill.account = Utf8(account_);
  bill.creditor = address(creditor_);
  bill.amount = AmountOfField(amount_->text());
  bill.currency = currency_->currentText().toStdString();
  if (const qr::Address debtor = address(debtor_); debtor != qr::Address{}) {
    bill.debtor = debtor;
  }
  bill.reference = MakeReference(Kind(), Utf8(invoice_), scheme_, Utf8(reference_)).reference;
  bill.referenceType = qr::ReferenceTypeOf(bill.reference);
  bill.message = Utf8(message_);
  bill.billing = Utf8(billing_);
  bill.alternatives = alternatives_;
  bill.language = static_cast<qr::Language>(language_->currentIndex());
  return bill;
}

QrBillPage BillForm::Page() const {
  return page_->currentIndex() == 1 ? QrBillPage::Bill : QrBillPage::A4;
}

bool BillForm::Separators() const {
  return separators_->isChecked();
}

void BillForm::SetBill(const qr::Bill& bill) {
  const auto show = [](const AddressEdits& edits, const qr::Address& a) {
    SetText(edits.name, a.name);
    SetText(edits.street, a.street);
    SetText(edits.number, a.number);
    SetText(edits.postcode, a.postcode);
    SetText(edits.town, a.town);
    SetText(edits.country, a.country);
  };
  SetText(account_, bill.account);
  show(creditor_, bill.creditor);
  amount_->setText(AmountForField(bill.amount));
  currency_->setCurrentText(QString::fromStdString(bill.currency));
  show(debtor_, bill.debtor.value_or(qr::Address{}));
  invoice_->clear();
  referenceKind_->setCurrentIndex(
      static_cast<int>(bill.reference.empty() ? ReferenceKind::None : ReferenceKind::Typed));
  SetText(reference_, bill.reference);
  SetText(message_, bill.message);
  SetText(billing_, bill.billing);
  alternatives_ = bill.alternatives;
  language_->setCurrentIndex(static_cast<int>(bill.language));
  UpdateReferenceControls();
  emit Changed();
}

void BillForm::ClearBill() {
  qr::Bill bill = Bill();
  bill.amount.clear();
  bill.debtor.reset();
  bill.reference.clear();
  bill.message.clear();
  bill.billing.clear();
  bill.alternatives.clear();
  SetBill(bill);
}

void BillForm::SetPage(QrBillPage page) {
  page_->setCurrentIndex(page == QrBillPage::Bill ? 1 : 0);
}

void BillForm::SetSeparators(bool on) {
  separators_->setChecked(on);
}

void BillForm::SetLayoutPath(const QString& path) {
  scheme_ = LayoutScheme(path);  // a file that does not read changes nothing
  layoutPath_ = path;
  UpdateReferenceControls();
  emit Changed();
}

}  // namespace bvr
