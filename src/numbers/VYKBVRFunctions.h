// The arithmetic of the payment slip: the modulo 10 recursive check digit, the postal account
// number's coding form, the 27-digit reference number, the amount code and the coding line.
// Pure computation on text; failures raise EBvrError with the library's messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace bvr {

// Rows 0-9: the digit just read; row 10 turns the final carry into the check digit.
// Columns: the running carry 0-9.
extern const std::array<std::array<std::uint8_t, 10>, 11> Modulo10Table;

// The entry of Modulo10Table in that row and column.
std::uint8_t Modulo10Lookup(std::uint8_t carry, std::uint8_t row);

// Modulo 10 recursive check digit of a text of digits. A non-digit fails with
// "'%s' is not a valid integer value".
std::uint8_t CheckDigit(const std::string& digits, int carry = 0);

// "01-987654-4" -> "019876544". Fails with "Format du n° d'adhérent invalide : <input>"
// (optionally followed by " clef invalide").
std::string AccountToCodingForm(const std::string& account);

// Where the participant number and the internal number go in the reference's 26 places,
// counted from 1.
struct ReferenceLayout {
  std::string AccountNumber;
  std::int32_t InternalNumberIndexStart = 0;
  std::int32_t AccountNumberIndexStart = 0;
  std::int32_t InternalNumberLength = 0;
  std::int32_t AccountNumberLength = 0;
};

// 26 places from the layout plus the check digit: 27 characters. Whatever the layout holds
// (starts below 1, parts running past place 26, negative or huge lengths), only the 26 places
// are written; what falls outside them is dropped. A non-digit fails as in CheckDigit.
std::string BuildReferenceNumber(const ReferenceLayout& layout, const std::string& internalNumber);

// "00  12345  60000  00000  00004  56878  ": 39 characters.
std::string GroupReference(const std::string& reference);

struct SplitAmountResult {
  std::string francs;    // 8 digits
  std::string centimes;  // 2 digits
};
// Francs and centimes from the amount's general decimal text; further decimals are cut, not
// rounded. Fails with "<francs> : Montant trop grand" past 8 digits of francs (exponent forms
// of 1e15 and more included), "<amount> : Montant négatif" below zero and
// "<amount> : Montant non représentable" for infinities and NaN. Amounts too small for the
// fixed-point text give 0 centimes.
SplitAmountResult SplitAmount(double amount);
// The same split without the exception: nothing where SplitAmount fails.
std::optional<SplitAmountResult> TrySplitAmount(double amount);

// Whether a printed slip's coding line carries the amount: only when the processing part
// prints it, and never for a credit. The amount code has no sign, so a negative amount would
// be read as a debit; its slip gets the code without amount instead.
bool CodingLineCarriesAmount(bool processingPrintsAmount, double amount);

// Amount code, ">", reference, "+ ", account in coding form, ">".
std::string BuildCodingLine(bool noAmount, const std::string& reference, const std::string& account,
                            double amount);

}  // namespace bvr
