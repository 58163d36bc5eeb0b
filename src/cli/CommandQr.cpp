// bvrslip qr: the QR-bill from the command line. A bill in JSON gives its Swiss QR Code text,
// its problems or its payment part on paper (PDF, PNG, SVG); a slip layout's reference scheme
// gives the QR reference, and a body the ISO 11649 creditor reference.
#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/CommandQrAttach.h"
#include "cli/CommandQrRead.h"
#include "cli/GuiApplication.h"
#include "cli/ImageFiles.h"
#include "cli/PrintTarget.h"
#include "numbers/Conversions.h"
#include "print/QrBillReport.h"
#include "printing/CupsPrinting.h"
#include "qrbill/BillJson.h"
#include "qrbill/Payload.h"
#include "qrbill/PayloadReader.h"
#include "qrbill/References.h"
#include "qrbill/Validation.h"
#include "qrprint/PaymentPart.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

// A UTF-8 byte-order mark, which editors put before a bill or a payload alike, is skipped.
std::string ReadInput(const std::string& path) {
  InputFile file(path, kMaxBillBytes, /*allowStdin=*/true);
  std::string text = file.ReadAll();
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
    text.erase(0, 3);
  }
  return text;
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

int RunRender(const Options& options, std::ostream& out) {
  if (options.Has("--payload")) {
    throw UsageError("render reads a bill: --bill FILE");
  }
  const std::string output = options.Value("-o").value_or("");
  const bool printing = options.Has("--printer");
  if (output.empty() && !printing) {
    throw UsageError("missing -o OUT.pdf|OUT.png|OUT.svg or --printer NAME");
  }
  if (!printing && !EndsWith(output, ".pdf") && !EndsWith(output, ".png") &&
      !EndsWith(output, ".svg")) {
    throw UsageError("the output must end in .pdf, .png or .svg");
  }
  const std::string page = options.Value("--page").value_or("a4");
  if (page != "a4" && page != "bill") {
    throw UsageError("--page must be a4 or bill");
  }
  std::optional<qr::Language> language;
  if (auto code = options.Value("--language")) {
    language = qr::LanguageFromCode(*code);
    if (!language) {
      throw UsageError("--language must be fr, de, it or en");
    }
  }
  int dpi = 300;
  if (auto d = options.Value("--dpi")) {
    if (printing || !EndsWith(output, ".png")) {
      throw UsageError("--dpi is for PNG output");
    }
    dpi = DpiOption(*d);
  }
  // The queue is resolved (and its offset read) before the bill is.
  const std::optional<PrintTarget> target = PrintTargetOf(options);
  if (!target) {
    RefuseOutputOverInputs(output, {options.Value("--bill").value_or("")});
  }

  qr::Bill bill = CheckedBill(options);
  if (language) {
    bill.language = *language;
  }
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();
  TQrBillReport report(page == "bill" ? QrBillPage::Bill : QrBillPage::A4);
  report.QrBill.Bill = std::move(bill);
  report.QrBill.Options.separators = !options.Has("--no-separators");
  if (target) {
    const QPointF pageOffset(target->offset.dx, target->offset.dy);
    const int job = PrintPdf({target->queue, "QR-facture", report.PaperMm(), target->copies},
                             [&](QIODevice& device) { report.WritePdf(device, pageOffset); });
    out << JobName(*target, job) << "\n";
    return kExitOk;
  }
  if (EndsWith(output, ".pdf")) {
    report.RenderToPdf(QString::fromStdString(output));
  } else if (EndsWith(output, ".svg")) {
    report.RenderToSvg(QString::fromStdString(output));
  } else {
    // Black on white: grey levels lose nothing and make the file a third of the size.
    WritePng(report.RenderToImage(dpi).convertToFormat(QImage::Format_Grayscale8), output);
  }
  out << output << "\n";
  return kExitOk;
}

int RunPayload(const Options& options, std::ostream& out) {
  if (options.Has("--payload")) {
    throw UsageError("payload reads a bill: --bill FILE");
  }
  out << qr::BuildQrPayload(CheckedBill(options)) << "\n";
  return kExitOk;
}

int RunCheck(const Options& options, std::ostream& out) {
  CheckedBill(options);  // every bill within the rules prints: its texts are fitted
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

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    throw UsageError("missing payload, check, render, reference, read or attach");
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args.front() == "read") {
    return RunQrRead(rest, out, err);
  }
  if (args.front() == "attach") {
    return RunQrAttach(rest, out, err);
  }
  std::vector<std::string> valueOptions = {"--bill",    "--payload",  "--layout",
                                           "--invoice", "--scor",     "-o",
                                           "--page",    "--language", "--dpi"};
  valueOptions.insert(valueOptions.end(), kPrintValueOptions.begin(), kPrintValueOptions.end());
  std::vector<std::string> flagOptions = {"--no-separators"};
  flagOptions.insert(flagOptions.end(), kPrintFlagOptions.begin(), kPrintFlagOptions.end());
  const Options options(rest, valueOptions, flagOptions);
  const bool rendering = options.Has("-o") || options.Has("--page") || options.Has("--language") ||
                         options.Has("--dpi") || options.Has("--no-separators") ||
                         options.Has("--printer") || options.Has("--copies") ||
                         options.Has("--no-printer-offset");
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  const std::string& what = args.front();
  const bool bill = options.Has("--bill") || options.Has("--payload");
  const bool reference =
      options.Has("--layout") || options.Has("--invoice") || options.Has("--scor");
  if ((what == "payload" || what == "check" || what == "render") && reference) {
    throw UsageError(what + " takes a bill, not reference options");
  }
  if (what != "render" && rendering) {
    throw UsageError(what + " takes no output options");
  }
  if (what == "render") {
    return RunRender(options, out);
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
             "qr render --bill FILE -o OUT.pdf|OUT.png|OUT.svg [--page a4|bill] "
             "[--language fr|de|it|en] [--dpi N] [--no-separators]    the payment part at the "
             "foot of an A4 page (default) or alone on 210 x 105 mm; --language replaces the "
             "bill's, --dpi is the PNG's resolution (default 300), --no-separators leaves out "
             "the cutting lines for perforated paper; an invalid bill writes no file\n"
             "qr render --bill FILE --printer NAME|default [--copies N] [--no-printer-offset] "
             "[--page a4|bill] [--language fr|de|it|en] [--no-separators]    the same, printed "
             "at full size with the queue's stored offset\n"
             "qr reference [--layout FILE.BVR] --invoice NUMBER    the QR reference of a "
             "layout's scheme\n"
             "qr reference --scor BODY    the creditor reference RF, check digits, BODY\n" +
             std::string(kQrReadUsage) + "\n" + kQrAttachUsage,
    .run = Run,
}};

}  // namespace

}  // namespace bvr::cli
