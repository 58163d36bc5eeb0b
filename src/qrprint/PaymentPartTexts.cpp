#include "qrprint/PaymentPartTexts.h"

namespace bvr::qr {

const PaymentPartTexts& TextsFor(Language language) {
  static const PaymentPartTexts fr{"Section paiement",
                                   "Récépissé",
                                   "Compte / Payable à",
                                   "Référence",
                                   "Informations supplémentaires",
                                   "Monnaie",
                                   "Montant",
                                   "Payable par",
                                   "Payable par (nom/adresse)",
                                   "Point de dépôt",
                                   "Exemple de document A4 avec QR-facture"};
  static const PaymentPartTexts de{"Zahlteil",
                                   "Empfangsschein",
                                   "Konto / Zahlbar an",
                                   "Referenz",
                                   "Zusätzliche Informationen",
                                   "Währung",
                                   "Betrag",
                                   "Zahlbar durch",
                                   "Zahlbar durch (Name/Adresse)",
                                   "Annahmestelle",
                                   "Beispiel A4-Dokument mit QR-Rechnung"};
  static const PaymentPartTexts it{"Sezione pagamento",
                                   "Ricevuta",
                                   "Conto / Pagabile a",
                                   "Riferimento",
                                   "Informazioni supplementari",
                                   "Valuta",
                                   "Importo",
                                   "Pagabile da",
                                   "Pagabile da (nome/indirizzo)",
                                   "Punto di accettazione",
                                   "Esempio di documento A4 con QR-fattura"};
  static const PaymentPartTexts en{"Payment part",
                                   "Receipt",
                                   "Account / Payable to",
                                   "Reference",
                                   "Additional information",
                                   "Currency",
                                   "Amount",
                                   "Payable by",
                                   "Payable by (name/address)",
                                   "Acceptance point",
                                   "Example A4 document with QR-bill"};
  switch (language) {
    case Language::de:
      return de;
    case Language::it:
      return it;
    case Language::en:
      return en;
    case Language::fr:
      break;
  }
  return fr;
}

}  // namespace bvr::qr
