// The offset stored for each print queue: where a printer's paper path puts the ink compared
// with where the page means it. Kept for the user in $XDG_CONFIG_HOME/bvrslip/printers.ini
// (~/.config/bvrslip/printers.ini), one key per queue in tenths of a millimetre, right and
// down positive:
//   [offsets]
//   office-laser="15,-5"
#pragma once

#include <string>

namespace bvr {

struct PrinterOffset {
  int dx = 0;
  int dy = 0;
  friend bool operator==(const PrinterOffset&, const PrinterOffset&) = default;
};

// The file the offsets are kept in.
std::string PrinterSettingsPath();

// The queue's offset; zero when none is stored or the stored text does not read.
PrinterOffset StoredPrinterOffset(const std::string& queue);

// Stores the queue's offset. EBvrError when the file cannot be written.
void StorePrinterOffset(const std::string& queue, PrinterOffset offset);

}  // namespace bvr
