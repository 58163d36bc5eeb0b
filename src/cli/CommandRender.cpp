// bvrslip render: the invoice page with its slip (or the setting-mode overlay) as PDF or PNG,
// or printed to a print queue.
#include <QGuiApplication>
#include <QString>
#include <memory>
#include <ostream>

#include "batch/Progress.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "cli/ImageFiles.h"
#include "cli/PrintTarget.h"
#include "model/DemoLayout.h"
#include "numbers/Conversions.h"
#include "print/UReportBVR.h"
#include "printing/CupsPrinting.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  std::string output;
  std::unique_ptr<QGuiApplication> app;  // outlives everything that paints
  std::unique_ptr<TBvrProperties> layout;
  std::unique_ptr<TFormReportBVR> report;
  int dpi = 300;
  std::vector<std::string> valueOptions = {"--layout", "--invoice", "--amount", "--payer",
                                           "-o",       "--dpi",     "--offset"};
  valueOptions.insert(valueOptions.end(), kPrintValueOptions.begin(), kPrintValueOptions.end());
  std::vector<std::string> flagOptions = {"--no-amount", "--setting-mode"};
  flagOptions.insert(flagOptions.end(), kPrintFlagOptions.begin(), kPrintFlagOptions.end());
  const Options options(args, valueOptions, flagOptions);
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  SlipOffset slipOffset;
  if (auto text = options.Value("--offset")) {
    const auto offset = ParseSlipOffset(*text);
    if (!offset) {
      throw UsageError("--offset takes DX,DY in tenths of a millimetre, e.g. 15,-5");
    }
    slipOffset = *offset;
  }
  if (options.Has("--printer") && options.Has("--dpi")) {
    throw UsageError("--dpi is for PNG output");
  }
  const std::optional<PrintTarget> target = PrintTargetOf(options);
  output = options.Value("-o").value_or("");
  if (output.empty() && !target) {
    throw UsageError("missing -o OUT.pdf|OUT.png or --printer NAME");
  }
  if (!target && !EndsWith(output, ".pdf") && !EndsWith(output, ".png")) {
    throw UsageError("the output must end in .pdf or .png");
  }
  if (options.Has("--amount") && options.Has("--no-amount")) {
    throw UsageError("--amount and --no-amount exclude each other");
  }
  if (auto d = options.Value("--dpi")) {
    dpi = DpiOption(*d);
  }

  if (!target) {
    RefuseOutputOverInputs(output, {options.Value("--layout").value_or("")});
  }
  layout = LoadLayout(options.Value("--layout").value_or(""));
  if (options.Has("--no-amount")) {
    // Printed without an amount: the coding line takes its form without amount.
    layout->Amount().Processing().Imprime = false;
    layout->Amount().Receipt().Imprime = false;
  }

  app = EnsureGuiApplication();
  report = std::make_unique<TFormReportBVR>();
  TVYKqrBVR& slip = report->VYKqrBVR;
  slip.SetSettingMode(options.Has("--setting-mode"));
  slip.SlipOffsetX = slipOffset.dx;
  slip.SlipOffsetY = slipOffset.dy;
  slip.SetBvrProperties(layout.get());
  PaymentValues payment = DemonstrationPayment();
  if (options.Has("--amount")) {
    payment.Amount = ParseAmount(*options.Value("--amount"));
  }
  payment.InternalNumber = options.Value("--invoice").value_or(payment.InternalNumber);
  if (std::vector<std::string> payer = options.Values("--payer"); !payer.empty()) {
    payment.PayerLines = std::move(payer);
  }
  slip.SetPayment(payment);

  if (target) {
    report->QuickRepSample.DryRun();  // a slip's error leaves before a job exists
    const QPointF pageOffset(target->offset.dx, target->offset.dy);
    const int job = PrintPdf({target->queue, report->Caption, QSizeF(210.0, 297.0), target->copies},
                             [&](QIODevice& device) { report->WritePdf(device, pageOffset); });
    out << JobName(*target, job) << "\n";
    return kExitOk;
  }
  if (EndsWith(output, ".pdf")) {
    report->RenderToPdf(QString::fromStdString(output));
  } else {
    WritePng(report->RenderToImage(dpi), output);
  }
  out << output << "\n";
  return kExitOk;
}

const Registrar registrar(Command{
    .name = "render",
    .usage = "render [--layout FILE] [--invoice N] [--amount A | --no-amount] [--payer LINE]... "
             "[--setting-mode] [--offset DX,DY] -o OUT.pdf|OUT.png [--dpi N]\n"
             "render [--layout FILE] [--invoice N] [--amount A | --no-amount] [--payer LINE]... "
             "[--setting-mode] [--offset DX,DY] --printer NAME|default [--copies N] "
             "[--no-printer-offset]",
    .run = Run,
});

}  // namespace

}  // namespace bvr::cli
