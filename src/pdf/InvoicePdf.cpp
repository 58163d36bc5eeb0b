#include "pdf/InvoicePdf.h"

#include <qpdf/Pl_String.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "pdf/PdfLimits.h"
#include "pdf/PdfSignature.h"
#include "strings/BvrError.h"

namespace bvr::pdf {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
constexpr double kA4WidthPt = 210 / kMmPerPoint;
constexpr double kA4HeightPt = 297 / kMmPerPoint;
// How far the bill's separation line and scissors reach above its top edge, on which they
// are centred: shown, not cut at the bill page's box.
constexpr double kSeparatorReachPt = 2 / kMmPerPoint;

using Rect = QPDFObjectHandle::Rectangle;

// A box as viewers take it: corners in any order, a broken one as none.
Rect Normalised(QPDFObjectHandle box) {
  if (!box.isRectangle()) {
    return {0, 0, 0, 0};
  }
  const Rect r = box.getArrayAsRectangle();
  return {std::min(r.llx, r.urx), std::min(r.lly, r.ury), std::max(r.llx, r.urx),
          std::max(r.lly, r.ury)};
}

// The part of the page a reader shows: the crop box within the media box.
Rect ShownBox(QPDFPageObjectHelper& page) {
  const Rect media = Normalised(page.getMediaBox());
  const Rect crop = Normalised(page.getCropBox());
  const Rect shown{std::max(media.llx, crop.llx), std::max(media.lly, crop.lly),
                   std::min(media.urx, crop.urx), std::min(media.ury, crop.ury)};
  if (shown.urx <= shown.llx || shown.ury <= shown.lly) {
    return media;
  }
  return shown;
}

// /Rotate as 0, 90, 180 or 270; viewers take anything else as 0.
int Rotation(QPDFPageObjectHelper& page) {
  QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
  if (!rotate.isInteger()) {
    return 0;
  }
  const long long turn = ((rotate.getIntValue() % 360) + 360) % 360;
  return turn % 90 == 0 ? static_cast<int>(turn) : 0;
}

// Maps a point of the shown page (from its bottom-left corner, in points) to the page's own
// space: the page is shown turned clockwise by its rotation.
QPDFMatrix ShownToPage(const Rect& box, int rotation) {
  const double w = box.urx - box.llx;
  const double h = box.ury - box.lly;
  switch (rotation) {
    case 90:
      return {0, 1, -1, 0, box.llx + w, box.lly};
    case 180:
      return {-1, 0, 0, -1, box.llx + w, box.lly + h};
    case 270:
      return {0, -1, 1, 0, box.llx, box.lly + h};
    default:
      return {1, 0, 0, 1, box.llx, box.lly};
  }
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", std::abs(value) < 5e-5 ? 0.0 : value);
  return text;
}

std::string MatrixText(const QPDFMatrix& m) {
  return Number(m.a) + " " + Number(m.b) + " " + Number(m.c) + " " + Number(m.d) + " " +
         Number(m.e) + " " + Number(m.f);
}

// qpdf's faults as ours, with its own words for the details.
[[noreturn]] void Damaged(const std::exception& e) {
  throw EBvrError(std::string("damaged beyond repair: ") + e.what());
}

// Runs work on the file, qpdf's faults (a broken object met late) as ours.
template <class Work>
auto Guarded(Work&& work) {
  try {
    return work();
  } catch (const EBvrError&) {
    throw;
  } catch (const std::logic_error& e) {
    Damaged(e);
  } catch (const std::runtime_error& e) {
    Damaged(e);
  }
}

// The whole file, written anew. The original streams go out as they came in: nothing decoded,
// nothing lost, and no time spent compressing again.
std::string Written(QPDF& qpdf) {
  std::string out;
  Guarded([&] {
    // The writer puts the right count under /Size, but only when the trailer has the key:
    // a repaired file without it would come out without it.
    QPDFObjectHandle trailer = qpdf.getTrailer();
    if (!trailer.hasKey("/Size")) {
      trailer.replaceKey("/Size", QPDFObjectHandle::newInteger(0));
    }
    Pl_String pipe("output", nullptr, out);
    QPDFWriter writer(qpdf);
    writer.setOutputPipeline(&pipe);
    writer.setStreamDataMode(qpdf_s_preserve);
    writer.write();
  });
  return out;
}

}  // namespace

struct BillDocument::Impl {
  std::string bytes;
  QPDF qpdf;
  std::vector<QPDFPageObjectHelper> pages;
};

BillDocument::BillDocument() : impl_(std::make_unique<Impl>()) {}
BillDocument::BillDocument(BillDocument&&) noexcept = default;
BillDocument::~BillDocument() = default;

BillDocument BillDocument::FromBytes(std::string_view bytes) {
  BillDocument bills;
  Impl& impl = *bills.impl_;
  impl.bytes.assign(bytes);
  impl.qpdf.setSuppressWarnings(true);
  Guarded([&] {
    impl.qpdf.processMemoryFile("bills", impl.bytes.data(), impl.bytes.size());
    // The bills' streams go into each invoice as it takes its bill.
    impl.qpdf.setImmediateCopyFrom(true);
    impl.pages = QPDFPageDocumentHelper(impl.qpdf).getAllPages();
  });
  if (impl.pages.empty()) {
    throw EBvrError(std::string("the bills' PDF has no page"));
  }
  return bills;
}

int BillDocument::PageCount() const {
  return static_cast<int>(impl_->pages.size());
}

struct InvoicePdf::Impl {
  std::string bytes;  // qpdf reads from them as long as it lives
  std::shared_ptr<QPDF> qpdf = QPDF::create();
  std::vector<QPDFPageObjectHelper> pages;
  int billCount = 0;

  // Page billPage of bills, as a form of this file, with the move that brings its shown
  // bottom-left corner to the origin.
  QPDFObjectHandle BillForm(const BillDocument& bills, int billPage, QPDFMatrix& toOrigin) {
    QPDFPageObjectHelper& page = bills.Internals().pages.at(static_cast<std::size_t>(billPage));
    QPDFObjectHandle form = page.getFormXObjectForPage(true);
    QPDFObjectHandle formMatrix = form.getDict().getKey("/Matrix");
    const QPDFMatrix matrix =
        formMatrix.isMatrix() ? QPDFMatrix(formMatrix.getArrayAsMatrix()) : QPDFMatrix();
    const Rect box = Normalised(form.getDict().getKey("/BBox"));
    const Rect shown = matrix.transformRectangle(box);
    toOrigin = QPDFMatrix(1, 0, 0, 1, -shown.llx, -shown.lly);
    QPDFObjectHandle copy = qpdf->copyForeignObject(form);
    copy.getDict().replaceKey("/BBox",
                              QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(
                                  box.llx, box.lly, box.urx, box.ury + kSeparatorReachPt)));
    return copy;
  }

  // Draws form on page: the page's own content is closed in q/Q first, so that a state it
  // leaves behind (a transformation, a clip) cannot move or hide the bill.
  void Draw(QPDFPageObjectHelper& page, QPDFObjectHandle form, const QPDFMatrix& placement) {
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
      resources = QPDFObjectHandle::newDictionary();
      page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    if (!xobjects.isDictionary()) {
      xobjects = QPDFObjectHandle::newDictionary();
      resources.replaceKey("/XObject", xobjects);
    }
    const std::string name = resources.getUniqueResourceName("/QrBill", ++billCount);
    xobjects.replaceKey(name, form);
    page.addPageContents(qpdf->newStream("q\n"), true);
    page.addPageContents(
        qpdf->newStream("\nQ\nq\n" + MatrixText(placement) + " cm\n" + name + " Do\nQ\n"), false);
  }
};

InvoicePdf::InvoicePdf() : impl_(std::make_unique<Impl>()) {}
InvoicePdf::InvoicePdf(InvoicePdf&&) noexcept = default;
InvoicePdf& InvoicePdf::operator=(InvoicePdf&&) noexcept = default;
InvoicePdf::~InvoicePdf() = default;

InvoicePdf InvoicePdf::FromBytes(std::string_view bytes) {
  if (bytes.size() > kMaxPdfBytes) {
    throw EBvrError(Fmt("PDF too large: %d bytes, at most %d")
                        .d(static_cast<long long>(bytes.size()))
                        .d(static_cast<long long>(kMaxPdfBytes)));
  }
  if (!LooksLikePdf(bytes)) {
    throw EBvrError(std::string("not a PDF"));
  }
  InvoicePdf pdf;
  Impl& impl = *pdf.impl_;
  impl.bytes.assign(bytes);
  impl.qpdf->setSuppressWarnings(true);
  Guarded([&] {
    try {
      impl.qpdf->processMemoryFile("invoice", impl.bytes.data(), impl.bytes.size());
    } catch (const QPDFExc& e) {
      if (e.getErrorCode() == qpdf_e_password) {
        throw EBvrError(std::string("encrypted: the PDF needs a password to open"));
      }
      throw;
    }
    if (IsSigned(*impl.qpdf)) {
      throw EBvrError(std::string("signed: a bill added would break the signature"));
    }
    impl.pages = QPDFPageDocumentHelper(*impl.qpdf).getAllPages();
  });
  const std::size_t count = impl.pages.size();
  if (count == 0) {
    throw EBvrError(std::string("the PDF has no page"));
  }
  if (count > static_cast<std::size_t>(kMaxPdfPages)) {
    throw EBvrError(
        Fmt("PDF of %d pages, at most %d").d(static_cast<long long>(count)).d(kMaxPdfPages));
  }
  return pdf;
}

int InvoicePdf::PageCount() const {
  return static_cast<int>(impl_->pages.size());
}

bool InvoicePdf::HasOwnerRestrictions() const {
  return impl_->qpdf->isEncrypted();
}

SizeMm InvoicePdf::ShownSize(int page) const {
  QPDFPageObjectHelper& p = impl_->pages.at(static_cast<std::size_t>(page));
  return Guarded([&] {
    const Rect box = ShownBox(p);
    SizeMm size{(box.urx - box.llx) * kMmPerPoint, (box.ury - box.lly) * kMmPerPoint};
    if (Rotation(p) % 180 != 0) {
      std::swap(size.width, size.height);
    }
    return size;
  });
}

void InvoicePdf::PlaceBillOnPage(int page, const BillDocument& bills, int billPage) {
  QPDFPageObjectHelper& p = impl_->pages.at(static_cast<std::size_t>(page));
  Guarded([&] {
    QPDFMatrix placement = ShownToPage(ShownBox(p), Rotation(p));
    QPDFMatrix toOrigin;
    QPDFObjectHandle form = impl_->BillForm(bills, billPage, toOrigin);
    placement.concat(toOrigin);
    impl_->Draw(p, form, placement);
  });
}

void InvoicePdf::AppendBillPage(const BillDocument& bills, int billPage) {
  Guarded([&] { AppendPage(bills, billPage); });
}

void InvoicePdf::AppendPage(const BillDocument& bills, int billPage) {
  QPDF& qpdf = *impl_->qpdf;
  QPDFObjectHandle page = qpdf.makeIndirectObject(
      QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 " + Number(kA4WidthPt) + " " +
                              Number(kA4HeightPt) + "] /Resources << >> >>"));
  QPDFPageObjectHelper helper(page);
  QPDFPageDocumentHelper(qpdf).addPage(helper, false);
  QPDFMatrix toOrigin;
  QPDFObjectHandle form = impl_->BillForm(bills, billPage, toOrigin);
  impl_->Draw(helper, form, toOrigin);
  impl_->pages = QPDFPageDocumentHelper(qpdf).getAllPages();
}

void InvoicePdf::ShiftAllPages(double rightMm, double downMm) {
  if (rightMm == 0 && downMm == 0) {
    return;
  }
  Guarded([&] { Shift(rightMm, downMm); });
}

void InvoicePdf::Shift(double rightMm, double downMm) {
  for (QPDFPageObjectHelper& page : impl_->pages) {
    // The shift in the page's own space: the shown one's directions turned back.
    const QPDFMatrix turn = ShownToPage({0, 0, 0, 0}, Rotation(page));
    const double x = rightMm / kMmPerPoint;
    const double y = -downMm / kMmPerPoint;
    const QPDFMatrix shift(1, 0, 0, 1, turn.a * x + turn.c * y, turn.b * x + turn.d * y);
    page.addPageContents(impl_->qpdf->newStream("q " + MatrixText(shift) + " cm\n"), true);
    page.addPageContents(impl_->qpdf->newStream("\nQ\n"), false);
  }
}

std::string InvoicePdf::ToBytes() {
  return Written(*impl_->qpdf);
}

struct CombinedPdf::Impl {
  std::shared_ptr<QPDF> qpdf = QPDF::create();
  std::vector<InvoicePdf> sources;  // their stream data is copied when the file is written
  int pages = 0;
};

CombinedPdf::CombinedPdf() : impl_(std::make_unique<Impl>()) {
  impl_->qpdf->emptyPDF();
  impl_->qpdf->setSuppressWarnings(true);
}
CombinedPdf::CombinedPdf(CombinedPdf&&) noexcept = default;
CombinedPdf::~CombinedPdf() = default;

void CombinedPdf::Add(InvoicePdf invoice) {
  Guarded([&] {
    QPDFPageDocumentHelper target(*impl_->qpdf);
    for (QPDFPageObjectHelper& page : invoice.Internals().pages) {
      target.addPage(page, false);
      ++impl_->pages;
    }
  });
  impl_->sources.push_back(std::move(invoice));
}

int CombinedPdf::PageCount() const {
  return impl_->pages;
}

std::string CombinedPdf::ToBytes() {
  return Written(*impl_->qpdf);
}

}  // namespace bvr::pdf
