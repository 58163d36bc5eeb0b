// The calibration page on a print queue: the demonstration slip in setting mode, printed with
// the queue's stored offset, whose "largeur : 3 cm" mark the user measures with a ruler. The
// tool's calibrate command and the QR-bill window print the same page.
#pragma once

#include <string>

#include "printing/Calibration.h"
#include "report/PrinterOffsets.h"

namespace bvr {

// Where the page puts the mark's left tick and line, millimetres from the paper's edges.
PaperPoint CalibrationMarkNominal();

// Prints the page to queue (as ResolvePrintQueue spells it) moved by offset; the job's id.
// EBvrError when the server refuses.
int PrintCalibrationPage(const std::string& queue, PrinterOffset offset);

}  // namespace bvr
