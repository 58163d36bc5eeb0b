#include "reading/BillScan.h"

#include <algorithm>
#include <cmath>

#include "pdf/PageRaster.h"
#include "pdf/PdfDocument.h"
#include "qrbill/PayloadReader.h"
#include "qrbill/Validation.h"
#include "reading/CodeFinder.h"
#include "reading/PictureDecoding.h"
#include "strings/BvrError.h"

namespace bvr::reading {

namespace {

constexpr double kMmPerInch = 25.4;

CodePlace PlaceOf(const FoundCode& code, double dpi, bool assumed) {
  double left = code.corners[0].x;
  double right = left;
  double top = code.corners[0].y;
  double bottom = top;
  for (const PointPx& p : code.corners) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  // The side from the corners themselves, so that a skewed code is not measured larger.
  const double side =
      std::hypot(code.corners[1].x - code.corners[0].x, code.corners[1].y - code.corners[0].y);
  const double mm = kMmPerInch / dpi;
  return {left * mm, top * mm, side * mm, code.rotation, dpi, assumed};
}

// "ligne 3 : …" lines of the frame's error, as problems of the QR Code text.
qr::Problems FrameProblems(const std::string& message) {
  qr::Problems problems;
  std::size_t start = 0;
  while (start <= message.size()) {
    std::size_t end = message.find('\n', start);
    if (end == std::string::npos) {
      end = message.size();
    }
    if (end > start) {
      problems.push_back({"payload", message.substr(start, end - start)});
    }
    start = end + 1;
  }
  return problems;
}

void AddCodes(std::vector<ScannedCode>& codes, const pdf::GreyImage& image, RasterSource source,
              int page, double dpi, bool assumed) {
  for (FoundCode& code : FindQrCodes(image, source)) {
    ScannedCode scanned = ReadCodeText(std::move(code.bytes));
    scanned.page = page;
    scanned.place = PlaceOf(code, dpi, assumed);
    codes.push_back(std::move(scanned));
  }
}

std::vector<ScannedCode> ScanPdf(std::string_view bytes) {
  const pdf::PdfDocument pdf = pdf::PdfDocument::FromBytes(bytes);
  std::vector<ScannedCode> codes;
  for (int page = 0; page < pdf.PageCount(); ++page) {
    if (!pdf::PageRenderable(pdf, page)) {
      continue;
    }
    const std::size_t before = codes.size();
    for (double dpi : {kPageDpi, kRetryDpi}) {
      const pdf::GreyImage image = pdf::RenderPage(pdf, page, dpi);
      AddCodes(codes, image, RasterSource::RenderedPage, page + 1, image.dpi, false);
      if (codes.size() > before) {
        break;
      }
    }
  }
  return codes;
}

}  // namespace

ScannedCode ReadCodeText(std::string text) {
  ScannedCode code;
  code.text = std::move(text);
  code.swiss = code.text.starts_with("SPC\n") || code.text.starts_with("SPC\r\n");
  if (!code.swiss) {
    return code;
  }
  try {
    code.bill = qr::ParseQrPayload(code.text);
  } catch (const EBvrError& e) {
    code.problems = FrameProblems(e.what());
    return code;
  }
  code.problems = qr::ValidateBill(*code.bill);
  return code;
}

std::vector<ScannedCode> ScanBills(std::string_view bytes) {
  if (KindOf(bytes) == FileKind::Pdf) {
    return ScanPdf(bytes);
  }
  std::vector<ScannedCode> codes;
  ForEachPicturePage(bytes, [&codes](const pdf::GreyImage& image, int page) {
    const bool assumed = image.dpi <= 0;
    AddCodes(codes, image, RasterSource::Picture, page, assumed ? kAssumedDpi : image.dpi, assumed);
  });
  return codes;
}

}  // namespace bvr::reading
