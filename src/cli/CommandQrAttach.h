// bvrslip qr attach: the QR-bill added to an existing PDF invoice.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace bvr::cli {

// args: after "qr attach". Exit 0 with the output written (or printed); 1 with no file when
// the invoice or the bill is refused, saying why; 2 for usage.
int RunQrAttach(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

inline constexpr const char* kQrAttachUsage =
    "qr attach --pdf INVOICE.pdf --bill FILE -o OUT.pdf [--where auto|last-page|new-page] "
    "[--language fr|de|it|en] [--no-separators]    the payment part added to an existing "
    "invoice: auto puts it on the foot of the last page when that page is A4 portrait and its "
    "bottom 105 mm are free, else on a new A4 page; the invoice's pages stay as they were; a "
    "damaged, password-protected or signed PDF is refused\n"
    "qr attach --pdf INVOICE.pdf --bill FILE --printer NAME|default [--copies N] "
    "[--no-printer-offset] [--where ...] [--language ...] [--no-separators]    the same, "
    "printed";

}  // namespace bvr::cli
