// The official example bills give their QR Code text byte for byte; known check digits hold.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "qrbill/BillJson.h"
#include "qrbill/Iban.h"
#include "qrbill/Payload.h"
#include "qrbill/PayloadReader.h"
#include "qrbill/References.h"

namespace bvr::qr {
namespace {

std::string ExampleText(const std::string& name) {
  std::ifstream in(std::string(BVR_SOURCE_DIR) + "/tests/qrbill/data/" + name, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), {}};
  std::string lf;
  for (char c : text) {
    if (c != '\r') {
      lf += c;
    }
  }
  return lf;
}

TEST(OfficialExamples, GiveTheirPayloadAndReadBack) {
  for (const char* name : {"example-01", "example-03"}) {
    const BillReading reading = ReadBillJson(ExampleText(std::string(name) + ".json"));
    EXPECT_TRUE(reading.problems.empty()) << name;
    std::string expected = ExampleText(std::string(name) + ".payload");
    ASSERT_FALSE(expected.empty()) << name;
    expected.pop_back();  // the file's final line break
    EXPECT_EQ(BuildQrPayload(reading.bill), expected) << name;
    EXPECT_EQ(ParseQrPayload(expected), reading.bill) << name;
  }
}

TEST(CheckDigits, PublishedExamples) {
  EXPECT_FALSE(IbanProblem("CH9300762011623852957"));
  EXPECT_FALSE(IbanProblem("LI21088100002324013AA"));
  EXPECT_EQ(IbanProblem("CH9300762011623852958"), "chiffres de contrôle de l'IBAN invalides");
  EXPECT_TRUE(IsQrIban("CH4431999123000889012"));
  EXPECT_FALSE(IsQrIban("CH9300762011623852957"));
  EXPECT_EQ(CreateCreditorReference("5390 0754 7034"), "RF18539007547034");
  EXPECT_FALSE(CreditorReferenceProblem("RF18539007547034"));
  EXPECT_EQ(CreditorReferenceProblem("RF19539007547034"),
            "chiffres de contrôle de la référence créancier invalides");
  EXPECT_FALSE(QrReferenceProblem("210000000003139471430009017"));
}

TEST(QrReference, FromTheDemonstrationLayout) {
  ReferenceLayout demo{"00123456", 9, 1, 18, 8};
  EXPECT_EQ(QrReferenceFromLayout(demo, "45687"), "001234560000000000000456878");
}

}  // namespace
}  // namespace bvr::qr
