// The printed words of the payment part in its four languages.
#pragma once

#include <string>

#include "qrbill/Bill.h"

namespace bvr::qr {

struct PaymentPartTexts {
  const char* paymentPart;
  const char* receipt;
  const char* account;
  const char* reference;
  const char* additionalInformation;
  const char* currency;
  const char* amount;
  const char* payableBy;
  const char* payableByBlank;  // the heading above the box of a blank debtor
  const char* acceptancePoint;
  const char* sampleHeading;  // above a bill at the foot of a sample A4 page
};

const PaymentPartTexts& TextsFor(Language language);

}  // namespace bvr::qr
