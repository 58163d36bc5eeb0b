#include "cli/PrintTarget.h"

#include <charconv>

#include "printing/CupsPrinting.h"

namespace bvr::cli {

std::optional<PrintTarget> PrintTargetOf(const Options& options) {
  const std::optional<std::string> printer = options.Value("--printer");
  if (!printer) {
    if (options.Has("--copies") || options.Has("--no-printer-offset")) {
      throw UsageError("--copies and --no-printer-offset need --printer");
    }
    return std::nullopt;
  }
  if (options.Has("-o")) {
    throw UsageError("-o and --printer exclude each other");
  }
  if (printer->empty()) {
    throw UsageError("--printer takes a queue name or default");
  }
  PrintTarget target;
  if (auto text = options.Value("--copies")) {
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, target.copies);
    if (text->empty() || ec != std::errc() || ptr != end || target.copies < 1 ||
        target.copies > 999) {
      throw UsageError("--copies takes a number from 1 to 999");
    }
  }
  target.queue = ResolvePrintQueue(*printer);
  if (!options.Has("--no-printer-offset")) {
    target.offset = StoredPrinterOffset(target.queue);
  }
  return target;
}

std::string JobName(const PrintTarget& target, int job) {
  return target.queue + "-" + std::to_string(job);
}

}  // namespace bvr::cli
