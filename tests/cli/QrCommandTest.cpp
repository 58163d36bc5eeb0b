// bvrslip qr: the text of a bill, its problems (stderr only, exit 1), the references.
#include <gtest/gtest.h>

#include "CliTestSupport.h"

namespace bvr {
namespace {

class QrCommand : public test::CliTest {};

TEST_F(QrCommand, PayloadCheckAndReferences) {
  const std::string example = std::string(BVR_SOURCE_DIR) + "/../shared/qrbill/example-03.json";
  test::CliResult r = Run({"qr", "payload", "--bill", example});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 26), "SPC\n0200\n1\nCH5204835012345");
  EXPECT_EQ(r.out.substr(r.out.size() - 5), "\nEPD\n");
  r = Run({"qr", "reference", "--invoice", "45687"});
  EXPECT_EQ(r.out, "001234560000000000000456878\n");
  r = Run({"qr", "reference", "--scor", "539007547034"});
  EXPECT_EQ(r.out, "RF18539007547034\n");
}

TEST_F(QrCommand, InvalidBillPrintsEveryProblemOnStandardError) {
  const std::string bill = Write("bill.json", R"({"account": "CH12", "creditor": {},
    "currency": "USD"})");
  const test::CliResult r = Run({"qr", "payload", "--bill", bill});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "account : un IBAN CH ou LI compte 21 caractères, celui-ci 4\n"
            "creditor : obligatoire\n"
            "currency : CHF ou EUR attendu\n");
  EXPECT_EQ(Run(std::string("qr check")).code, 2);
}

}  // namespace
}  // namespace bvr
