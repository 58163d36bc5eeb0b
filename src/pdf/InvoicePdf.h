// An invoice PDF from anywhere, opened for adding a QR-bill over qpdf: the bill goes on top of
// one of its pages as a form of its own, or on a new A4 page after the last; every other
// object (content, fonts, images, links, bookmarks, form fields, metadata, page labels) is
// kept as it was. No Qt: the bill arrives as the bytes of a PDF page the page writer made.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "pdf/PdfDocument.h"

namespace bvr::pdf {

// Bills as the page writer made them, one a page (210 x 105 mm), read once for many invoices.
class BillDocument {
 public:
  // Fails (EBvrError) for bytes that are no PDF with pages.
  static BillDocument FromBytes(std::string_view bytes);
  BillDocument(BillDocument&&) noexcept;
  ~BillDocument();
  int PageCount() const;

  struct Impl;
  Impl& Internals() const { return *impl_; }

 private:
  BillDocument();
  std::unique_ptr<Impl> impl_;
};

class InvoicePdf {
 public:
  // Copies the bytes. Fails with EBvrError, saying why, for: more than kMaxPdfBytes, no
  // PDF, a file damaged beyond repair, one that needs a password to open, a signed one, no
  // page or more than kMaxPdfPages pages. A file that opens with its owner password only is
  // read; its encryption and restrictions go to the output unchanged.
  static InvoicePdf FromBytes(std::string_view bytes);

  InvoicePdf(InvoicePdf&&) noexcept;
  InvoicePdf& operator=(InvoicePdf&&) noexcept;
  ~InvoicePdf();

  int PageCount() const;
  // The crop box as the reader shows it (rotation applied), in mm.
  SizeMm ShownSize(int page) const;
  // True when an owner password restricts what readers may do; the output keeps it.
  bool HasOwnerRestrictions() const;

  // Page billPage (from 0) of bills on top of page (from 0), its bottom-left corner on the
  // page's bottom-left corner as shown, turned with the page's /Rotate so that it stands
  // upright for the reader, at its own size. The bill is copied: bills may go after.
  void PlaceBillOnPage(int page, const BillDocument& bills, int billPage);
  // A new A4 portrait page after the last, with the bill at its foot.
  void AppendBillPage(const BillDocument& bills, int billPage);

  // Every page's content moved right and down as the reader sees the page (a printer's paper
  // path that lands the pages off by that much).
  void ShiftAllPages(double rightMm, double downMm);

  // The whole file, written anew by qpdf.
  std::string ToBytes();

  // For the combining of many invoices into one file.
  struct Impl;
  Impl& Internals() { return *impl_; }

 private:
  InvoicePdf();
  void AppendPage(const BillDocument& bills, int billPage);
  void Shift(double rightMm, double downMm);
  std::unique_ptr<Impl> impl_;
};

// Many invoices, with their bills, as one PDF, page after page. The invoices are held until
// the file is written; encryption is not carried over (the files may not share one).
class CombinedPdf {
 public:
  CombinedPdf();
  CombinedPdf(CombinedPdf&&) noexcept;
  ~CombinedPdf();

  void Add(InvoicePdf invoice);
  int PageCount() const;
  std::string ToBytes();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace bvr::pdf
