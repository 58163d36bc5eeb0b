// bvrslip check FILE: ok and exit 0, or the reader's message and exit 1; a warning when the
// account number could not be printed.
#include <unistd.h>

#include "CliTestSupport.h"
#include "model/DemoLayout.h"
#include "numbers/VYKBVRFunctions.h"
#include "strings/BvrError.h"

namespace bvr::test {
namespace {

using CheckCommand = CliTest;

std::string AccountMessage(const std::string& account) {
  try {
    AccountToCodingForm(account);
  } catch (const EBvrError& e) {
    return e.what();
  }
  return "";
}

TEST_F(CheckCommand, AValidLayoutIsOk) {
  const CliResult r = Run("check " + Write("demo.bvr", std::string(DemonstrationLayoutText())));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "ok\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CheckCommand, FailuresPrintTheReadersMessage) {
  struct Case {
    const char* file;
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"unknown.bvr",
       "object X: TBvrProperties\n  Tag = 1\n  PaymentFor.Receipt.Colour = clRed\nend\n",
       "Error reading BVRPropertiesParams.PaymentFor.Receipt.Colour: Property Colour does not "
       "exist\n"},
      {"syntax.bvr", "object X: TBvrProperties\r\n  Tag 1\r\nend\r\n", "'=' expected on line 2\n"},
      {"noend.bvr", "object X: TBvrProperties\r\n", "'end' expected on line 2\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const CliResult r = Run("check " + Write(c.file, c.text));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.message);
  }
}

TEST_F(CheckCommand, WarnsAboutAnAccountNumberPrintingWouldRefuse) {
  for (const std::string account : {"", "01-987654-5", "12"}) {
    SCOPED_TRACE(account);
    const std::string message = AccountMessage(account);
    ASSERT_NE(message, "");
    const CliResult r =
        Run("check " + Write("account.bvr", "object X: TBvrProperties\r\n  Account.number = '" +
                                                account + "'\r\nend\r\n"));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "ok\n");
    EXPECT_EQ(r.err, "warning: " + message + "\n");
  }
}

TEST_F(CheckCommand, MissingFileAndUsage) {
  const CliResult missing = Run("check " + (dir / "absent.bvr").string());
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err.rfind("Cannot open file \"", 0), 0u) << missing.err;
  const CliResult none = Run("check");
  EXPECT_EQ(none.code, 2);
  EXPECT_NE(none.err.find("usage: bvrslip check FILE"), std::string::npos) << none.err;
  EXPECT_EQ(Run("check a b").code, 2);
}

}  // namespace
}  // namespace bvr::test
