// bvrslip format FILE: the loaded layout's saved text on standard output, byte for byte.
#include <unistd.h>

#include "CliTestSupport.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"

namespace bvr::test {
namespace {

using FormatCommand = CliTest;

TEST_F(FormatCommand, TheDemonstrationLayoutComesOutUnchanged) {
  const CliResult r = Run("format " + Write("demo.bvr", std::string(DemonstrationLayoutText())));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, DemonstrationLayoutText());
  EXPECT_EQ(r.err, "");
}

TEST_F(FormatCommand, AHandEditedFileComesOutAsSavingWritesIt) {
  // LF line ends, free spacing, letter case, a raw Windows-1252 byte, "+" and hexadecimal.
  const std::string edited =
      "OBJECT Whatever:TBvrProperties\n"
      "account.NUMBER='Gen\xE8ve' +\n  ' '#$41\n"
      "  PaymentFor.Receipt.Text.Strings=('a''b' '')\n"
      "  Amount.Receipt.Font.Color=$FF\n"
      "END\n";
  const CliResult r = Run("format " + Write("edited.bvr", edited));
  ASSERT_EQ(r.code, 0) << r.err;
  TBvrProperties expected;
  expected.Name = "BVRPropertiesParams";
  expected.LoadFromText(edited);
  EXPECT_EQ(r.out, expected.SaveToText());
  EXPECT_NE(r.out.find("\r\n  Account.number = 'Gen'#232've A'\r\n"), std::string::npos);
  EXPECT_NE(r.out.find("\r\n  PaymentFor.Receipt.Text.Strings = (\r\n    'a'#39'b'\r\n    '')\r\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("\r\n  Amount.Receipt.Font.Color = clRed\r\n"), std::string::npos);
  for (char c : r.out) {
    ASSERT_LT(static_cast<unsigned char>(c), 128);
  }
}

TEST_F(FormatCommand, AFileThatDoesNotLoadPrintsNothing) {
  const CliResult r =
      Run("format " + Write("bad.bvr", "object X: TBvrProperties\r\n  Tag = 'x'\r\nend\r\n"));
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Error reading BVRPropertiesParams.Tag: Invalid property value\n");
  EXPECT_EQ(Run("format").code, 2);
}

}  // namespace
}  // namespace bvr::test
