#include "printing/CupsPrinting.h"

#include <cups/cups.h>

#include <strings.h>
#include <QIODevice>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "report/AtomicFile.h"
#include "strings/BvrError.h"
#include "strings/MessageText.h"

namespace bvr {

namespace {

std::string LastError() {
  const char* text = cupsLastErrorString();
  return text != nullptr ? text : "unknown error";
}

// Why the server does not answer, from a connection of our own: the client library's last
// error after a failed connection is often only "Bad file descriptor".
std::string WhyServerDoesNotAnswer() {
  errno = 0;
  http_t* http =
      httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
  const int error = errno;
  if (http != nullptr) {
    httpClose(http);
    return "it accepts connections but does not answer requests";
  }
  return error != 0 && error != EBADF ? std::strerror(error) : "no server listens there";
}

// SIGINT, SIGTERM and SIGHUP while a job is open: noted, so that the job is cancelled before
// the signal ends the process as it would have. Dispositions set to ignore are left alone.
volatile std::sig_atomic_t gPendingSignal = 0;

extern "C" void NoteSignal(int signal) {
  gPendingSignal = signal;
}

class JobSignals {
 public:
  JobSignals() {
    gPendingSignal = 0;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
      struct sigaction old {};
      if (::sigaction(kSignals[i], nullptr, &old) != 0 || old.sa_handler == SIG_IGN) {
        continue;
      }
      struct sigaction action {};
      action.sa_handler = NoteSignal;
      sigemptyset(&action.sa_mask);
      // No SA_RESTART: a write blocked on the server returns, and the job is cancelled.
      ::sigaction(kSignals[i], &action, &old_[i]);
      held_[i] = true;
    }
  }
  ~JobSignals() { Restore(); }
  JobSignals(const JobSignals&) = delete;
  JobSignals& operator=(const JobSignals&) = delete;

  static bool Pending() { return gPendingSignal != 0; }

  // Puts the old dispositions back and delivers a noted signal.
  void RaisePending() {
    const int signal = gPendingSignal;
    Restore();
    if (signal != 0) {
      ::raise(signal);
    }
  }

 private:
  void Restore() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
      if (held_[i]) {
        ::sigaction(kSignals[i], &old_[i], nullptr);
        held_[i] = false;
      }
    }
  }

  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
  struct sigaction old_[3]{};
  bool held_[3] = {false, false, false};
};

// The job's state as the server tells it.
struct JobLook {
  bool answered = false;  // false: the server could not be asked
  bool found = false;
  int state = 0;
};

JobLook LookAtJob(int job) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/jobs/%d",
                   job);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  const ipp_status_t status = cupsLastError();
  JobLook look;
  look.answered = response != nullptr || status == IPP_STATUS_ERROR_NOT_FOUND;
  look.found = response != nullptr && status <= IPP_STATUS_OK_EVENTS_COMPLETE;
  if (response != nullptr) {
    if (ipp_attribute_t* attribute = ippFindAttribute(response, "job-state", IPP_TAG_ENUM)) {
      look.state = ippGetInteger(attribute, 0);
    }
    ippDelete(response);
  }
  return look;
}

bool JobAlive(int job) {
  const JobLook look = LookAtJob(job);
  return look.found && look.state < IPP_JSTATE_CANCELED;
}

// Why a job that was being sent failed: the server gone, the queue gone, the job cancelled on
// the server, else the client library's last word.
std::string JobFailure(const std::string& queue, int job) {
  const std::string last = LastError();
  const JobLook look = LookAtJob(job);
  if (!look.answered) {
    return Fmt("the print server %s stopped answering (%s)")
        .s(cupsServer())
        .s(WhyServerDoesNotAnswer());
  }
  if (!look.found || look.state >= IPP_JSTATE_CANCELED) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr);
    if (dest == nullptr) {
      return Fmt("the queue no longer exists on %s").s(cupsServer());
    }
    cupsFreeDests(1, dest);
    return look.state == IPP_JSTATE_ABORTED ? "the server aborted the job"
                                            : "the job was cancelled on the server";
  }
  return last;
}

// What the PDF writer writes goes on to the job's open document. The job is looked at once a
// second, so that a queue deleted or a job cancelled meanwhile stops the drawing of pages that
// could not be printed; a signal noted stops it too.
class JobDevice final : public QIODevice {
 public:
  JobDevice(http_t* http, std::string queue, int job)
      : http_(http), queue_(std::move(queue)), job_(job) {}
  bool isSequential() const override { return true; }
  bool Refused() const { return refused_; }
  const std::string& Reason() const { return reason_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (refused_) {
      return -1;
    }
    if (JobSignals::Pending()) {
      return Refuse("interrupted by a signal");
    }
    if (cupsWriteRequestData(http_, data, static_cast<size_t>(size)) != HTTP_STATUS_CONTINUE) {
      return Refuse(JobSignals::Pending() ? "interrupted by a signal" : JobFailure(queue_, job_));
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastLook_ >= std::chrono::seconds(1)) {
      lastLook_ = now;
      if (!JobAlive(job_)) {
        return Refuse(JobFailure(queue_, job_));
      }
    }
    return size;
  }

 private:
  qint64 Refuse(const std::string& reason) {
    refused_ = true;
    reason_ = reason;
    return -1;
  }

  http_t* http_;
  std::string queue_;
  int job_;
  bool refused_ = false;
  std::string reason_;
  std::chrono::steady_clock::time_point lastLook_ = std::chrono::steady_clock::now();
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
    throw EBvrError(
        Fmt("Cannot reach the print server %s: %s").s(cupsServer()).s(WhyServerDoesNotAnswer()));
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
                      .s(EscapedForMessage(name))
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

  JobSignals jobSignals;
  Connection connection;
  if (connection.http == nullptr) {
    throw failed(
        Fmt("cannot reach the print server %s: %s").s(cupsServer()).s(WhyServerDoesNotAnswer()));
  }
  const int job =
      cupsCreateJob(connection.http, queue, settings.title.c_str(), options.count, options.list);
  if (job == 0) {
    throw failed(LastError());
  }
  // Cancels the job; then a noted signal ends the process.
  const auto cancel = [&]() {
    connection.Close();
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue, job, 0);
    jobSignals.RaisePending();
  };
  if (JobSignals::Pending() ||
      cupsStartDocument(connection.http, queue, job, settings.title.c_str(), CUPS_FORMAT_PDF, 1) !=
          HTTP_STATUS_CONTINUE) {
    const std::string reason = LastError();
    cancel();
    throw failed(reason);
  }
  JobDevice device(connection.http, settings.queue, job);
  device.open(QIODevice::WriteOnly);
  try {
    write(device);
  } catch (const EWriteStopped& e) {
    cancel();
    if (device.Refused()) {
      throw failed(device.Reason() + " (" + e.Detail() + ")");
    }
    throw;
  } catch (...) {
    cancel();
    if (device.Refused()) {  // whatever the writer made of it, the job's reason is the cause
      throw failed(device.Reason());
    }
    throw;
  }
  if (device.Refused()) {
    cancel();
    throw failed(device.Reason());
  }
  if (JobSignals::Pending() ||
      cupsFinishDocument(connection.http, queue) > IPP_STATUS_OK_EVENTS_COMPLETE) {
    const std::string reason = JobSignals::Pending() ? "" : JobFailure(settings.queue, job);
    cancel();
    throw failed(reason);
  }
  return job;
}

}  // namespace bvr
