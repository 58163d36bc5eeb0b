// The offset stored for each print queue: where a printer's paper path puts the ink compared
// with where the page means it. Kept for the user in $XDG_CONFIG_HOME/bvrslip/printers.ini
// (~/.config/bvrslip/printers.ini), one key per queue in tenths of a millimetre, right and
// down positive:
//   [offsets]
//   office-laser="15,-5"
// Keys match queue names as CUPS does, without regard to letter case. The file may be edited
// by hand: comments and lines the tool does not know survive its writes.
#pragma once

#include <string>

namespace bvr {

struct PrinterOffset {
  int dx = 0;
  int dy = 0;
  friend bool operator==(const PrinterOffset&, const PrinterOffset&) = default;
};

// The largest offset on either axis, tenths of a millimetre: a paper path off by 5 cm is a
// sheet fed wrongly, not one to correct, and the page would leave the paper anyway.
inline constexpr int kMaxPrinterOffset = 500;

// Whether both axes lie within +-kMaxPrinterOffset.
bool InPrinterOffsetRange(long long dx, long long dy);

// The file the offsets are kept in.
std::string PrinterSettingsPath();

// The queue's offset; zero when the file or the queue's line does not exist. EBvrError when
// the file cannot be read ("Cannot read "PATH": reason") or the queue's line is not DX,DY
// within the range ("PATH", line N: ...): a print without the user's calibration would land
// off its form.
PrinterOffset StoredPrinterOffset(const std::string& queue);

// Stores the queue's offset: the file replaced whole, its other lines kept, under a lock that
// waits at most kOffsetsLockWaitMs for another writer. The file goes through the rules of the
// tool's outputs (no unsafe symbolic link, only a regular file, its mode kept). EBvrError
// with the path and the reason when the offset is out of range or the file cannot be written.
void StorePrinterOffset(const std::string& queue, PrinterOffset offset);

inline constexpr int kOffsetsLockWaitMs = 5000;

}  // namespace bvr
