// The library's user-visible texts (menu captions, dialog titles and labels, messages),
// looked up by their number. The texts are French and kept exactly as the program shows them.
#pragma once

#include <string_view>

namespace bvr {

enum StringId : int {
  SAccountDialogCaption = 64912,      // "N° d'adhérent"
  SReferenceDialogCaption = 64913,    // "N° de référence"
  SParticipantNumber = 64914,         // "N° de participant"
  SParticipantStart = 64915,          // "Début du n° de participant"
  SParticipantLength = 64916,         // "Longueur du n° de participant"
  SInternalStart = 64917,             // "Début du n° interne"
  SInternalLength = 64918,            // "Longueur du n° interne"
  SInvalidAccountFormat = 64919,      // "Format du n° d'adhérent invalide"
  SAmountTooLarge = 64920,            // "Montant trop grand"
  SNegativeAmount = 64921,            // "Montant négatif"
  SAmountNotRepresentable = 64922,    // "Montant non représentable"
  SNoSlipLayout = 64923,              // "Aucun paramètre BVR n'est lié au bulletin"
  SLabelX = 64928,                    // "X"
  SLabelY = 64929,                    // "Y"
  SLabelWidth = 64930,                // "Largeur"
  SLabelHeight = 64931,               // "Hauteur"
  SDecimalDialogCaption = 64932,      // "Zone décimale"
  SDecimalGroup = 64933,              // "Largeur zone décimale (en mm)"
  SDecimalWidth = 64934,              // "Décimales"
  SCommaWidth = 64935,                // "Séparateur"
  SDecimalWidthHelp = 64936,          // "(Largeur de la zone disponible ...)"
  SCommaWidthHelp = 64937,            // "(Distance entre le chiffre des unités ...)"
  SCharWidth = 64938,                 // "Largeur des caractères (en mm)"
  SCharWidthHelp = 64939,             // "(largeur de chaque chiffre du montant. ...)"
  SShowNegativeAmount = 64940,        // "Imprimer les montants négatifs"
  SNegativeChar = 64941,              // "Caractère de remplacement"
  SCodingLineXHelp = 64942,           // "(Distance entre le bord de droite du BVR ...)"
  SCodingLineYHelp = 64943,           // "(Distance entre le bord inférieur du BVR ...)"
  SHintAccountReceipt = 64944,        // "N° d'adhérent : récépissé"
  SHintAccountProcessing = 64945,     // "N° d'adhérent : traitement"
  SHintPaymentByReceipt = 64946,      // "Versemennt par : récépissé"
  SHintPaymentByProcessing = 64947,   // "Versement par : traitement"
  SHintPaymentForReceipt = 64948,     // "Versement pour : récépissé"
  SHintPaymentForProcessing = 64949,  // "Versement pour : traitement"
  SHintAmountReceipt = 64950,         // "Montant : récépissé"
  SHintAmountProcessing = 64951,      // "Montant : traitement"
  SHintReferenceReceipt = 64952,      // "Référence : récépissé"
  SHintReferenceProcessing = 64953,   // "Référence : traitement"
  SButtonOk = 64956,                  // "&OK"
  SButtonCancel = 64957,              // "&Annuler"
  STextDialogCaption = 64958,         // "Texte"
  SCoordDialogCaption = 64959,        // "Coordonnées"
  SMenuText = 64967,                  // "Texte..."
  SMenuAccountNumber = 64968,         // "N° d'adhérent..."
  SMenuReference = 64969,             // "N° de référence..."
  SMenuDecimalZone = 64970,           // "Zone décimale/Impression..."
  SMenuPrint = 64971,                 // "A imprimer"
  SMenuCoordinates = 64972,           // "Coordonnées..."
  SMenuFont = 64973,                  // "Police..."
  SMenuSetup = 64974,                 // "Paramétrage"
  SMenuCodingLinePosition = 64975,    // "Position code BVR"
};

inline constexpr int kFirstStringId = 64912;
inline constexpr int kLastStringId = 64975;

// The text with that number (UTF-8); an empty view for a number the table does not hold.
std::string_view LoadResString(int id);

}  // namespace bvr
