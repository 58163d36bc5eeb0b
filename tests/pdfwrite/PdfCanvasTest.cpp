#include <gtest/gtest.h>

#include <string>

#include "FakeTextSource.h"
#include "pdfwrite/PdfCanvas.h"

namespace bvr::pdf {
namespace {

class NullSink final : public IPdfSink {
 public:
  void Write(std::string_view /*bytes*/) override {}
};

struct CanvasFixture : ::testing::Test {
  NullSink sink;
  PdfObjects objects{sink};
  PdfFonts fonts;
  FakeTextSource source;
  std::string content;
  PdfCanvas canvas{content, source, fonts, objects};

  std::size_t Count(const std::string& what) const {
    std::size_t n = 0;
    for (std::size_t at = content.find(what); at != std::string::npos;
         at = content.find(what, at + 1)) {
      ++n;
    }
    return n;
  }
};

TEST_F(CanvasFixture, TextShowsItsGlyphsAndMovesOnlyWhereTheLayoutDid) {
  CanvasFont font;
  font.Size = 10;
  source.moves = {{2, -40}};  // the third glyph kerned 40 thousandths to the left
  canvas.SetFont(font);
  canvas.TextOut(20, 30, "AVA");
  // Baseline 9 pt below the cell top; y flipped back for upright glyphs.
  EXPECT_NE(content.find("BT /F1 10 Tf 1 0 0 -1 20 39 Tm [<00410056> 40 <0041>] TJ ET"),
            std::string::npos)
      << content;
}

TEST_F(CanvasFixture, LinesAreStrokedBeforeAnythingElseIsDrawn) {
  CanvasPen pen;
  pen.Width = 0.5;
  canvas.SetPen(pen);
  canvas.MoveTo(0, 0);
  canvas.LineTo(10, 0);
  canvas.LineTo(10, 10);
  canvas.FillRect({1, 1, 2, 2}, clWhite);
  canvas.LineTo(20, 10);
  canvas.Flush();
  // Two lines, one stroke; the rectangle is not part of that path.
  EXPECT_NE(content.find("0.5 w\n0 0 m 10 0 l\n10 0 m 10 10 l\nS\n1 g\n1 1 1 1 re\nf\n"),
            std::string::npos)
      << content;
  EXPECT_EQ(Count(" w\n"), 1u);  // the pen set once
  EXPECT_EQ(Count("S\n"), 2u);
}

TEST_F(CanvasFixture, StateSetInsideAClipIsSetAgainAfterIt) {
  canvas.FillRect({0, 0, 1, 1}, clRed);
  canvas.PushClip({0, 0, 50, 50});
  canvas.FillRect({0, 0, 1, 1}, clWhite);
  canvas.PopClip();
  canvas.FillRect({0, 0, 1, 1}, clWhite);  // the restored state is red again
  canvas.FillRect({0, 0, 1, 1}, clWhite);
  EXPECT_EQ(Count("1 0 0 rg\n"), 1u) << content;
  EXPECT_EQ(Count("1 g\n"), 2u) << content;
  EXPECT_EQ(Count("q 0 0 50 50 re\nW n\n"), 1u);
  EXPECT_EQ(Count("Q\n"), 1u);
  canvas.PopClip();  // one pop too many writes nothing
  EXPECT_EQ(Count("Q\n"), 1u);
}

TEST_F(CanvasFixture, CellsAreWholeNumbersUnderOneMatrix) {
  // A 3 x 2 grid on 30 x 20 points: cells of 10.
  canvas.FillCells({true, true, false, false, true, true}, 3, {5, 5, 35, 25}, clBlack);
  EXPECT_NE(content.find("q 10 0 0 10 5 5 cm\n0 0 2 1 re\n1 1 2 1 re\nf Q\n"), std::string::npos)
      << content;
}

TEST_F(CanvasFixture, ShapesWithoutPenOrFillDrawNothing) {
  canvas.SetBrushStyle(BrushStyle::Clear);
  CanvasPen none;
  none.Style = PenStyle::None;
  canvas.SetPen(none);
  canvas.Rectangle(0, 0, 10, 10);
  canvas.Ellipse(5, 5, 2, 2);
  canvas.MoveTo(0, 0);
  canvas.LineTo(5, 5);
  canvas.Flush();
  EXPECT_EQ(content.find(" re"), std::string::npos);
  EXPECT_EQ(content.find(" c\n"), std::string::npos);
  EXPECT_EQ(content.find(" l\n"), std::string::npos);
}

}  // namespace
}  // namespace bvr::pdf
