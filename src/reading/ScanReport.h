// What `bvrslip qr read` prints for each code found: one JSON object a line, or one CSV row
// a bill for an accounts-payable import.
#pragma once

#include <string>

#include "reading/BillScan.h"
#include "reading/PrintCheck.h"

namespace bvr::reading {

// {"file", "page", "code": {x, y, size (mm), rotation, dpi}, "kind": "bill" or
//  "not a Swiss QR Code", then the bill's JSON form (BillJson.h) or the code's "text", then
//  "problems": [{"field", "message"}, …]}, on one line.
std::string CodeJson(const ScannedCode& code, const std::string& file);

// {"file", "page", "pass", "checks": [{"check", "measured", "required", "pass"}, …]}, on one
// line.
std::string PrintJson(const BillPrint& bill, const std::string& file);

// The header row, and a code's row: account, creditor, amount, currency, reference, debtor,
// message, billing, file, page, problems (addresses on one line, problems joined by "; ").
std::string CsvHeader();
std::string CodeCsv(const ScannedCode& code, const std::string& file);

}  // namespace bvr::reading
