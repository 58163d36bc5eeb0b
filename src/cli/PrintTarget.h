// The print options of the commands that draw: --printer NAME|default in place of -o,
// --copies N and --no-printer-offset.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "report/PrinterOffsets.h"

namespace bvr::cli {

inline const std::vector<std::string> kPrintValueOptions = {"--printer", "--copies"};
inline const std::vector<std::string> kPrintFlagOptions = {"--no-printer-offset"};

struct PrintTarget {
  std::string queue;  // as the server spells it
  int copies = 1;
  PrinterOffset offset;  // the queue's stored offset; zero with --no-printer-offset
};

// nullopt without --printer. Refuses --printer with -o, and --copies or --no-printer-offset
// without --printer (UsageError); an unknown queue is an EBvrError, raised before anything
// is drawn.
std::optional<PrintTarget> PrintTargetOf(const Options& options);

// "QUEUE-JOB", the job's name as the spooler's own tools show it.
std::string JobName(const PrintTarget& target, int job);

}  // namespace bvr::cli
