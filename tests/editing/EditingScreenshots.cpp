// Saves a picture of every zone dialog, filled with typical values, into the folder given as
// the first argument (default: the current one). For looking at, not a test.
#include <QApplication>
#include <QDir>
#include <QLocale>

#include "editing/VYKBVRAmountDecimalPartDialog.h"
#include "editing/VYKBVRClientBvrDialog.h"
#include "editing/VYKBVRCodeBVRcoordDialog.h"
#include "editing/VYKBVRCoordDialog.h"
#include "editing/VYKBVRReferenceDialog.h"
#include "editing/VYKBVRTexteDialog.h"

namespace {
void Save(QWidget& dialog, const QDir& folder, const char* name) {
  dialog.show();
  QApplication::processEvents();
  dialog.grab().save(folder.filePath(QString::fromLatin1(name) + ".png"));
  dialog.hide();
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::French, QLocale::Switzerland));
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

  bvr::TVYKCoordoDialog coord;
  coord.SetX(10);
  coord.SetY(-25);
  coord.SetZoneWidth(550);
  coord.SetZoneHeight(300);
  Save(coord, folder, "coord");

  bvr::TVYKCodeBVRCoordoDialog coding;
  coding.SetX(76);
  coding.SetY(190);
  Save(coding, folder, "coding");

  bvr::TVYKTextDialog text;
  text.SetZoneText(
      "Société des Éléphants Réunis\r\nRue du Marché 12\r\n1204 Genève\r\n"
      "Une ligne bien trop longue pour la largeur du mémo, coupée à l'écran seulement");
  Save(text, folder, "text");

  bvr::TVYKCliBvrDialog account;
  account.SetAccountNumber("01-987654-4");
  Save(account, folder, "account");

  bvr::TVYKRefDialog reference;
  reference.SetAccountNumber("123456");
  reference.SetAccountNumberIndexStart(1);
  reference.SetInternalNumberIndexStart(5);
  reference.SetInternalNumberLength(22);
  Save(reference, folder, "reference");

  bvr::TVYKAmountDecimalPartDialog amount;
  amount.SetdecimalWidth(90);
  amount.SetCommaWidth(100);
  amount.SetCharWidth(25);
  amount.SetNegativeAmountChar('*');
  amount.SetShowNegativeAmount(true);
  Save(amount, folder, "amount");
  return 0;
}
