#include "reading/PrintCheck.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "pdf/PageFaces.h"
#include "pdf/PageRaster.h"
#include "pdf/PdfDocument.h"
#include "reading/CodeFinder.h"
#include "reading/SymbolGeometry.h"

namespace bvr::reading {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kBillHeightMm = 105;
constexpr double kBillWidthMm = 210;
// The code's top-left corner from the bill's (the receipt's 62 mm, then the payment part's
// 5 mm margin).
constexpr double kCodeXMm = 67;
constexpr double kCodeYMm = 17;
// Measured around the code as detected: the quiet zone and a little more.
constexpr double kRegionMarginMm = kQuietZoneMm + 2;
// White rows or columns ending the symbol: wider than any light run inside a code of version
// up to 25 across its whole width (the finder patterns and timing lines see to that).
constexpr double kSymbolGapMm = 1.5;

std::string Mm(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

bool Near(double value, double wanted, double tolerance) {
  return std::fabs(value - wanted) <= tolerance + 1e-9;
}

// The page's code as detected, in mm: the box of its corners.
pdf::RectMm DetectedBox(const FoundCode& code, double dpi) {
  double left = code.corners[0].x, right = left, top = code.corners[0].y, bottom = top;
  for (const PointPx& p : code.corners) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const double mm = kMmPerInch / dpi;
  return {left * mm, top * mm, (right - left) * mm, (bottom - top) * mm};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '-'; }),
             text.end());
  return text;
}

bool AllowedFace(const std::string& face) {
  const std::string name = Lower(face);
  for (const char* allowed : {"arial", "frutiger", "helvetica", "liberationsans"}) {
    if (name.starts_with(allowed)) {
      return true;
    }
  }
  return false;
}

Measure FacesMeasure(const pdf::PdfDocument& pdf, int page, const std::vector<pdf::Word>& words,
                     double billTop) {
  const std::vector<pdf::Face> faces = pdf::FacesOnPage(pdf, page);
  std::vector<std::string> used;
  for (const pdf::Word& word : words) {
    if (word.box.y + word.box.height > billTop &&
        std::find(used.begin(), used.end(), word.face) == used.end()) {
      used.push_back(word.face);
    }
  }
  std::string measured;
  bool pass = !used.empty();
  for (const std::string& face : used) {
    const bool embedded = std::any_of(faces.begin(), faces.end(), [&](const pdf::Face& f) {
      return f.name == face && f.embedded;
    });
    const bool allowed = AllowedFace(face);
    pass = pass && embedded && allowed;
    measured += (measured.empty() ? "" : ", ") + (face.empty() ? "(unnamed)" : face) +
                (embedded ? "" : " (not embedded)") + (allowed ? "" : " (not allowed)");
  }
  return {"faces", used.empty() ? "no text" : measured,
          "Arial, Frutiger, Helvetica or Liberation Sans, embedded", pass};
}

struct Headings {
  const char* language;
  std::vector<const char*> texts;
};

const Headings kHeadings[] = {
    {"en",
     {"Receipt", "Payment part", "Account / Payable to", "Currency", "Amount", "Payable by",
      "Acceptance point"}},
    {"de",
     {"Empfangsschein", "Zahlteil", "Konto / Zahlbar an", "Währung", "Betrag", "Zahlbar durch",
      "Annahmestelle"}},
    {"fr",
     {"Récépissé", "Section paiement", "Compte / Payable à", "Monnaie", "Montant", "Payable par",
      "Point de dépôt"}},
    {"it",
     {"Ricevuta", "Sezione pagamento", "Conto / Pagabile a", "Valuta", "Importo", "Pagabile da",
      "Punto di accettazione"}},
};

Measure HeadingsMeasure(const std::vector<pdf::Word>& words, double billTop) {
  std::string text = " ";
  for (const pdf::Word& word : words) {
    if (word.box.y + word.box.height > billTop) {
      text += word.text + " ";
    }
  }
  std::string best = "none";
  std::size_t bestMissing = 99;
  std::string missingText;
  for (const Headings& h : kHeadings) {
    std::string missing;
    std::size_t count = 0;
    for (const char* heading : h.texts) {
      if (text.find(std::string(" ") + heading) == std::string::npos) {
        missing += (missing.empty() ? "" : ", ") + std::string(heading);
        ++count;
      }
    }
    if (count < bestMissing) {
      bestMissing = count;
      best = h.language;
      missingText = missing;
    }
  }
  const bool pass = bestMissing == 0;
  return {"titles and headings", pass ? best : best + ", missing: " + missingText,
          "all in one of en, de, fr, it", pass};
}

BillPrint MeasureBill(const pdf::PdfDocument& pdf, int page, const pdf::RectMm& detected,
                      const std::vector<pdf::Word>& words) {
  BillPrint bill;
  bill.page = page + 1;
  const pdf::SizeMm pageSize = pdf.PageSize(page);
  const pdf::RectMm region{detected.x - kRegionMarginMm, detected.y - kRegionMarginMm,
                           detected.width + 2 * kRegionMarginMm,
                           detected.height + 2 * kRegionMarginMm};
  const pdf::GreyImage image = pdf::RenderRegion(pdf, page, region, kMeasureDpi);
  const double pxPerMm = image.dpi / kMmPerInch;
  const double regionX = std::max(0.0, region.x);
  const double regionY = std::max(0.0, region.y);
  const auto px = [&](double mm) { return static_cast<int>(std::lround(mm * pxPerMm)); };
  const BoxPx hint{px(detected.x - regionX - 1), px(detected.y - regionY - 1),
                   px(detected.x + detected.width - regionX + 1),
                   px(detected.y + detected.height - regionY + 1)};
  const BoxPx symbol = SymbolExtent(image, hint, px(kSymbolGapMm));
  const double width = symbol.Width() / pxPerMm;
  const double height = symbol.Height() / pxPerMm;
  bill.measures.push_back({"code size", Mm(width) + " x " + Mm(height) + " mm",
                           "46 x 46 mm ± " + Mm(kCodeSideToleranceMm) + " mm",
                           Near(width, kCodeSideMm, kCodeSideToleranceMm) &&
                               Near(height, kCodeSideMm, kCodeSideToleranceMm)});

  const int reach = px(kQuietZoneMm);
  const double clear = Clearance(image, symbol, reach) / pxPerMm;
  bill.measures.push_back(
      {"quiet zone", clear >= kQuietZoneMm ? "clear" : Mm(clear) + " mm",
       Mm(kQuietZoneMm) + " mm clear (less " + Mm(kCodeSideToleranceMm) + " mm)",
       clear >= kQuietZoneMm - kCodeSideToleranceMm});

  const CrossPx cross = MeasureCross(image, symbol, pxPerMm);
  const double square = cross.squarePx / pxPerMm;
  const double border = cross.borderPx / pxPerMm;
  const double whole = square + 2 * border;
  bill.measures.push_back(
      {"swiss cross",
       cross.found ? Mm(whole) + " mm (black " + Mm(square) + " mm, border " + Mm(border) + " mm)"
                   : "not found",
       Mm(kCrossMm) + " mm ± " + Mm(kCrossToleranceMm) + " mm with a white border of at least " +
           Mm(kCrossBorderMinMm) + " mm",
       cross.found && Near(whole, kCrossMm, kCrossToleranceMm) && border >= kCrossBorderMinMm});

  // The bill: the page's foot, 210 mm wide from the page's left.
  const double billLeft = pageSize.width - kBillWidthMm;
  const double billTop = pageSize.height - kBillHeightMm;
  const double codeX = regionX + symbol.left / pxPerMm - billLeft;
  const double codeY = regionY + symbol.top / pxPerMm - billTop;
  bill.measures.push_back(
      {"code place", "(" + Mm(codeX) + ", " + Mm(codeY) + ") mm",
       "(67, 17) mm from the bill's top-left ± " + Mm(kPlaceToleranceMm) + " mm",
       Near(codeX, kCodeXMm, kPlaceToleranceMm) && Near(codeY, kCodeYMm, kPlaceToleranceMm)});

  const bool a4 =
      Near(pageSize.width, 210, kPageToleranceMm) && Near(pageSize.height, 297, kPageToleranceMm);
  const bool alone = Near(pageSize.width, 210, kPageToleranceMm) &&
                     Near(pageSize.height, kBillHeightMm, kPageToleranceMm);
  bill.measures.push_back({"page size", Mm(pageSize.width) + " x " + Mm(pageSize.height) + " mm",
                           "A4 (210 x 297 mm) or 210 x 105 mm ± " + Mm(kPageToleranceMm) + " mm",
                           a4 || alone});
  bill.measures.push_back(FacesMeasure(pdf, page, words, billTop));
  bill.measures.push_back(HeadingsMeasure(words, billTop));
  return bill;
}

}  // namespace

bool BillPrint::Pass() const {
  return std::all_of(measures.begin(), measures.end(), [](const Measure& m) { return m.pass; });
}

std::vector<BillPrint> CheckPrint(std::string_view pdfBytes) {
  const pdf::PdfDocument pdf = pdf::PdfDocument::FromBytes(pdfBytes);
  std::vector<BillPrint> bills;
  for (int page = 0; page < pdf.PageCount(); ++page) {
    if (!pdf::PageRenderable(pdf, page)) {
      continue;
    }
    std::vector<FoundCode> codes;
    double dpi = 0;
    for (double tried : {200.0, 300.0}) {
      const pdf::GreyImage image = pdf::RenderPage(pdf, page, tried);
      codes = FindQrCodes(image, RasterSource::RenderedPage);
      dpi = image.dpi;
      if (!codes.empty()) {
        break;
      }
    }
    if (codes.empty()) {
      continue;
    }
    const std::vector<pdf::Word> words = pdf::WordsOnPage(pdf, page);
    for (const FoundCode& code : codes) {
      if (code.bytes.starts_with("SPC\n") || code.bytes.starts_with("SPC\r\n")) {
        bills.push_back(MeasureBill(pdf, page, DetectedBox(code, dpi), words));
      }
    }
  }
  return bills;
}

}  // namespace bvr::reading
