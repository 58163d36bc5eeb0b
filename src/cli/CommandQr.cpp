// bvrslip qr: the QR-bill from the command line. A bill in JSON gives its Swiss QR Code text
// or its problems; a slip layout's reference scheme gives the QR reference, and a body the
// ISO 11649 creditor reference.
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/PayloadReader.h"
#include "qrbill/References.h"
#include "qrbill/Validation.h"

namespace bvr::cli {

namespace {

std::string ReadInput(const std::string& path) {
  InputFile file(path, kMaxBillBytes, /*allowStdin=*/true);
  return file.ReadAll();
}

// The bill of --bill FILE (JSON) or --payload FILE (a QR Code text), with every problem of
// its reading and of its rules; an invalid bill raises them all.
qr::Bill CheckedBill(const Options& options) {
  if (options.Has("--bill") == options.Has("--payload")) {
    throw UsageError("give either --bill FILE or --payload FILE");
  }
  qr::Bill bill;
  qr::Problems problems;
  if (options.Has("--bill")) {
    qr::BillReading reading = qr::ReadBillJson(ReadInput(*options.Value("--bill")));
    bill = std::move(reading.bill);
    problems = std::move(reading.problems);
  } else {
    bill = qr::ParseQrPayload(ReadInput(*options.Value("--payload")));
  }
  const qr::Problems rules = qr::ValidateBill(bill);
  problems.insert(problems.end(), rules.begin(), rules.end());
  if (!problems.empty()) {
    throw qr::EBillInvalid(std::move(problems));
  }
  return bill;
}

int RunPayload(const Options& options, std::ostream& out) {
  if (options.Has("--payload")) {
    throw UsageError("payload reads a bill: --bill FILE");
  }
  out << qr::BuildQrPayload(CheckedBill(options)) << "\n";
  return kExitOk;
}

int RunCheck(const Options& options, std::ostream& out) {
  CheckedBill(options);
  out << "ok\n";
  return kExitOk;
}

int RunReference(const Options& options, std::ostream& out) {
  if (options.Has("--scor")) {
    if (options.Has("--layout") || options.Has("--invoice")) {
      throw UsageError("--scor goes alone");
    }
    out << qr::CreateCreditorReference(*options.Value("--scor")) << "\n";
    return kExitOk;
  }
  if (!options.Has("--invoice")) {
    throw UsageError("missing --invoice NUMBER (or --scor BODY)");
  }
  const std::unique_ptr<TBvrProperties> layout = LoadLayout(options.Value("--layout").value_or(""));
  out << qr::QrReferenceFromLayout(layout->Reference().number(), *options.Value("--invoice"))
      << "\n";
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  if (args.empty()) {
    throw UsageError("missing payload, check or reference");
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const Options options(rest, {"--bill", "--payload", "--layout", "--invoice", "--scor"}, {});
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  const std::string& what = args.front();
  const bool bill = options.Has("--bill") || options.Has("--payload");
  const bool reference =
      options.Has("--layout") || options.Has("--invoice") || options.Has("--scor");
  if ((what == "payload" || what == "check") && reference) {
    throw UsageError(what + " takes a bill, not reference options");
  }
  if (what == "payload") {
    return RunPayload(options, out);
  }
  if (what == "check") {
    return RunCheck(options, out);
  }
  if (what == "reference") {
    if (bill) {
      throw UsageError("reference takes no bill");
    }
    return RunReference(options, out);
  }
  throw UsageError("unknown qr command " + what);
}

const Registrar registrar{Command{
    .name = "qr",
    .usage = "qr payload --bill FILE    the Swiss QR Code text of a bill (JSON; - reads stdin)\n"
             "qr check (--bill FILE | --payload FILE)    'ok', or every problem as FIELD : "
             "message\n"
             "qr reference [--layout FILE.BVR] --invoice NUMBER    the QR reference of a "
             "layout's scheme\n"
             "qr reference --scor BODY    the creditor reference RF, check digits, BODY",
    .run = Run,
}};

}  // namespace

}  // namespace bvr::cli
