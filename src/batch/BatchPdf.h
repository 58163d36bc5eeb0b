// Many payments into one PDF: one page per payment, each painted by the invoice page's own
// renderer and streamed to the output before the next one is painted.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "batch/Payments.h"
#include "batch/Progress.h"

class QIODevice;

namespace bvr {

class TBvrProperties;

enum class BatchPage {
  Invoice,  // the A4 invoice page with the slip at its foot
  Slip,     // the slip alone on a page the size of the form (210 x 105.8 mm)
};

struct BatchSettings {
  BatchPage page = BatchPage::Invoice;
  bool withForm = false;  // the orange form drawn behind the slip, for proofs on plain paper
  SlipOffset offset;      // shifts the whole slip, form picture included (tenths of a mm)
  SlipOffset pageOffset;  // shifts the whole page content, for a printer's paper path
  bool settingMode = false;
  int dpi = 1200;
};

// Called after each page with the pages done and the total.
using BatchProgress = std::function<void(std::size_t done, std::size_t total)>;

// Page size of the output, millimetres.
double BatchPageWidthMm(BatchPage page);
double BatchPageHeightMm(BatchPage page);

// Gives the next payment to print; false when there is none left.
using PaymentSource = std::function<bool(Payment& payment)>;

// Writes total pages to device, taking each page's payment from next just before painting it,
// so that a batch of any length prints in the same memory. next must give exactly total
// payments: fewer, or one more, fails (EBvrError) before the file is complete.
void WriteBatchPdf(QIODevice& device, TBvrProperties& layout, std::size_t total,
                   const PaymentSource& next, const BatchSettings& settings,
                   const BatchProgress& progress = {});
void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout, std::size_t total,
                       const PaymentSource& next, const BatchSettings& settings,
                       const BatchProgress& progress = {});

// Writes the pages to device. The payments should have passed CheckPayments: an error of a
// slip leaves here (EBvrError) with the page half written; so does EWriteStopped at the first
// page the device refused, without painting the rest.
void WriteBatchPdf(QIODevice& device, TBvrProperties& layout, const std::vector<Payment>& payments,
                   const BatchSettings& settings, const BatchProgress& progress = {});

// The same into a file that appears complete or not at all: written beside it under a
// temporary name and renamed at the end; on any failure the temporary file is removed and an
// older file at path stays as it was. Fails with "Cannot create file "%s". %s", or with
// "Cannot write "%s": %s (stopped at page N of M)" as soon as the disk refuses data.
void WriteBatchPdfFile(const std::string& path, TBvrProperties& layout,
                       const std::vector<Payment>& payments, const BatchSettings& settings,
                       const BatchProgress& progress = {});

}  // namespace bvr
