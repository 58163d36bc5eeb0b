// Print jobs through the system's print spooler (CUPS): the queues it offers, and a PDF
// streamed into a job as it is written, printed at full size whatever the queue's defaults.
// The server is the user's (CUPS_SERVER, ~/.cups/client.conf, then the local one).
#pragma once

#include <QSizeF>
#include <functional>
#include <string>
#include <vector>

class QIODevice;

namespace bvr {

struct PrintQueue {
  std::string name;
  bool isDefault = false;
};

// The server's queues, in its order. EBvrError when the server cannot be reached.
std::vector<PrintQueue> PrintQueues();

// The queue "name" names ("default": the default queue), spelt as the server spells it.
// EBvrError "Unknown print queue "%s" ..." or "No default print queue ...".
std::string ResolvePrintQueue(const std::string& name);

// The IPP "media" of a page size in millimetres: "A4", else "Custom.210x105.8mm".
std::string MediaOfPaper(QSizeF paperMm);

struct PrintJobSettings {
  std::string queue;  // as ResolvePrintQueue returns it
  std::string title;
  QSizeF paperMm{210.0, 297.0};
  int copies = 1;
};

// Creates the job, hands write a device that sends what it gets to the job (a PDF), and
// closes the job: the server's job id. No scaling, no fitting, the page's own paper. When
// write throws or the server refuses, the job is cancelled and EBvrError leaves, naming the
// queue and the reason ("the queue no longer exists on SERVER", "the print server SERVER
// stopped answering (...)"). The job is looked at once a second while pages are sent, so that
// a queue deleted or a job cancelled on the server stops the drawing. SIGINT, SIGTERM and
// SIGHUP while the job is open cancel it, then end the process as they would have.
int PrintPdf(const PrintJobSettings& settings, const std::function<void(QIODevice&)>& write);

}  // namespace bvr
