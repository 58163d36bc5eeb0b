#include "strings/VYKBVRResources.h"

#include <algorithm>
#include <array>
#include <utility>

namespace bvr {
namespace {

struct Entry {
  int id;
  std::string_view text;
};

// Sorted by number.
constexpr std::array kTable = {
    Entry{SAccountDialogCaption, "N° d'adhérent"},
    Entry{SReferenceDialogCaption, "N° de référence"},
    Entry{SParticipantNumber, "N° de participant"},
    Entry{SParticipantStart, "Début du n° de participant"},
    Entry{SParticipantLength, "Longueur du n° de participant"},
    Entry{SInternalStart, "Début du n° interne"},
    Entry{SInternalLength, "Longueur du n° interne"},
    Entry{SInvalidAccountFormat, "Format du n° d'adhérent invalide"},
    Entry{SAmountTooLarge, "Montant trop grand"},
    Entry{SNegativeAmount, "Montant négatif"},
    Entry{SAmountNotRepresentable, "Montant non représentable"},
    Entry{SNoSlipLayout, "Aucun paramètre BVR n'est lié au bulletin"},
    Entry{SLabelX, "X"},
    Entry{SLabelY, "Y"},
    Entry{SLabelWidth, "Largeur"},
    Entry{SLabelHeight, "Hauteur"},
    Entry{SDecimalDialogCaption, "Zone décimale"},
    Entry{SDecimalGroup, "Largeur zone décimale (en mm)"},
    Entry{SDecimalWidth, "Décimales"},
    Entry{SCommaWidth, "Séparateur"},
    Entry{SDecimalWidthHelp, "(Largeur de la zone disponible pour l'impression des décimales)"},
    Entry{SCommaWidthHelp, "(Distance entre le chiffre des unités et la première décimale)"},
    Entry{SCharWidth, "Largeur des caractères (en mm)"},
    Entry{SCharWidthHelp,
          "(largeur de chaque chiffre du montant. 0 indique que la largeur est définie par la "
          "police de caractère)"},
    Entry{SShowNegativeAmount, "Imprimer les montants négatifs"},
    Entry{SNegativeChar, "Caractère de remplacement"},
    Entry{SCodingLineXHelp,
          "(Distance entre le bord de droite du BVR et le premier caractère de la ligne de "
          "codage)"},
    Entry{SCodingLineYHelp,
          "(Distance entre le bord inférieur du BVR et le milieu de la ligne de codage)"},
    Entry{SHintAccountReceipt, "N° d'adhérent : récépissé"},
    Entry{SHintAccountProcessing, "N° d'adhérent : traitement"},
    Entry{SHintPaymentByReceipt, "Versemennt par : récépissé"},
    Entry{SHintPaymentByProcessing, "Versement par : traitement"},
    Entry{SHintPaymentForReceipt, "Versement pour : récépissé"},
    Entry{SHintPaymentForProcessing, "Versement pour : traitement"},
    Entry{SHintAmountReceipt, "Montant : récépissé"},
    Entry{SHintAmountProcessing, "Montant : traitement"},
    Entry{SHintReferenceReceipt, "Référence : récépissé"},
    Entry{SHintReferenceProcessing, "Référence : traitement"},
    Entry{SButtonOk, "&OK"},
    Entry{SButtonCancel, "&Annuler"},
    Entry{STextDialogCaption, "Texte"},
    Entry{SCoordDialogCaption, "Coordonnées"},
    Entry{SMenuText, "Texte..."},
    Entry{SMenuAccountNumber, "N° d'adhérent..."},
    Entry{SMenuReference, "N° de référence..."},
    Entry{SMenuDecimalZone, "Zone décimale/Impression..."},
    Entry{SMenuPrint, "A imprimer"},
    Entry{SMenuCoordinates, "Coordonnées..."},
    Entry{SMenuFont, "Police..."},
    Entry{SMenuSetup, "Paramétrage"},
    Entry{SMenuCodingLinePosition, "Position code BVR"},
};

static_assert(std::is_sorted(kTable.begin(), kTable.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

}  // namespace

std::string_view LoadResString(int id) {
  auto it = std::lower_bound(kTable.begin(), kTable.end(), id,
                             [](const Entry& e, int wanted) { return e.id < wanted; });
  if (it == kTable.end() || it->id != id) {
    return {};
  }
  return it->text;
}

}  // namespace bvr
