#include "cli/CommandQrRead.h"

#include <ostream>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "pdf/PdfLimits.h"
#include "reading/BillScan.h"
#include "reading/PictureLimits.h"
#include "reading/PrintCheck.h"
#include "reading/ScanReport.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

std::string ReadInputBytes(const std::string& path) {
  InputFile file(path, std::max(pdf::kMaxPdfBytes, reading::kMaxPictureBytes),
                 /*allowStdin=*/true);
  return file.ReadAll();
}

std::string NameOf(const std::string& path) {
  return path == "-" ? "(stdin)" : path;
}

// One file's codes printed; false when it holds none or one that is no valid bill.
bool ReadOne(const std::string& path, bool csv, std::ostream& out, std::ostream& err) {
  const std::string name = NameOf(path);
  const std::vector<reading::ScannedCode> codes = reading::ScanBills(ReadInputBytes(path));
  if (codes.empty()) {
    err << name << ": no QR code found\n";
    return false;
  }
  bool valid = true;
  for (const reading::ScannedCode& code : codes) {
    out << (csv ? reading::CodeCsv(code, name) : reading::CodeJson(code, name)) << "\n";
    if (!code.swiss) {
      err << name << " page " << code.page << ": a QR code that is not a Swiss QR Code\n";
    } else if (!code.Valid()) {
      err << name << " page " << code.page << ": invalid bill (" << code.problems.size()
          << (code.problems.size() == 1 ? " problem)\n" : " problems)\n");
    }
    valid = valid && code.Valid();
  }
  return valid;
}

bool CheckOne(const std::string& path, std::ostream& out, std::ostream& err) {
  const std::string name = NameOf(path);
  const std::vector<reading::BillPrint> bills = reading::CheckPrint(ReadInputBytes(path));
  if (bills.empty()) {
    err << name << ": no QR-bill found\n";
    return false;
  }
  bool pass = true;
  for (const reading::BillPrint& bill : bills) {
    for (const reading::Measure& m : bill.measures) {
      if (!m.pass) {
        err << name << " page " << bill.page << ": " << m.check << " " << m.measured
            << ", required " << m.required << "\n";
      }
    }
    out << reading::PrintJson(bill, name) << "\n";
    pass = pass && bill.Pass();
  }
  return pass;
}

}  // namespace

int RunQrRead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args, {"--format"}, {"--check-print"});
  const std::string format = options.Value("--format").value_or("json");
  if (format != "json" && format != "csv") {
    throw UsageError("--format must be json or csv");
  }
  const bool checkPrint = options.Has("--check-print");
  if (checkPrint && options.Has("--format")) {
    throw UsageError("--check-print writes JSON: no --format");
  }
  const std::vector<std::string>& files = options.Positional();
  if (files.empty()) {
    throw UsageError("missing FILE");
  }
  if (std::count(files.begin(), files.end(), "-") > 1) {
    throw UsageError("standard input (-) can be read once");
  }
  if (format == "csv") {
    out << reading::CsvHeader() << "\n";
  }
  bool ok = true;
  for (const std::string& path : files) {
    try {
      ok = (checkPrint ? CheckOne(path, out, err) : ReadOne(path, format == "csv", out, err)) && ok;
    } catch (const EBvrError& e) {
      err << NameOf(path) << ": " << e.what() << "\n";
      ok = false;
    }
  }
  return ok ? kExitOk : kExitFailure;
}

}  // namespace bvr::cli
