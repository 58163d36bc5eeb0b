// bvrslip numbers: the reference, grouped form and coding line of one payment, as text or
// JSON; library failures exit 1 with the message, usage errors exit 2 with the usage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "model/DemoLayout.h"

namespace bvr {
namespace {

using Result = test::CliResult;

class NumbersCommand : public test::CliTest {
 protected:
  Result Run(const std::vector<std::string>& args) const {
    std::vector<std::string> all{"numbers"};
    all.insert(all.end(), args.begin(), args.end());
    return CliTest::Run(all);
  }
};

constexpr const char* kUsage =
    "usage: bvrslip numbers --invoice NUMBER (--amount AMOUNT | --no-amount) [--account "
    "ACCOUNT] [--participant DIGITS] [--layout FILE] [--json]\n";

TEST_F(NumbersCommand, PrintsTheNumbersOfTheDemonstrationLayout) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"--invoice", "45687", "--amount", "1000"},
       "Reference: 001234560000000000000456878\n"
       "Grouped: 00  12345  60000  00000  00004  56878  \n"
       "Coding line: 0100001000004>001234560000000000000456878+ 019876544>\n"},
      {{"--no-amount", "--invoice", "45687"},
       "Reference: 001234560000000000000456878\n"
       "Grouped: 00  12345  60000  00000  00004  56878  \n"
       "Coding line: 042>001234560000000000000456878+ 019876544>\n"},
      {{"--invoice", "45687", "--amount", "12.5", "--json"},
       "{\"reference\": \"001234560000000000000456878\", "
       "\"grouped\": \"00  12345  60000  00000  00004  56878  \", "
       "\"codingLine\": \"0100000012505>001234560000000000000456878+ 019876544>\"}\n"},
      // Another account (blanks as separators) and participant number, same places.
      {{"--invoice", "45687", "--amount", "0.5", "--account", "01 9876 5", "--participant", "0012"},
       "Reference: 001200000000000000000456876\n"
       "Grouped: 00  12000  00000  00000  00004  56876  \n"
       "Coding line: 0100000000509>001200000000000000000456876+ 010098765>\n"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(NumbersCommand, ReadsTheLayoutFromAFile) {
  // The demonstration layout with its processing amount zone not printed: the slip would
  // carry the form without amount, and so does the output.
  std::string text(DemonstrationLayoutText());
  const std::string from = "  Amount.Processing.Imprime = True\r\n";
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, from.size(), "  Amount.Processing.Imprime = False\r\n");
  const Result r =
      Run({"--layout", Write("no amount.bvr", text), "--invoice", "7", "--amount", "5", "--json"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"reference\": \"001234560000000000000000073\", "
            "\"grouped\": \"00  12345  60000  00000  00000  00073  \", "
            "\"codingLine\": \"042>001234560000000000000000073+ 019876544>\"}\n");
}

TEST_F(NumbersCommand, ALibraryFailurePrintsItsMessageAndExits1) {
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"--invoice", "1", "--amount", "1", "--account", "01-987654-5"},
       "Format du n° d'adhérent invalide : 01-987654-5 clef invalide\n"},
      {{"--invoice", "1", "--amount", "1", "--account", "1-987654-4"},
       "Format du n° d'adhérent invalide : 1-987654-4\n"},
      {{"--invoice", "1", "--no-amount", "--account", "01-987654-"},
       "'' is not a valid integer value\n"},
      {{"--invoice", "1", "--amount", "123456789"}, "123456789 : Montant trop grand\n"},
      {{"--invoice", "1", "--amount", "-3"}, "-3 : Montant négatif\n"},
      {{"--invoice", "1", "--amount", "12,50"}, "'12,50' is not a valid floating point value\n"},
      {{"--invoice", "F-1", "--amount", "1"}, "'F' is not a valid integer value\n"},
      {{"--invoice", "1", "--amount", "1", "--layout", "/nonexistent/x.bvr"},
       "Cannot open file \"/nonexistent/x.bvr\". No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
}

TEST_F(NumbersCommand, AUsageErrorPrintsTheUsageAndExits2) {
  struct Case {
    std::vector<std::string> args;
    std::string reason;
  };
  const Case cases[] = {
      {{"--amount", "1"}, "missing --invoice NUMBER"},
      {{"--invoice", "1"}, "give either --amount AMOUNT or --no-amount"},
      {{"--invoice", "1", "--amount", "1", "--no-amount"},
       "give either --amount AMOUNT or --no-amount"},
      {{"--invoice", "1", "--amount", "1", "--colour", "red"}, "unknown option --colour"},
      {{"--invoice", "1", "--amount"}, "option --amount needs a value"},
      {{"--invoice", "1", "--no-amount", "extra"}, "unexpected argument extra"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "bvrslip numbers: " + c.reason + "\n" + kUsage);
  }
}

}  // namespace
}  // namespace bvr
