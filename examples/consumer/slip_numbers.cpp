// The demonstration layout's reference number and coding line for one invoice, and the
// creditor reference of a QR-bill.
#include <bvrslip/model/BvrProperties.h>
#include <bvrslip/model/DemoLayout.h>
#include <bvrslip/numbers/VYKBVRFunctions.h>
#include <bvrslip/qrbill/References.h>
#include <iostream>

int main() {
  bvr::TBvrProperties layout;
  bvr::LoadDemonstrationLayout(layout);
  const std::string reference = bvr::BuildReferenceNumber(layout.Reference().number(), "45687");
  std::cout << bvr::GroupReference(reference) << "\n"
            << bvr::BuildCodingLine(false, reference, layout.Account().number(), 1000.0) << "\n"
            << bvr::qr::CreateCreditorReference("539007547034") << "\n";
}
