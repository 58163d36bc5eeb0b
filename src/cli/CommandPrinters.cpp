// bvrslip printers and bvrslip printer-offset: the print queues with the offset stored for
// each, and storing one.
#include <algorithm>
#include <iomanip>
#include <ostream>

#include "batch/Progress.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "printing/CupsPrinting.h"
#include "report/PrinterOffsets.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

std::string OffsetText(PrinterOffset offset) {
  return std::to_string(offset.dx) + "," + std::to_string(offset.dy);
}

int RunPrinters(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args, {}, {});
  if (!options.Positional().empty()) {
    throw UsageError("unexpected argument " + options.Positional().front());
  }
  const std::vector<PrintQueue> queues = PrintQueues();
  if (queues.empty()) {
    err << "bvrslip printers: the print server offers no queue\n";
    return kExitOk;
  }
  std::size_t width = 0;
  for (const PrintQueue& queue : queues) {
    width = std::max(width, queue.name.size());
  }
  // "*" marks the default queue; offsets in tenths of a millimetre, right and down. An offset
  // that cannot be read shows as "?", and the reason follows.
  std::vector<std::string> unreadable;
  for (const PrintQueue& queue : queues) {
    std::string offset = "?";
    try {
      offset = OffsetText(StoredPrinterOffset(queue.name));
    } catch (const EBvrError& e) {
      if (std::find(unreadable.begin(), unreadable.end(), e.what()) == unreadable.end()) {
        unreadable.push_back(e.what());
      }
    }
    out << (queue.isDefault ? "* " : "  ") << std::left << std::setw(static_cast<int>(width))
        << queue.name << "  " << offset << "\n";
  }
  for (const std::string& message : unreadable) {
    err << message << "\n";
  }
  return unreadable.empty() ? kExitOk : kExitFailure;
}

int RunPrinterOffset(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const Options options(args, {}, {});
  const std::vector<std::string>& positional = options.Positional();
  if (positional.empty() || positional.size() > 2) {
    throw UsageError("expected NAME [DX,DY]");
  }
  std::optional<SlipOffset> offset;
  if (positional.size() == 2) {
    offset = ParseSlipOffset(positional[1]);
    if (!offset) {
      throw UsageError("the offset is DX,DY in tenths of a millimetre, e.g. 15,-5");
    }
    if (!InPrinterOffsetRange(offset->dx, offset->dy)) {
      throw UsageError("the offset lies between -" + std::to_string(kMaxPrinterOffset) + " and " +
                       std::to_string(kMaxPrinterOffset) + " tenths of a millimetre on each axis");
    }
  }
  const std::string queue = ResolvePrintQueue(positional[0]);
  if (offset) {
    StorePrinterOffset(queue, {offset->dx, offset->dy});
  }
  out << queue << " " << OffsetText(StoredPrinterOffset(queue)) << "\n";
  return kExitOk;
}

const Registrar printers(Command{
    .name = "printers",
    .usage = "printers      Lists the print queues ('*' the default) with each one's offset",
    .run = RunPrinters,
});

const Registrar printerOffset(Command{
    .name = "printer-offset",
    .usage = "printer-offset [--] NAME|default [DX,DY]   shows or stores the queue's offset "
             "(tenths of a mm, right and down, each from -500 to 500; -- before a NAME that "
             "starts with -)",
    .run = RunPrinterOffset,
});

}  // namespace

}  // namespace bvr::cli
