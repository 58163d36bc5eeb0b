// A QR-bill page written by hand as another producer would: the code's modules as filled
// rectangles, the Swiss cross drawn over them, the titles and headings in French in one face,
// embedded (a TrueType file) or not (Helvetica by name). What can be spoiled on purpose is a
// parameter, for the printing checks.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "qrbill/QrSymbol.h"

namespace bvr::test {

struct HandmadeBill {
  std::string payload;
  double scale = 1;       // the whole drawing, from the page's top-left corner
  double crossMm = 7;     // the cross with its white border; the black square 1 mm less
  bool embedFace = true;  // LiberationSans embedded, or Helvetica named only
  double pageHeightMm = 297;
};

inline std::string Pt(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", mm * 72 / 25.4);
  return text;
}

// A filled rectangle at (x, y) mm from the page's top-left, y downwards.
inline std::string Box(double x, double y, double w, double h, double pageHeightMm) {
  return Pt(x) + " " + Pt(pageHeightMm - y - h) + " " + Pt(w) + " " + Pt(h) + " re f\n";
}

inline std::string Text(double x, double y, double size, const std::string& latin1,
                        double pageHeightMm) {
  return "BT /F1 " + std::to_string(size) + " Tf " + Pt(x) + " " + Pt(pageHeightMm - y) + " Td (" +
         latin1 + ") Tj ET\n";
}

inline std::string PageContent(const HandmadeBill& bill) {
  const double h = bill.pageHeightMm;
  const double top = h - 105;
  std::string c = "q " + std::to_string(bill.scale) + " 0 0 " + std::to_string(bill.scale) + " 0 " +
                  Pt(h * (1 - bill.scale)) + " cm\n0 g\n";
  // Titles and headings, Latin-1 (WinAnsi) bytes.
  c += Text(5, top + 9, 11,
            "R\xe9"
            "c\xe9piss\xe9",
            h);
  c += Text(5, top + 16, 6, "Compte / Payable \xe0", h);
  c += Text(5, top + 70, 6, "Monnaie", h);
  c += Text(20, top + 70, 6, "Montant", h);
  c += Text(5, top + 40, 6, "Payable par", h);
  c += Text(40, top + 90, 6, "Point de d\xe9p\xf4t", h);
  c += Text(67, top + 9, 11, "Section paiement", h);
  c += Text(118, top + 9, 8, "Compte / Payable \xe0", h);
  const qr::QrSymbol symbol = qr::MakeQrSymbol(bill.payload);
  const double module = 46.0 / symbol.Size();
  for (int y = 0; y < symbol.Size(); ++y) {
    for (int x = 0; x < symbol.Size(); ++x) {
      if (symbol.Dark(x, y)) {
        c += Box(67 + x * module, top + 17 + y * module, module, module, h);
      }
    }
  }
  const double centreX = 67 + 23;
  const double centreY = top + 17 + 23;
  const double whole = bill.crossMm;
  const double black = whole - 1;
  c += "1 g\n" + Box(centreX - whole / 2, centreY - whole / 2, whole, whole, h);
  c += "0 g\n" + Box(centreX - black / 2, centreY - black / 2, black, black, h);
  const double arm = black * 0.65;
  const double width = black * 0.19;
  c += "1 g\n" + Box(centreX - arm / 2, centreY - width / 2, arm, width, h);
  c += Box(centreX - width / 2, centreY - arm / 2, width, arm, h);
  return c + "Q\n";
}

inline std::string HandmadeBillPdf(const HandmadeBill& bill) {
  std::vector<std::string> objects;
  objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  objects.push_back("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Pt(210) + " " +
                    Pt(bill.pageHeightMm) +
                    "] /Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>");
  std::string widths;
  for (int i = 32; i <= 255; ++i) {
    widths += "556 ";
  }
  if (bill.embedFace) {
    objects.push_back(
        "<< /Type /Font /Subtype /TrueType /BaseFont /LiberationSans /FirstChar 32 "
        "/LastChar 255 /Widths [" +
        widths + "] /Encoding /WinAnsiEncoding /FontDescriptor 6 0 R >>");
  } else {
    objects.push_back(
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
        "/Encoding /WinAnsiEncoding >>");
  }
  const std::string content = PageContent(bill);
  objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                    "endstream");
  if (bill.embedFace) {
    const std::string face =
        Slurp("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf");
    objects.push_back(
        "<< /Type /FontDescriptor /FontName /LiberationSans /Flags 32 "
        "/FontBBox [-200 -300 1200 1000] /ItalicAngle 0 /Ascent 900 /Descent -200 "
        "/CapHeight 700 /StemV 80 /FontFile2 7 0 R >>");
    objects.push_back("<< /Length " + std::to_string(face.size()) + " /Length1 " +
                      std::to_string(face.size()) + " >>\nstream\n" + face + "\nendstream");
  }
  std::string pdf = "%PDF-1.4\n";
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
    pdf += line;
  }
  pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

}  // namespace bvr::test
