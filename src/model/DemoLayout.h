// The demonstration layout: the layout the demonstration application starts with, kept as
// the layout-file text that saving it produces (one source of truth).
#pragma once

#include <string_view>

#include "model/Payment.h"

namespace bvr {

class TBvrProperties;

// The text, with CR LF line ends.
std::string_view DemonstrationLayoutText();

// Loads the demonstration layout into the object (as LoadFromText does).
void LoadDemonstrationLayout(TBvrProperties& properties);

// The payment the demonstration invoice is printed with: 1000.00 from Jean Dupont, invoice
// 45687.
PaymentValues DemonstrationPayment();

}  // namespace bvr
