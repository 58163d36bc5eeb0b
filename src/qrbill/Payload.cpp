#include "qrbill/Payload.h"

#include "qrbill/Amount.h"
#include "qrbill/Mod97.h"
#include "qrbill/Validation.h"

namespace bvr::qr {

namespace {

class Lines {
 public:
  void Add(std::string_view element) {
    if (!first_) {
      text_ += '\n';
    }
    first_ = false;
    text_ += element;
  }
  void AddEmpty(int count) {
    for (int i = 0; i < count; ++i) {
      Add({});
    }
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
  bool first_ = true;
};

constexpr int kAddressElements = 7;

void AddAddress(Lines& lines, const Address& a) {
  lines.Add("S");
  for (const std::string* element :
       {&a.name, &a.street, &a.number, &a.postcode, &a.town, &a.country}) {
    lines.Add(*element);
  }
}

}  // namespace

std::string WritePayload(const Bill& bill) {
  Lines lines;
  lines.Add("SPC");
  lines.Add("0200");
  lines.Add("1");
  lines.Add(Compact(bill.account));
  AddAddress(lines, bill.creditor);
  lines.AddEmpty(kAddressElements);  // ultimate creditor: reserved
  lines.Add(AmountWithTwoDecimals(bill.amount));
  lines.Add(bill.currency);
  if (bill.debtor) {
    AddAddress(lines, *bill.debtor);
  } else {
    lines.AddEmpty(kAddressElements);
  }
  lines.Add(ReferenceTypeCode(bill.referenceType));
  lines.Add(Compact(bill.reference));
  lines.Add(bill.message);
  lines.Add("EPD");
  if (!bill.billing.empty() || !bill.alternatives.empty()) {
    lines.Add(bill.billing);
  }
  for (const std::string& alternative : bill.alternatives) {
    lines.Add(alternative);
  }
  return lines.Take();
}

std::string BuildQrPayload(const Bill& bill) {
  Problems problems = ValidateBill(bill);
  if (!problems.empty()) {
    throw EBillInvalid(std::move(problems));
  }
  return WritePayload(bill);
}

}  // namespace bvr::qr
