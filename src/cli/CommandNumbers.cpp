// bvrslip numbers: the reference number, its grouped form and the coding line that a slip
// would print for one payment, computed on a layout exactly as printing computes them.
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "numbers/VYKBVRFunctions.h"

namespace bvr::cli {

namespace {

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          quoted += escape;
        } else {
          quoted += c;  // UTF-8 passes through as it is
        }
    }
  }
  return quoted + "\"";
}

struct Request {
  std::string invoice;
  bool noAmount = false;
  std::string amount;
  std::optional<std::string> account;
  std::optional<std::string> participant;
  std::string layout;
  bool json = false;
};

Request ParseRequest(const std::vector<std::string>& args) {
  const Options options(args, {"--invoice", "--amount", "--account", "--participant", "--layout"},
                        {"--no-amount", "--json"});
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  Request r;
  if (!options.Has("--invoice")) {
    throw UsageError("missing --invoice NUMBER");
  }
  r.invoice = *options.Value("--invoice");
  if (options.Has("--amount") == options.Has("--no-amount")) {
    throw UsageError("give either --amount AMOUNT or --no-amount");
  }
  r.noAmount = options.Has("--no-amount");
  r.amount = options.Value("--amount").value_or("");
  r.account = options.Value("--account");
  r.participant = options.Value("--participant");
  r.layout = options.Value("--layout").value_or("");
  r.json = options.Has("--json");
  return r;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const Request request = ParseRequest(args);
  std::string reference, grouped, codingLine;
  {
    std::unique_ptr<TBvrProperties> layout = LoadLayout(request.layout);
    if (request.account) {
      layout->Account().Setnumber(*request.account);
    }
    if (request.participant) {
      layout->Reference().number().AccountNumber = *request.participant;
    }
    const double amount = request.noAmount ? 0.0 : ParseAmount(request.amount);
    reference = BuildReferenceNumber(layout->Reference().number(), request.invoice);
    grouped = GroupReference(reference);
    // A layout whose processing amount zone is not printed gets the form without amount on
    // paper, so it gets it here too: the output is what the bank would read.
    const bool noAmount = request.noAmount || !layout->Amount().Processing().Imprime;
    codingLine = BuildCodingLine(noAmount, reference, layout->Account().number(), amount);
  }
  if (request.json) {
    out << "{\"reference\": " << JsonString(reference) << ", \"grouped\": " << JsonString(grouped)
        << ", \"codingLine\": " << JsonString(codingLine) << "}\n";
  } else {
    out << "Reference: " << reference << "\n"
        << "Grouped: " << grouped << "\n"
        << "Coding line: " << codingLine << "\n";
  }
  return kExitOk;
}

const Registrar registrar{Command{
    .name = "numbers",
    .usage = "numbers --invoice NUMBER (--amount AMOUNT | --no-amount) [--account ACCOUNT] "
             "[--participant DIGITS] [--layout FILE] [--json]",
    .run = Run,
}};

}  // namespace

}  // namespace bvr::cli
