// Random valid bills (fixed seed) go through their QR Code text and back unchanged.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/PayloadReader.h"
#include "qrbill/References.h"
#include "qrbill/Validation.h"

namespace bvr::qr {
namespace {

class Generator {
 public:
  std::string Text(std::size_t maxLength) {
    static const std::u8string kPieces[] = {u8"a", u8"Z", u8"9", u8" ", u8"é", u8"ü",
                                            u8"€", u8"ș", u8"&", u8"/", u8"~", u8"Ő"};
    std::string text = "x";
    const std::size_t length = Pick(maxLength - 1);
    for (std::size_t i = 0; i < length; ++i) {
      const std::u8string& p = kPieces[Pick(std::size(kPieces) - 1)];
      text.append(p.begin(), p.end());
    }
    return text;
  }
  std::string Digits(std::size_t n) {
    std::string d;
    for (std::size_t i = 0; i < n; ++i) {
      d += static_cast<char>('0' + Pick(9));
    }
    return d;
  }
  Address AddressOf() {
    return {Text(20), Pick(1) ? Text(20) : "", Pick(1) ? Digits(3) : "", Digits(4),
            Text(20), Pick(1) ? "CH" : "DE"};
  }
  Bill BillOf() {
    Bill b;
    b.creditor = AddressOf();
    b.currency = Pick(1) ? "CHF" : "EUR";
    if (Pick(1)) {
      b.amount = std::to_string(1 + Pick(99999)) + "." + Digits(2);
    }
    if (Pick(1)) {
      b.debtor = AddressOf();
    }
    if (b.currency == "CHF" && Pick(1)) {
      b.account = "CH4431999123000889012";
      b.referenceType = ReferenceType::QRR;
      ReferenceLayout layout{Digits(6), 9, 1, 18, 6};
      b.reference = QrReferenceFromLayout(layout, Digits(1 + Pick(17)));
    } else {
      b.account = "CH9300762011623852957";
      b.referenceType = Pick(1) ? ReferenceType::SCOR : ReferenceType::NON;
      b.reference =
          b.referenceType == ReferenceType::SCOR ? CreateCreditorReference(Digits(10)) : "";
    }
    b.message = Pick(1) ? Text(60) : "";
    b.billing = Pick(1) ? "//S1/10/" + Digits(8) : "";
    for (std::size_t i = Pick(2); i > 0; --i) {
      b.alternatives.push_back(Text(50));
    }
    return b;
  }

 private:
  std::size_t Pick(std::size_t max) {
    return std::uniform_int_distribution<std::size_t>(0, max)(random_);
  }
  std::mt19937 random_{20261209};
};

std::string NoBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

void AddAddress(std::vector<std::string>& lines, const std::optional<Address>& a) {
  if (!a) {
    lines.insert(lines.end(), 7, "");
    return;
  }
  lines.insert(lines.end(), {"S", a->name, a->street, a->number, a->postcode, a->town, a->country});
}

// The QR Code text as the standard's table lists it, element by element, written apart from
// the library: header, account, creditor, seven reserved lines, amount, currency, debtor,
// reference, message, trailer, then billing information and procedures only when present.
std::string ExpectedPayload(const Bill& b) {
  std::vector<std::string> lines = {"SPC", "0200", "1", NoBlanks(b.account)};
  AddAddress(lines, b.creditor);
  lines.insert(lines.end(), 7, "");
  lines.insert(lines.end(), {b.amount, b.currency});
  AddAddress(lines, b.debtor);
  const char* type = b.referenceType == ReferenceType::QRR    ? "QRR"
                     : b.referenceType == ReferenceType::SCOR ? "SCOR"
                                                              : "NON";
  lines.insert(lines.end(), {type, NoBlanks(b.reference), b.message, "EPD"});
  if (!b.billing.empty() || !b.alternatives.empty()) {
    lines.push_back(b.billing);
  }
  lines.insert(lines.end(), b.alternatives.begin(), b.alternatives.end());
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "" : "\n") + lines[i];
  }
  return text;
}

TEST(RoundTrip, RandomValidBillsGiveTheTextElementByElement) {
  Generator generate;
  for (int i = 0; i < 500; ++i) {
    const Bill bill = generate.BillOf();
    EXPECT_EQ(BuildQrPayload(bill), ExpectedPayload(bill)) << i;
  }
}

TEST(RoundTrip, RandomValidBillsComeBackUnchanged) {
  Generator generate;
  for (int i = 0; i < 500; ++i) {
    const Bill bill = generate.BillOf();
    ASSERT_TRUE(ValidateBill(bill).empty()) << i << "\n" << WritePayload(bill);
    EXPECT_EQ(ParseQrPayload(BuildQrPayload(bill)), bill) << i;
  }
}

TEST(RoundTrip, RandomValidBillsComeBackFromTheirJson) {
  Generator generate;
  for (int i = 0; i < 500; ++i) {
    Bill bill = generate.BillOf();
    bill.language = static_cast<Language>(i % 4);
    const BillReading reading = ReadBillJson(WriteBillJson(bill));
    EXPECT_TRUE(reading.problems.empty()) << i;
    EXPECT_EQ(reading.bill, bill) << i << "\n" << WriteBillJson(bill);
  }
}

}  // namespace
}  // namespace bvr::qr
