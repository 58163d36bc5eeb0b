#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "SlipTestSupport.h"
#include "strings/BvrError.h"

namespace bvr {
namespace {

using test::DemoLayout;
using test::DemoPayment;
using test::Recorder;

constexpr const char* kDemoCodingLine = "0100001000004>001234560000000000000456878+ 019876544>";

// Both amount zones at L 608, W 593, with D 90, K 60 and one 4 mm cell per character.
void UseFortyTenthCells(TMontant& m) {
  for (TFontBaseZone* zone : {&m.Receipt(), &m.Processing()}) {
    zone->SetLeft(608);
    zone->SetWidth(593);
  }
  m.SetdecimalWidth(90);
  m.SetCommaWidth(60);
  m.SetCharWidth(40);
}

TEST(SlipDrawing, LinesOfAZoneAreCutAtItsBottomEdge) {
  Recorder r;
  TFont font;
  font.SetName("arial");
  font.SetSize(10);
  r.canvas.SetFont(ToCanvasFont(font));
  ASSERT_EQ(r.slip.LineHeight(), 45);
  const ZoneBox zone{10, 80, 550, 300};
  struct Row {
    int line;
    double top, clipTop, clipBottom;
  };
  const Row rows[] = {
      {0, 80, 80, 123},
      {5, 305, 305, 348},
      {6, 350, 350, 380},  // starts inside, would end at 393: cut at 380
      {7, 395, 380, 380},  // starts below the edge: nothing left to show
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    const DeviceRect rect = r.slip.LineRect(zone, row.line);
    EXPECT_DOUBLE_EQ(rect.Top, row.clipTop);
    EXPECT_DOUBLE_EQ(rect.Bottom, row.clipBottom);
    EXPECT_DOUBLE_EQ(rect.Left, 10);
    EXPECT_DOUBLE_EQ(rect.Right, 560);
    r.canvas.Clear();
    r.slip.DrawZoneLine(zone, row.line, "x");
    ASSERT_EQ(r.canvas.Ops().size(), 1u);
    EXPECT_DOUBLE_EQ(r.canvas.Ops()[0].Y1, row.top);
    EXPECT_EQ(r.canvas.Ops()[0].Clip, rect);
  }
}

TEST(SlipDrawing, ZoneTextsGoToTheirZonesInTheirFonts) {
  Recorder r;
  auto layout = DemoLayout();
  DrawSlip(r.slip, *layout, DemoPayment());
  const TFontBaseZone& payer = layout->PaymentBy().Processing();
  const auto lines = r.InCellsFrom(payer.Left());
  ASSERT_EQ(lines.size(), 4u);
  const std::int32_t step = 4 * payer.Font().Size() + 5;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].Text, DemoPayment().PayerLines[i]);
    EXPECT_DOUBLE_EQ(lines[i].Y1, payer.Top() + static_cast<double>(i) * step);
    EXPECT_EQ(lines[i].Font.Name, payer.Font().Name());
  }
  const auto grouped = r.InCellsFrom(layout->Reference().Processing().Left());
  ASSERT_EQ(grouped.size(), 1u);
  EXPECT_EQ(grouped[0].Text, "00  12345  60000  00000  00004  56878  ");
  const auto plain = r.InCellsFrom(layout->Reference().Receipt().Left());
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0].Text, "001234560000000000000456878");
  for (const TlineTextZone* zone :
       {&layout->Account().Receipt(), &layout->Account().Processing()}) {
    const auto account = r.InCellsFrom(zone->Left());
    ASSERT_EQ(account.size(), 1u);
    EXPECT_EQ(account[0].Text, "01-987654-4");
    EXPECT_DOUBLE_EQ(account[0].Y1, zone->Top());
  }
}

TEST(SlipDrawing, CodingLineAtTenCharactersPerInchEndingAtItsOffsets) {
  struct Row {
    std::int32_t fromRight, fromBottom;
  };
  for (const Row row : {Row{76, 190}, Row{0, 0}, Row{300, 50}}) {
    SCOPED_TRACE(row.fromRight);
    Recorder r;
    auto layout = DemoLayout();
    layout->CodageZone().fromRight = row.fromRight;
    layout->CodageZone().fromBottom = row.fromBottom;
    DrawSlip(r.slip, *layout, DemoPayment());
    const auto chars = r.CodingChars();
    ASSERT_EQ(Recorder::Joined(chars), kDemoCodingLine);
    const double end = 2100 - row.fromRight;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      EXPECT_NEAR(chars[i].X1, end - static_cast<double>(chars.size() - i) * 25.4, 1e-9);
      EXPECT_EQ(chars[i].Font.Style, fsBold);
    }
    // The face's own advance is scaled to the pitch (raster devices round the font's pixel
    // size, hence the tolerance), so glyphs neither overlap nor gap.
    EXPECT_NEAR(chars[0].TextWidth, 25.4, 0.2);
    r.canvas.SetFont(chars[0].Font);
    const double middle = chars[0].Y1 + r.canvas.TextHeight("0") / 2;
    EXPECT_NEAR(middle, 1058 - row.fromBottom, 1e-9);
  }
}

TEST(SlipDrawing, AmountDigitsInTheirCells) {
  Recorder r;
  auto layout = DemoLayout();
  TMontant& m = layout->Amount();
  UseFortyTenthCells(m);
  DrawSlip(r.slip, *layout, DemoPayment(1000));
  struct Cell {
    double left;
    const char* text;
  };
  const Cell cells[] = {{1111, "0"}, {1151, "0"}, {891, "1"}, {931, "0"}, {971, "0"}, {1011, "0"}};
  for (const Cell& cell : cells) {
    SCOPED_TRACE(cell.left);
    const auto ops = r.InCellsFrom(cell.left);
    ASSERT_EQ(ops.size(), 2u);  // receipt and processing
    for (const CanvasOp& op : ops) {
      EXPECT_EQ(op.Text, cell.text);
      EXPECT_DOUBLE_EQ(op.Clip.Right, cell.left + 40);
      EXPECT_DOUBLE_EQ(op.X1, cell.left);
    }
  }
}

TEST(SlipDrawing, AReplacementCharacterBeyondAsciiTakesOneCellPerCharacter) {
  Recorder r;
  auto layout = DemoLayout();
  TMontant& m = layout->Amount();
  UseFortyTenthCells(m);
  m.ShowNegativeAmount = false;
  m.NegativeAmountChar = 0xA7;                    // the section sign, two bytes in UTF-8
  layout->Amount().Processing().Imprime = false;  // no amount code for a zero amount
  layout->Amount().Receipt().Imprime = true;
  DrawSlip(r.slip, *layout, DemoPayment(0));
  // Centimes "§§" in the cells at 1111 and 1151, francs "§" in the cell before the gap.
  for (double left : {1111.0, 1151.0, 1011.0}) {
    SCOPED_TRACE(left);
    const auto ops = r.InCellsFrom(left);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].Text, "\u00A7");
  }
  EXPECT_TRUE(r.InCellsFrom(1131).empty());
}

TEST(SlipDrawing, AmountWithoutCharacterWidthEndsAtTheCommaGap) {
  Recorder r;
  auto layout = DemoLayout();
  const TMontant& m = layout->Amount();
  ASSERT_EQ(m.CharWidth(), 0);
  DrawSlip(r.slip, *layout, DemoPayment(1000));
  for (const TFontBaseZone* zone : {&m.Receipt(), &m.Processing()}) {
    const double decimals = zone->Left() + zone->Width() - m.decimalWidth();
    const auto centimes = r.InCellsFrom(decimals);
    ASSERT_EQ(centimes.size(), 1u);
    EXPECT_EQ(centimes[0].Text, "00");
    EXPECT_DOUBLE_EQ(centimes[0].Clip.Right, decimals + m.decimalWidth());
    const double francsEnd = decimals - m.CommaWidth();
    const auto texts = r.Texts();
    const auto francs = std::find_if(texts.begin(), texts.end(), [&](const CanvasOp& op) {
      return op.Text == "1000" && op.Clip.Right == francsEnd;
    });
    ASSERT_NE(francs, texts.end());
    // The cell is the text's own width, rounded to the tenth of a millimetre.
    EXPECT_NEAR(francs->X1 + francs->TextWidth, francsEnd, 0.5);
  }
}

TEST(SlipDrawing, PrintedAmountTexts) {
  struct Row {
    double amount;
    bool show;
    const char* francs;
    const char* centimes;
  };
  const Row rows[] = {
      {1000, true, "1000", "00"},
      {0, true, "0", "00"},
      {0, false, "*", "**"},
      {-12.5, true, "-12", "50"},
      {-12.5, false, "*", "**"},
      {12.05, true, "12", "05"},
      {12.5, false, "12", "50"},
      {0.5, true, "0", "50"},
      {-0.5, true, "-0", "50"},
      // Never rounded up: the coding line's amount code carries 12.99 and 12.34.
      {12.999, true, "12", "99"},
      {12.345, true, "12", "34"},
      {99999999.99, true, "99999999", "99"},
      {123456789, true, "123456789", "00"},
      {1e15, true, "1000000000000000", "00"},
  };
  auto layout = DemoLayout();
  TMontant& m = layout->Amount();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.amount);
    m.ShowNegativeAmount = row.show;
    const AmountTexts t = AmountTextsFor(m, row.amount);
    EXPECT_EQ(t.Francs, row.francs);
    EXPECT_EQ(t.Centimes, row.centimes);
  }
  m.ShowNegativeAmount = false;
  m.NegativeAmountChar = 0xA4;  // a Windows-1252 character outside ASCII
  EXPECT_EQ(AmountTextsFor(m, -3).Francs, "¤");
  EXPECT_EQ(AmountTextsFor(m, -3).Centimes, "¤¤");
}

TEST(SlipDrawing, PrintedAmountMatchesTheAmountCode) {
  for (double amount : {0.0, 0.01, 0.1 + 0.2, 12.05, 12.999, 1234.567, 99999999.99}) {
    SCOPED_TRACE(amount);
    Recorder r;
    auto layout = DemoLayout();
    DrawSlip(r.slip, *layout, DemoPayment(amount));
    const std::string code = Recorder::Joined(r.CodingChars()).substr(2, 10);
    const AmountTexts t = AmountTextsFor(layout->Amount(), amount);
    EXPECT_EQ(std::stoll(code.substr(0, 8)), std::stoll(t.Francs));
    EXPECT_EQ(code.substr(8, 2), t.Centimes);
  }
}

TEST(SlipDrawing, ZonesNotPrintedDrawNothingButTheCodingLine) {
  Recorder r;
  auto layout = DemoLayout();
  for (TBaseZone* zone : layout->Zones()) {
    zone->Imprime = false;
  }
  DrawSlip(r.slip, *layout, DemoPayment());
  EXPECT_EQ(r.Texts().size(), r.CodingChars().size());
  // No amount printed on the processing part: the code without amount, reference still built.
  EXPECT_EQ(Recorder::Joined(r.CodingChars()), "042>001234560000000000000456878+ 019876544>");
}

TEST(SlipDrawing, ProcessingAmountNotPrintedGivesTheCodeWithoutAmount) {
  Recorder r;
  auto layout = DemoLayout();
  layout->Amount().Processing().Imprime = false;
  DrawSlip(r.slip, *layout, DemoPayment());
  const auto chars = r.CodingChars();
  ASSERT_EQ(chars.size(), 43u);
  EXPECT_EQ(Recorder::Joined(chars), "042>001234560000000000000456878+ 019876544>");
  EXPECT_NEAR(chars.back().X1 + 25.4, 2024, 1e-9);
  // The receipt still prints the amount, the processing part does not.
  const TFontBaseZone& receipt = layout->Amount().Receipt();
  EXPECT_EQ(r.InCellsFrom(receipt.Left() + receipt.Width() - 90).size(), 1u);
  const TFontBaseZone& processing = layout->Amount().Processing();
  EXPECT_TRUE(r.InCellsFrom(processing.Left() + processing.Width() - 90).empty());
}

// The texts drawn on the zone's first line, left of its right edge, in drawing order.
std::vector<std::string> CellTexts(const Recorder& r, const TBaseZone& zone) {
  std::vector<std::string> texts;
  for (const CanvasOp& op : r.Texts()) {
    if (op.kind == CanvasOp::Kind::ClippedText && op.Clip.Top == zone.Top() &&
        op.Clip.Left < zone.Left() + zone.Width()) {
      texts.push_back(op.Text);
    }
  }
  return texts;
}

// A credit prints its amount as the layout says and a coding line without amount, which no
// reader can take for a debit.
TEST(SlipDrawing, NegativeAmountsPrintWithTheCodeWithoutAmount) {
  const std::pair<bool, std::vector<std::string>> rows[] = {
      {true, {"50", "-12"}},
      {false, {"**", "*"}},
  };
  for (const auto& [show, cells] : rows) {
    SCOPED_TRACE(show);
    auto layout = DemoLayout();
    layout->Amount().ShowNegativeAmount = show;
    for (const TFontBaseZone* zone :
         {&layout->Amount().Receipt(), &layout->Amount().Processing()}) {
      Recorder r;
      DrawSlip(r.slip, *layout, DemoPayment(-12.5));
      EXPECT_EQ(Recorder::Joined(r.CodingChars()), "042>001234560000000000000456878+ 019876544>");
      EXPECT_EQ(CellTexts(r, *zone), cells);
    }
  }
}

// Past the amount code's eight digits of francs, a receipt whose processing part prints no
// amount still shows every digit.
TEST(SlipDrawing, HugeAmountOnTheReceiptOnly) {
  Recorder r;
  auto layout = DemoLayout();
  layout->Amount().Processing().Imprime = false;
  DrawSlip(r.slip, *layout, DemoPayment(1e15));
  const TFontBaseZone& receipt = layout->Amount().Receipt();
  std::string drawn;
  for (const std::string& text : CellTexts(r, receipt)) {
    drawn += text;
  }
  EXPECT_EQ(drawn,
            "00"
            "1000000000000000");
}

TEST(SlipDrawing, NumberErrorsStopTheDrawingBeforeTheCodingLine) {
  struct Row {
    double amount;
    const char* account;
    std::string message;
  };
  const Row rows[] = {
      {123456789, "01-987654-4", "123456789 : Montant trop grand"},
      {1000, "01-987654-5", "Format du n° d'adhérent invalide : 01-987654-5 clef invalide"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    Recorder r;
    auto layout = DemoLayout();
    layout->Account().Setnumber(row.account);
    try {
      DrawSlip(r.slip, *layout, DemoPayment(row.amount));
      FAIL() << "no error";
    } catch (const EBvrError& e) {
      EXPECT_EQ(e.what(), row.message);
    }
    EXPECT_TRUE(r.CodingChars().empty());
    // Everything before the coding line is drawn, the amount included.
    const TFontBaseZone& zone = layout->Amount().Receipt();
    EXPECT_EQ(r.InCellsFrom(zone.Left() + zone.Width() - 90).size(), 1u);
  }
}

// Only what the zone can show is laid out: the payer zone of the demonstration layout (30.1 mm,
// 12 points: lines of 5.3 mm) shows six lines, whatever the text's length.
TEST(SlipDrawing, LinesBelowTheZoneAreNotLaidOut) {
  const struct Row {
    std::size_t lines;
    std::size_t drawn;
  } rows[] = {{1, 1}, {6, 6}, {7, 6}, {1000000, 6}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.lines);
    Recorder r;
    auto layout = DemoLayout();
    const TFontBaseZone& payer = layout->PaymentBy().Processing();
    ASSERT_EQ(payer.height(), 301);
    ASSERT_EQ(payer.Font().Size(), 12);
    PaymentValues payment = DemoPayment();
    payment.PayerLines.assign(row.lines, "Jean Dupont");
    DrawSlip(r.slip, *layout, payment);
    EXPECT_EQ(r.InCellsFrom(payer.Left()).size(), row.drawn);
  }
}

// Values a hand-edited file may hold at the ends of a 32-bit integer: the geometry is computed
// in double, so nothing overflows (the sanitizer build fails on any overflow) and every
// position is the plain sum.
TEST(SlipDrawing, ExtremeLayoutValuesGiveExactPositions) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  Recorder r;
  auto layout = DemoLayout();
  layout->CodageZone().fromBottom = kMin;
  layout->CodageZone().fromRight = kMin;
  TlineTextZone& account = layout->Account().Receipt();
  account.SetLeft(kMax);
  account.SetWidth(kMax);
  account.SetTop(kMin);
  account.Setheight(kMax);
  DrawSlip(r.slip, *layout, DemoPayment());
  DrawSettingOverlay(r.slip, *layout, 2100, 1058);
  const auto cells = r.InCellsFrom(static_cast<double>(kMax));
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_DOUBLE_EQ(cells[0].Clip.Right, 2.0 * kMax);
  EXPECT_DOUBLE_EQ(cells[0].Y1, static_cast<double>(kMin));
  const auto chars = r.CodingChars();
  ASSERT_FALSE(chars.empty());
  EXPECT_DOUBLE_EQ(chars.back().X1 + 25.4, 2100.0 - kMin);
  bool frame = false;
  for (const CanvasOp& op : r.canvas.Ops()) {
    if (op.kind == CanvasOp::Kind::Rectangle && op.X1 == static_cast<double>(kMax)) {
      frame = true;
      EXPECT_DOUBLE_EQ(op.X2, 2.0 * kMax);
      EXPECT_DOUBLE_EQ(op.Y2, static_cast<double>(kMin) + kMax);
    }
  }
  EXPECT_TRUE(frame);
}

}  // namespace
}  // namespace bvr
