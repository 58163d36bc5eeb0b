#include "printing/CupsPrinting.h"

#include <cups/cups.h>

#include <strings.h>
#include <QIODevice>
#include <cmath>
#include <cstdio>

#include "strings/BvrError.h"

namespace bvr {

namespace {

std::string LastError() {
  const char* text = cupsLastErrorString();
  return text != nullptr ? text : "unknown error";
}

// What the PDF writer writes goes on to the job's open document.
class JobDevice final : public QIODevice {
 public:
  explicit JobDevice(http_t* http) : http_(http) {}
  bool isSequential() const override { return true; }
  bool Refused() const { return refused_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (refused_) {
      return -1;
    }
    if (cupsWriteRequestData(http_, data, static_cast<size_t>(size)) != HTTP_STATUS_CONTINUE) {
      refused_ = true;
      return -1;
    }
    return size;
  }

 private:
  http_t* http_;
  bool refused_ = false;
};

struct Options {
  cups_option_t* list = nullptr;
  int count = 0;
  ~Options() { cupsFreeOptions(count, list); }
  void Add(const char* name, const std::string& value) {
    count = cupsAddOption(name, value.c_str(), count, &list);
  }
};

// A connection of the job's own: when the document breaks off half sent, closing it aborts
// the upload without sending a truncated PDF to the printer.
struct Connection {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              30000, nullptr);
  ~Connection() { Close(); }
  void Close() {
    if (http != nullptr) {
      httpClose(http);
      http = nullptr;
    }
  }
};

std::string Millimetres(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", mm);
  std::string s = text;
  while (s.back() == '0') {
    s.pop_back();
  }
  if (s.back() == '.') {
    s.pop_back();
  }
  return s;
}

}  // namespace

std::vector<PrintQueue> PrintQueues() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  if (count == 0 && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE &&
      cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
    throw EBvrError(Fmt("Cannot reach the print server %s: %s").s(cupsServer()).s(LastError()));
  }
  std::vector<PrintQueue> queues;
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance == nullptr) {  // lpoptions instances are not queues
      queues.push_back({dests[i].name, dests[i].is_default != 0});
    }
  }
  cupsFreeDests(count, dests);
  return queues;
}

std::string ResolvePrintQueue(const std::string& name) {
  const std::vector<PrintQueue> queues = PrintQueues();
  for (const PrintQueue& queue : queues) {
    if (name == "default" ? queue.isDefault : ::strcasecmp(queue.name.c_str(), name.c_str()) == 0) {
      return queue.name;
    }
  }
  if (name == "default") {
    throw EBvrError(
        Fmt("No default print queue on %s (lpoptions -d NAME sets one)").s(cupsServer()));
  }
  throw EBvrError(Fmt("Unknown print queue \"%s\" on %s (bvrslip printers lists them)")
                      .s(name)
                      .s(cupsServer()));
}

std::string MediaOfPaper(QSizeF paperMm) {
  if (std::fabs(paperMm.width() - 210.0) < 0.05 && std::fabs(paperMm.height() - 297.0) < 0.05) {
    return "A4";
  }
  return "Custom." + Millimetres(paperMm.width()) + "x" + Millimetres(paperMm.height()) + "mm";
}

int PrintPdf(const PrintJobSettings& settings, const std::function<void(QIODevice&)>& write) {
  const char* queue = settings.queue.c_str();
  const auto failed = [&settings](const std::string& what) {
    return EBvrError(Fmt("Cannot print to \"%s\": %s").s(settings.queue).s(what));
  };
  Options options;
  // Each spooler and filter reads its own name for "do not fit the page to the printable
  // area"; any of them left at the queue's default may scale the slip off its form.
  options.Add("print-scaling", "none");
  options.Add("fit-to-page", "false");
  options.Add("scaling", "100");
  options.Add("number-up", "1");
  // The spooler turns a custom "media" into whole points for a driver's queue (595 x 299 for
  // the slip form, 0.3 mm short, the page centred on it); PageSize keeps the millimetres.
  options.Add("media", MediaOfPaper(settings.paperMm));
  options.Add("PageSize", MediaOfPaper(settings.paperMm));
  options.Add("copies", std::to_string(settings.copies));
  // Copies of a batch come out as whole sets, not each page N times.
  options.Add("multiple-document-handling", "separate-documents-collated-copies");
  options.Add("Collate", "True");

  Connection connection;
  if (connection.http == nullptr) {
    throw failed(Fmt("cannot reach the print server %s").s(cupsServer()));
  }
  const int job =
      cupsCreateJob(connection.http, queue, settings.title.c_str(), options.count, options.list);
  if (job == 0) {
    throw failed(LastError());
  }
  const auto cancel = [&]() {
    connection.Close();
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue, job, 0);
  };
  if (cupsStartDocument(connection.http, queue, job, settings.title.c_str(), CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE) {
    const std::string reason = LastError();
    cancel();
    throw failed(reason);
  }
  JobDevice device(connection.http);
  device.open(QIODevice::WriteOnly);
  try {
    write(device);
  } catch (...) {
    cancel();
    throw;
  }
  if (device.Refused()) {
    const std::string reason = LastError();
    cancel();
    throw failed(reason);
  }
  if (cupsFinishDocument(connection.http, queue) > IPP_STATUS_OK_EVENTS_COMPLETE) {
    const std::string reason = LastError();
    cancel();
    throw failed(reason);
  }
  return job;
}

}  // namespace bvr
