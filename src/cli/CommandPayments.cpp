// bvrslip payments: the bank's camt.054 notifications and camt.053 statements read as a table,
// or matched to the open invoices by their reference.
#include <QIODevice>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/BatchSupport.h"
#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/ImageFiles.h"
#include "payments/CamtReader.h"
#include "payments/Invoices.h"
#include "payments/Matcher.h"
#include "payments/Tables.h"
#include "qrbill/References.h"
#include "report/AtomicFile.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

// Bank files are streamed, so only the time to read them bounds their size.
constexpr std::size_t kMaxCamtBytes = std::size_t{16} << 30;

// A stream over a device, in 64 KB pieces; a refused write stops the writer.
class DeviceBuffer : public std::streambuf {
 public:
  explicit DeviceBuffer(QIODevice& device) : device_(device) {
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  ~DeviceBuffer() override = default;

  void Flush() {
    const std::ptrdiff_t size = pptr() - pbase();
    if (size > 0 && device_.write(pbase(), size) != size) {
      throw EWriteStopped("payments result");
    }
    setp(buffer_, buffer_ + sizeof buffer_);
  }

 protected:
  int_type overflow(int_type c) override {
    Flush();
    if (c != traits_type::eof()) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

 private:
  QIODevice& device_;
  char buffer_[64 * 1024];
};

// Calls write with a stream on the file at path, which appears whole or not at all.
void WriteAtomically(const std::string& path, const std::function<void(std::ostream&)>& write) {
  WriteFileAtomically(QString::fromStdString(path), [&](QIODevice& device) {
    DeviceBuffer buffer(device);
    std::ostream stream(&buffer);
    write(stream);
    buffer.Flush();
  });
}

// Every transaction of every file, in order, to each.
template <class Each>
std::size_t ReadAll(const std::vector<std::string>& files, Each&& each) {
  std::size_t count = 0;
  for (const std::string& path : files) {
    InputFile file(path, kMaxCamtBytes);
    pay::CamtReader reader(
        [&file](char* buffer, std::size_t size) { return file.Read(buffer, size); }, path);
    each.StartFile();
    pay::Transaction t;
    while (reader.Next(t)) {
      each(t);
      ++count;
    }
  }
  return count;
}

pay::TableFormat FormatOf(const std::string& output) {
  if (EndsWith(output, ".json")) {
    return pay::TableFormat::Json;
  }
  if (!EndsWith(output, ".csv")) {
    throw UsageError("the output must end in .csv or .json");
  }
  return pay::TableFormat::Csv;
}

int RunRead(const Options& options, std::ostream& out) {
  const std::vector<std::string>& files = options.Positional();
  if (files.empty()) {
    throw UsageError("missing FILE.xml");
  }
  const auto write = [&](std::ostream& stream, pay::TableFormat format) {
    pay::TableWriter table(stream, format, pay::TransactionColumns());
    struct {
      pay::TableWriter& table;
      void StartFile() {}
      void operator()(const pay::Transaction& t) { table.Row(pay::TransactionRow(t)); }
    } rows{table};
    ReadAll(files, rows);
    table.Finish();
  };
  if (const std::optional<std::string> output = options.Value("-o")) {
    const pay::TableFormat format = FormatOf(*output);
    RefuseOutputOverInputs(*output, files);
    WriteAtomically(*output, [&](std::ostream& stream) { write(stream, format); });
    out << *output << "\n";
  } else {
    write(out, options.Has("--json") ? pay::TableFormat::Json : pay::TableFormat::Csv);
  }
  return kExitOk;
}

pay::ReferenceMaker MakerOf(const Options& options) {
  if (options.Has("--scor")) {
    if (options.Has("--layout")) {
      throw UsageError("give --layout FILE.BVR or --scor, not both");
    }
    return [](const std::string& invoice) { return qr::CreateCreditorReference(invoice); };
  }
  if (const std::optional<std::string> path = options.Value("--layout")) {
    std::shared_ptr<TBvrProperties> layout = LoadLayout(*path);
    return [layout](const std::string& invoice) {
      return qr::QrReferenceFromLayout(layout->Reference().number(), invoice);
    };
  }
  return {};
}

void PrintSummary(std::size_t read, const pay::Matcher& matcher, std::ostream& err) {
  err << read << " payments read\n";
  for (bool invoices : {true, false}) {
    for (const auto& [name, line] : matcher.Summary()) {
      if (line.invoices != invoices) {
        continue;
      }
      err << name << ": " << line.count << (invoices ? " invoices, " : " payments, ")
          << pay::FormatDecimal(line.amount) << (invoices ? " invoiced, " : "");
      if (invoices) {
        err << pay::FormatDecimal(line.paid) << " paid";
      }
      err << "\n";
    }
  }
}

int RunMatch(const Options& options, std::ostream& out, std::ostream& err) {
  const std::vector<std::string>& files = options.Positional();
  const std::optional<std::string> invoicesPath = options.Value("--invoices");
  const std::optional<std::string> output = options.Value("-o");
  if (!invoicesPath) {
    throw UsageError("missing --invoices OPEN.csv");
  }
  if (!output) {
    throw UsageError("missing -o RESULT.csv|RESULT.json");
  }
  if (files.empty()) {
    throw UsageError("missing FILE.xml");
  }
  const pay::TableFormat format = FormatOf(*output);
  std::vector<std::string> inputs = files;
  inputs.push_back(*invoicesPath);
  inputs.push_back(options.Value("--layout").value_or(""));
  RefuseOutputOverInputs(*output, inputs);

  const pay::ReferenceMaker maker = MakerOf(options);
  pay::OpenInvoices invoices;
  {
    BatchCsvFile csv(*invoicesPath, options.Value("--encoding"), err);
    invoices = pay::ReadInvoices(csv.Source(), csv.Encoding(), maker);
  }
  pay::Matcher matcher(std::move(invoices));
  // A message and statement met again in another file (the same file twice, a DUPL or COPY
  // of one read) is said once; its payments are caught by their keys.
  struct {
    pay::Matcher& matcher;
    std::ostream& err;
    std::map<std::string, std::string> fileOfStatement;
    std::set<std::string> said;
    void StartFile() { matcher.StartFile(); }
    void operator()(const pay::Transaction& t) {
      const std::string statement = t.messageId + "\n" + t.statementId;
      const auto [first, fresh] = fileOfStatement.emplace(statement, t.file);
      if (!fresh && first->second != t.file && said.insert(t.file + "\n" + statement).second) {
        err << t.file << ": message " << t.messageId << ", statement " << t.statementId
            << " was read from " << first->second << " already\n";
      }
      matcher.Add(t);
    }
  } add{matcher, err, {}, {}};
  const std::size_t read = ReadAll(files, add);
  WriteAtomically(*output, [&](std::ostream& stream) {
    pay::TableWriter table(stream, format, pay::MatchColumns());
    pay::WriteMatch(matcher, table);
    table.Finish();
  });
  PrintSummary(read, matcher, err);
  out << *output << "\n";
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    throw UsageError("missing read or match");
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const Options options(rest, {"--invoices", "--layout", "--encoding", "-o"}, {"--json", "--scor"});
  const std::string& what = args.front();
  if (what == "read") {
    if (options.Has("--invoices") || options.Has("--layout") || options.Has("--scor") ||
        options.Has("--encoding")) {
      throw UsageError("read takes bank files only");
    }
    if (options.Has("--json") && options.Has("-o")) {
      throw UsageError("-o names the format by its ending: no --json with it");
    }
    return RunRead(options, out);
  }
  if (what == "match") {
    if (options.Has("--json")) {
      throw UsageError("match writes JSON to -o RESULT.json");
    }
    return RunMatch(options, out, err);
  }
  throw UsageError("unknown payments command " + what);
}

const Registrar registrar{Command{
    .name = "payments",
    .usage = "payments read FILE.xml... [--json | -o OUT.csv|OUT.json]    the transactions of "
             "camt.054 and camt.053 files (.001.04 and .001.08), one row each\n"
             "payments match --invoices OPEN.csv FILE.xml... [--layout FILE.BVR | --scor] "
             "[--encoding utf-8|windows-1252] -o RESULT.csv|RESULT.json    which open invoices "
             "the payments settle (columns invoice, amount, currency and reference, or the "
             "reference made from the invoice number); a summary on stderr",
    .run = Run,
}};

}  // namespace

}  // namespace bvr::cli
