// Invoices made on the spot by other producers (Ghostscript, cairo, reportlab, qpdf), and
// what a test reads back from a PDF: its pages' text, its pages' symbols with their place.
#pragma once

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CliTestSupport.h"

namespace bvr::test {

namespace fs = std::filesystem;

inline int Sh(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string ShOut(const std::string& command, const fs::path& scratch) {
  Sh(command + " >" + Quoted(scratch.string()) + " 2>/dev/null");
  std::string text = Slurp(scratch);
  fs::remove(scratch);
  return text;
}

// A page of an invoice: its lines of text near the top and, when footTaken, one near the
// bottom (inside the strip the bill needs).
struct InvoicePage {
  std::string heading;
  bool footTaken = false;
};

// PostScript for Ghostscript: the pages on paper of width x height points.
inline std::string InvoicePostScript(const std::vector<InvoicePage>& pages, int width, int height) {
  std::ostringstream ps;
  ps << "%!PS\n<< /PageSize [" << width << " " << height << "] >> setpagedevice\n";
  for (const InvoicePage& page : pages) {
    ps << "/Helvetica findfont 14 scalefont setfont\n"
       << "60 " << height - 80 << " moveto (" << page.heading << ") show\n"
       << "60 " << height - 110 << " moveto (Consulting, 12 hours: 1440.00 CHF) show\n";
    if (page.footTaken) {
      ps << "60 120 moveto (Thank you for your business.) show\n";
    }
    ps << "showpage\n";
  }
  return ps.str();
}

// The same pages through reportlab (Python), A4.
inline std::string InvoiceReportlab(const std::vector<InvoicePage>& pages, const fs::path& out) {
  std::ostringstream py;
  py << "from reportlab.pdfgen import canvas\nfrom reportlab.lib.pagesizes import A4\n"
     << "c = canvas.Canvas(r'" << out.string() << "', pagesize=A4)\n";
  for (const InvoicePage& page : pages) {
    py << "c.setFont('Helvetica', 14)\nc.drawString(60, 762, '" << page.heading << "')\n"
       << "c.drawString(60, 732, 'Consulting, 12 hours: 1440.00 CHF')\n"
       << "c.linkURL('https://example.com/pay', (60, 700, 200, 720))\n"
       << "c.bookmarkPage('" << page.heading << "')\n"
       << "c.addOutlineEntry('Outline " << page.heading << "', '" << page.heading << "')\n"
       << "c.acroForm.textfield(name='Field " << page.heading
       << "', x=60, y=620, width=200, height=20)\n";
    if (page.footTaken) {
      py << "c.drawString(60, 120, 'Thank you for your business.')\n";
    }
    py << "c.showPage()\n";
  }
  py << "c.save()\n";
  return py.str();
}

// A symbol found on a page, its corners' bounding box in mm from the page's top-left.
struct FoundSymbol {
  std::string text = "(no symbol)";
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

// A binary grey picture's size and pixels (none when it is no such picture).
struct Pgm {
  int width = 0;
  int height = 0;
  std::string_view pixels;
};

inline Pgm ParsePgm(const std::string& pgm) {
  std::istringstream in(pgm);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  if (magic != "P5" || !in) {
    return {};
  }
  return {width, height, std::string_view(pgm).substr(static_cast<std::size_t>(in.tellg()))};
}

inline FoundSymbol DecodePgm(const std::string& pgm, double dpi) {
  const Pgm picture = ParsePgm(pgm);
  const int width = picture.width;
  const int height = picture.height;
  FoundSymbol found;
  if (picture.pixels.empty()) {
    return found;
  }
  const auto* pixels = reinterpret_cast<const std::uint8_t*>(picture.pixels.data());
  const ZXing::Result r =
      ZXing::ReadBarcode({pixels, width, height, ZXing::ImageFormat::Lum},
                         ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
  if (!r.isValid()) {
    return found;
  }
  found.text.assign(r.bytes().begin(), r.bytes().end());
  int left = width, top = height, right = 0, bottom = 0;
  for (const ZXing::PointI& p : r.position()) {
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
  }
  const double mm = 25.4 / dpi;
  found.x = left * mm;
  found.y = top * mm;
  found.width = (right - left + 1) * mm;
  found.height = (bottom - top + 1) * mm;
  return found;
}

// The symbol of page (from 1) at 300 dpi, as pdftoppm renders it: the crop box, turned as the
// reader sees it.
inline FoundSymbol SymbolOnPage(const fs::path& pdf, int page, const fs::path& scratchDir) {
  const fs::path prefix = scratchDir / "symbol";
  const std::string p = std::to_string(page);
  Sh("pdftoppm -cropbox -gray -r 300 -singlefile -f " + p + " -l " + p + " " +
     Quoted(pdf.string()) + " " + Quoted(prefix.string()) + " 2>/dev/null");
  const fs::path pgm = prefix.string() + ".pgm";
  FoundSymbol found = DecodePgm(Slurp(pgm), 300);
  fs::remove(pgm);
  return found;
}

// Dark pixels of page (from 1) inside a box in mm from the shown page's top-left, at 300 dpi.
inline int InkInBox(const fs::path& pdf, int page, double left, double top, double right,
                    double bottom, const fs::path& scratchDir) {
  const double dots = 300 / 25.4;
  const auto px = [dots](double mm) { return std::to_string(static_cast<int>(mm * dots)); };
  const fs::path prefix = scratchDir / "ink";
  const std::string p = std::to_string(page);
  Sh("pdftoppm -cropbox -gray -r 300 -singlefile -f " + p + " -l " + p + " -x " + px(left) +
     " -y " + px(top) + " -W " + px(right - left) + " -H " + px(bottom - top) + " " +
     Quoted(pdf.string()) + " " + Quoted(prefix.string()) + " 2>/dev/null");
  const fs::path pgm = prefix.string() + ".pgm";
  const std::string image = Slurp(pgm);
  fs::remove(pgm);
  int ink = 0;
  for (const char pixel : ParsePgm(image).pixels) {
    ink += static_cast<unsigned char>(pixel) < 128 ? 1 : 0;
  }
  return ink;
}

inline int PageCount(const fs::path& pdf, const fs::path& scratch) {
  const std::string info = ShOut("pdfinfo " + Quoted(pdf.string()), scratch);
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

inline std::string PageText(const fs::path& pdf, int page, const fs::path& scratch) {
  const std::string p = std::to_string(page);
  return ShOut("pdftotext -layout -f " + p + " -l " + p + " " + Quoted(pdf.string()) + " -",
               scratch);
}

}  // namespace bvr::test
