#include "pdfwrite/PdfFonts.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "pdfwrite/FontSubset.h"
#include "pdfwrite/PdfSyntax.h"
#include "strings/BvrError.h"

namespace bvr::pdf {

namespace {

constexpr std::size_t kGlyphNumbers = 65536;

std::vector<std::uint16_t> ShownGlyphs(const std::vector<bool>& shown) {
  std::vector<std::uint16_t> glyphs;
  for (std::size_t g = 0; g < shown.size(); ++g) {
    if (shown[g]) {
      glyphs.push_back(static_cast<std::uint16_t>(g));
    }
  }
  return glyphs;
}

// Six capitals naming the subset, the same for the same glyphs.
std::string SubsetTag(const std::vector<std::uint16_t>& glyphs, int face) {
  std::uint32_t hash = 2166136261u ^ static_cast<std::uint32_t>(face);
  for (const std::uint16_t g : glyphs) {
    hash = (hash ^ g) * 16777619u;
  }
  std::string tag;
  for (int i = 0; i < 6; ++i) {
    tag += static_cast<char>('A' + hash % 26);
    hash /= 26;
  }
  return tag;
}

// Consecutive glyphs share one entry: "3 [278] 36 [667 667 722]".
std::string WidthArray(const std::vector<std::uint16_t>& glyphs,
                       const std::vector<double>& widths) {
  std::string out = "[";
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    if (i == 0 || glyphs[i] != glyphs[i - 1] + 1) {
      out += i == 0 ? "" : "] ";
      out += std::to_string(glyphs[i]) + " [";
    } else {
      out += ' ';
    }
    AppendNumber(out, widths[i], 2);
  }
  out += glyphs.empty() ? "]" : "]]";
  return out;
}

std::string ToUnicodeMap(const std::vector<std::uint16_t>& glyphs,
                         const std::vector<char32_t>& characters) {
  std::vector<std::uint16_t> mapped;
  for (const std::uint16_t g : glyphs) {
    if (characters[g] != 0) {
      mapped.push_back(g);
    }
  }
  std::string out =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  for (std::size_t start = 0; start < mapped.size(); start += 100) {
    const std::size_t end = std::min(mapped.size(), start + 100);
    out += std::to_string(end - start) + " beginbfchar\n";
    for (std::size_t i = start; i < end; ++i) {
      out += '<';
      AppendHex4(out, mapped[i]);
      out += "> <";
      AppendUtf16Hex(out, characters[mapped[i]]);
      out += ">\n";
    }
    out += "endbfchar\n";
  }
  out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  return out;
}

bool IsSpace(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\u00A0';
}

}  // namespace

PdfFonts::Font& PdfFonts::Of(int face) {
  for (Font& font : fonts_) {
    if (font.face == face) {
      return font;
    }
  }
  Font font;
  font.face = face;
  font.name = "F" + std::to_string(fonts_.size() + 1);
  font.shown.assign(kGlyphNumbers, false);
  font.characters.assign(kGlyphNumbers, 0);
  fonts_.push_back(std::move(font));
  return fonts_.back();
}

const std::string& PdfFonts::Name(int face, PdfObjects& objects) {
  Font& font = Of(face);
  if (font.object == 0) {
    font.object = objects.Reserve();
  }
  return font.name;
}

void PdfFonts::Show(const ShapedRun& run) {
  Font& font = Of(run.face);
  for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
    const std::uint16_t g = run.glyphs[i];
    font.shown[g] = true;
    const char32_t c = i < run.characters.size() ? run.characters[i] : 0;
    // A glyph that shows a space is a space, whatever else maps to it: copied text keeps its
    // words apart.
    if (font.characters[g] == 0 || (IsSpace(c) && font.characters[g] != U' ')) {
      font.characters[g] = IsSpace(c) ? U' ' : c;
    }
  }
}

std::string PdfFonts::Resources() const {
  std::string out;
  for (const Font& font : fonts_) {
    if (font.object != 0) {
      out += " /" + font.name + ' ' + std::to_string(font.object) + " 0 R";
    }
  }
  return out;
}

bool PdfFonts::Write(PdfObjects& objects, IPdfTextSource& source) const {
  bool openType = false;
  for (const Font& font : fonts_) {
    if (font.object != 0) {
      openType = WriteFont(font, objects, source) || openType;
    }
  }
  return openType;
}

bool PdfFonts::WriteFont(const Font& font, PdfObjects& objects, IPdfTextSource& source) const {
  const std::vector<std::uint16_t> glyphs = ShownGlyphs(font.shown);
  const FaceInfo info = source.Info(font.face);
  FontProgram program;
  try {
    program = SubsetFont([&](const char* tag) { return source.Table(font.face, tag); }, glyphs);
  } catch (const EBvrError& e) {
    throw EBvrError(std::string(e.what()) + " (" + info.postScriptName + ")");
  }
  const std::string name = "/" + SubsetTag(glyphs, font.face) + "+" + info.postScriptName;

  const int cidFont = objects.Reserve();
  const int descriptor = objects.Reserve();
  const int file = objects.Reserve();
  const int toUnicode = objects.Reserve();
  objects.Object(font.object, "<< /Type /Font /Subtype /Type0 /BaseFont " + name +
                                  " /Encoding /Identity-H /DescendantFonts [" +
                                  std::to_string(cidFont) + " 0 R] /ToUnicode " +
                                  std::to_string(toUnicode) + " 0 R >>");
  // CFF outlines in an OpenType file: their glyph numbers are the codes as they stand.
  objects.Object(cidFont, "<< /Type /Font /Subtype " +
                              std::string(program.cff ? "/CIDFontType0" : "/CIDFontType2") +
                              " /BaseFont " + name +
                              " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity)"
                              " /Supplement 0 >> /FontDescriptor " +
                              std::to_string(descriptor) + " 0 R" +
                              (program.cff ? "" : " /CIDToGIDMap /Identity") + " /W " +
                              WidthArray(glyphs, source.Advances(font.face, glyphs)) + " >>");
  std::string box;
  for (const double v : info.box) {
    AppendNumber(box, std::round(v), 0);
    box += ' ';
  }
  box.pop_back();
  std::string metrics;
  const std::pair<const char*, double> entries[] = {{" /ItalicAngle ", info.italicAngle},
                                                    {" /Ascent ", info.ascent},
                                                    {" /Descent ", info.descent},
                                                    {" /CapHeight ", info.capHeight}};
  for (const auto& [key, value] : entries) {
    metrics += key;
    AppendNumber(metrics, value, 1);
  }
  // Flags: 32 (non-symbolic), 1 for a fixed pitch.
  const int flags = 32 | (info.fixedPitch ? 1 : 0);
  objects.Object(descriptor, "<< /Type /FontDescriptor /FontName " + name + " /Flags " +
                                 std::to_string(flags) + " /FontBBox [" + box + "]" + metrics +
                                 " /StemV 80 " + (program.cff ? "/FontFile3 " : "/FontFile2 ") +
                                 std::to_string(file) + " 0 R >>");
  objects.Stream(file,
                 program.cff ? std::string("/Subtype /OpenType")
                             : "/Length1 " + std::to_string(program.data.size()),
                 program.data);
  objects.Stream(toUnicode, "", ToUnicodeMap(glyphs, font.characters));
  return program.cff;
}

}  // namespace bvr::pdf
