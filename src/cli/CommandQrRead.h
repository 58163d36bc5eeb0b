// bvrslip qr read: the QR-bills of PDFs and pictures, read back and checked.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace bvr::cli {

// args: after "qr read". Exit 0 when every file holds codes and each is a valid bill (or,
// with --check-print, passes every measure); 1 otherwise, saying why on err; 2 for usage.
int RunQrRead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

inline constexpr const char* kQrReadUsage =
    "qr read [--format json|csv] FILE...    every Swiss QR Code of PDFs, PNG, JPEG or TIFF "
    "pictures (- reads stdin): one JSON object a code (the bill, file, page, the code's place "
    "and size in mm, problems) or a CSV row; exit 1 when a code is no valid bill or a file "
    "holds none\n"
    "qr read --check-print FILE.pdf...    each bill's print measured: code size and place, "
    "quiet zone, Swiss cross, page size, faces, titles; exit 1 when a measure fails";

}  // namespace bvr::cli
