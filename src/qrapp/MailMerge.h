// Mail merge of the window's bill: the bill is the template, each row of a CSV (the columns
// of `bvrslip batch --kind qr`, the same dialects and encodings) gives one bill. Every row is
// read and checked before anything is written; the bills go into one PDF or one print job,
// and a cancelled run leaves no file and no job.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/Csv.h"
#include "numbers/VYKBVRFunctions.h"
#include "qrapp/BillOutput.h"
#include "qrbill/Bill.h"

namespace bvr {

struct RowProblem {
  std::size_t row = 0;  // data row, from 1
  std::string field;
  std::string message;
};

struct MergeReading {
  std::vector<qr::Bill> bills;
  std::vector<RowProblem> problems;  // every row's rules and texts too long, all rows
  csv::Encoding encoding = csv::Encoding::Utf8;
};

// Reads the CSV (at most 64 MiB) whole. Without an encoding given, a file that is not UTF-8
// is read as Windows-1252, as spreadsheets in Switzerland save CSV. EBvrError for a file
// that does not open, a header the batch refuses, a row the CSV reader refuses, no row.
MergeReading ReadMergeRows(const QString& csvPath, std::optional<csv::Encoding> encoding,
                           const qr::Bill& templateBill, const ReferenceLayout& scheme);

// Called after each page; false cancels the run.
using MergeProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Thrown when the progress cancelled: nothing was written, the job was withdrawn.
class EMergeCancelled : public std::runtime_error {
 public:
  EMergeCancelled() : std::runtime_error("cancelled") {}
};

// One PDF, a page per bill, written whole or not at all.
void WriteMergePdf(const std::vector<qr::Bill>& bills, const BillPrinting& printing,
                   const QString& path, const MergeProgress& progress);

// One job on queue with its stored offset; the job's name ("office-4").
std::string PrintMerge(const std::vector<qr::Bill>& bills, const BillPrinting& printing,
                       const std::string& queue, const MergeProgress& progress);

}  // namespace bvr
