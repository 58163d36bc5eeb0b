#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>

#include "FakeTextSource.h"
#include "pdfwrite/FontSubset.h"
#include "pdfwrite/PdfPages.h"
#include "strings/BvrError.h"

namespace bvr::pdf {
namespace {

const char* kFont = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

unsigned U16(const std::string& data, std::size_t at) {
  return (static_cast<unsigned char>(data.at(at)) << 8) |
         static_cast<unsigned char>(data.at(at + 1));
}

std::string TableOf(const std::string& font, const char* tag) {
  for (unsigned i = 0; i < U16(font, 4); ++i) {
    const std::size_t record = 12 + 16 * std::size_t{i};
    if (font.compare(record, 4, tag, 4) == 0) {
      const std::size_t offset = (U16(font, record + 8) << 16) | U16(font, record + 10);
      const std::size_t length = (U16(font, record + 12) << 16) | U16(font, record + 14);
      return font.substr(offset, length);
    }
  }
  return {};
}

const char* kCffFont = "/usr/share/fonts/opentype/urw-base35/URWGothic-Book.otf";

TEST(FontSubset, KeepsGlyphNumbersAndDropsTheOtherOutlines) {
  const struct {
    const char* file;
    bool cff;
    const char* outlines;
  } cases[] = {{kFont, false, "glyf"}, {kCffFont, true, "CFF "}};
  for (const auto& c : cases) {
    if (!std::filesystem::exists(c.file)) {
      continue;  // the CFF face comes with Ghostscript's fonts (fonts-urw-base35)
    }
    SCOPED_TRACE(c.file);
    FakeTextSource source(c.file);
    const auto table = [&](const char* tag) { return source.Table(0, tag); };
    const FontProgram subset = SubsetFont(table, {36, 68});
    EXPECT_EQ(subset.cff, c.cff);
    // Glyph numbers kept: the font still counts up to the highest glyph shown.
    EXPECT_EQ(U16(TableOf(subset.data, "maxp"), 4), 69u);
    EXPECT_FALSE(TableOf(subset.data, c.outlines).empty());
    EXPECT_LT(subset.data.size(), table(c.outlines).size() / 10);
  }
  EXPECT_THROW(SubsetFont([](const char*) { return std::string(); }, {36}), EBvrError);
}

class StringSink final : public IPdfSink {
 public:
  void Write(std::string_view bytes) override { text += bytes; }
  std::string text;
};

// The stream whose dictionary ends at from.
std::string Inflated(const std::string& pdf, std::size_t from) {
  const std::size_t data = pdf.find(">>\nstream\n", from) + 10;
  const std::size_t end = pdf.find("\nendstream", data);
  std::string out(1 << 20, '\0');
  uLongf size = out.size();
  uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(pdf.data() + data), end - data);
  out.resize(size);
  return out;
}

TEST(PdfPages, AGlyphShownForATabOrNoBreakSpaceCopiesAsASpace) {
  if (!std::filesystem::exists(kFont)) {
    GTEST_SKIP() << "Liberation Sans missing";
  }
  StringSink sink;
  FakeTextSource source(kFont);
  PdfPages pages(sink, source, {210, 105});
  CanvasFont font;
  pages.BeginPage().TextOut(0, 0, "A\tB");  // the fake maps each code to its own glyph
  ICanvas& second = pages.BeginPage();
  second.SetFont(font);
  second.TextOut(0, 0, "C D");
  pages.Finish("Test", "test");

  const std::string& pdf = sink.text;
  EXPECT_NE(pdf.find("/Type /Pages /Count 2 "), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 595.276 297.638]"), std::string::npos);
  // The last stream: the map written after the font program.
  const std::string toUnicode = Inflated(pdf, pdf.rfind(">>\nstream\n"));
  EXPECT_NE(toUnicode.find("<0009> <0020>"), std::string::npos) << toUnicode;
  EXPECT_NE(toUnicode.find("<0020> <0020>"), std::string::npos);
  EXPECT_NE(toUnicode.find("<0041> <0041>"), std::string::npos);
  EXPECT_NE(pdf.find("/W [9 [500] 32 [500] 65 [500 500 500 500]]"), std::string::npos);
}

}  // namespace
}  // namespace bvr::pdf

namespace bvr::pdf {
namespace {

TEST(PdfPages, ACffFaceGoesInAsOpenTypeInAPdf16) {
  if (!std::filesystem::exists(kCffFont)) {
    GTEST_SKIP() << "no CFF face installed";
  }
  StringSink sink;
  FakeTextSource source(kCffFont);
  PdfPages pages(sink, source, {210, 105});
  pages.BeginPage().TextOut(0, 0, "Aa");
  pages.Finish("Test", "test");
  for (const char* entry : {"/Subtype /CIDFontType0 ", "/FontFile3 ", "/Subtype /OpenType",
                            "/Type /Catalog /Version /1.6 "}) {
    EXPECT_NE(sink.text.find(entry), std::string::npos) << entry;
  }
  EXPECT_EQ(sink.text.find("/CIDToGIDMap"), std::string::npos);
}

}  // namespace
}  // namespace bvr::pdf

namespace bvr::pdf {
namespace {

// A face of Type 1 outlines (no font tables at all) cannot go in: the document fails, naming
// the face, rather than showing nothing where its text should be.
TEST(PdfPages, AFaceThatCannotBeEmbeddedIsNamed) {
  StringSink sink;
  FakeTextSource source("/nonexistent.pfb");
  PdfPages pages(sink, source, {210, 105});
  pages.BeginPage().TextOut(0, 0, "Aa");
  try {
    pages.Finish("Test", "test");
    ADD_FAILURE() << "written without its face";
  } catch (const EBvrError& e) {
    EXPECT_STREQ(
        e.what(),
        "PDF: a face with neither TrueType nor CFF outlines cannot be embedded (Test-Face)");
  }
}

}  // namespace
}  // namespace bvr::pdf
