// What varies from one printed slip to the next with the same layout.
#pragma once

#include <string>
#include <vector>

namespace bvr {

struct PaymentValues {
  std::vector<std::string> PayerLines;
  double Amount = 0.0;
  std::string InternalNumber;  // the invoice number the reference carries
};

}  // namespace bvr
