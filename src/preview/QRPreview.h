// The report's preview window over its own printer: the page fitted in view, printing and
// page navigation from the dialog's tool bar.
#pragma once

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>
#include <string>

namespace bvr {

class TQuickRep;

// The report's page on a printer, always on the report's own paper at full page; on a print
// queue, moved by the queue's stored offset (report/PrinterOffsets.h).
void PrintReport(TQuickRep& report, QPrinter& printer);
// The preview window: 800 x 600, normal state, the page fitted in view, with printing and
// page navigation. Returns when it is closed.
void PreviewReport(TQuickRep& report, QWidget* parent);

class TQRPreview {
 public:
  TQRPreview(TQuickRep& report, QWidget* parent);
  ~TQRPreview();

  QPrintPreviewDialog& Dialog() { return *dialog_; }
  QPrinter& Printer() { return printer_; }
  // Runs the window until it is closed; an error of the page's controls is raised afterwards
  // (it must not cross the event loop).
  void Exec();

 private:
  TQuickRep& report_;
  QPrinter printer_;
  std::unique_ptr<QPrintPreviewDialog> dialog_;
  std::string error_;
};

}  // namespace bvr
