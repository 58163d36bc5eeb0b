#include "draw/SlipDrawing.h"

#include <cmath>
#include <optional>

#include "draw/SlipCanvas.h"
#include "model/BvrProperties.h"
#include "numbers/Conversions.h"
#include "numbers/VYKBVRFunctions.h"
#include "strings/Windows1252.h"

namespace bvr {

namespace {

std::string WithoutLeadingZeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

// The same cut as the amount code, for amounts the code cannot carry (too large, not finite):
// the coding line reports those itself; the printed parts still show what was asked.
AmountTexts DigitsOfGeneralText(double magnitude) {
  const std::string text = FormatPlainDecimal(magnitude);
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    ++pos;
  }
  AmountTexts t;
  t.Francs = pos == 0 ? text : text.substr(0, pos);
  ++pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && t.Centimes.size() < 2) {
    t.Centimes += text[pos++];
  }
  t.Centimes.append(2 - t.Centimes.size(), '0');
  return t;
}

std::string CharText(std::uint8_t windows1252, std::size_t count) {
  std::string one;
  AppendUtf8(one, Windows1252ToUnicode(windows1252));
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += one;
  }
  return text;
}

// Only lines that can show are laid out: one starting at or below the zone's bottom edge is cut
// away whole, so a text of a million lines costs what the zone holds. With a line height that
// is not positive every line would overlap the first: the first alone is drawn.
void DrawZoneLines(TSlipCanvas& slip, const ZoneBox& box, const std::vector<std::string>& lines) {
  const double lineHeight = slip.LineHeight();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const double top = static_cast<double>(i) * lineHeight;
    if (i > 0 && !(lineHeight > 0 && top < box.height)) {
      break;
    }
    slip.DrawZoneLine(box, static_cast<int>(i), lines[i]);
  }
}

template <class Zone>
void DrawLines(TSlipCanvas& slip, const Zone& zone, const std::vector<std::string>& lines) {
  if (!zone.Imprime) {
    return;
  }
  slip.ApplyZoneFont(zone.Font());
  DrawZoneLines(slip, BoxOf(zone), lines);
}

template <class Zone>
void DrawOneLine(TSlipCanvas& slip, const Zone& zone, const std::string& text) {
  DrawLines(slip, zone, std::vector<std::string>{text});
}

// The characters of a UTF-8 text (the replacement character may take several bytes).
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> chars;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    NextUtf8(text, pos);
    chars.push_back(text.substr(start, pos - start));
  }
  return chars;
}

// Centimes from the start of the decimal area: one character a cell when a character width
// is set, else the whole text in one cell as wide as the area.
void DrawCentimes(TSlipCanvas& slip, const TMontant& m, const TFontBaseZone& zone,
                  const std::string& centimes) {
  if (!zone.Imprime) {
    return;
  }
  slip.ApplyZoneFont(zone.Font());
  const ZoneBox box = BoxOf(zone);
  const double start = box.Left + box.Width - m.decimalWidth();
  const double p = m.CharWidth();
  if (p != 0) {
    const std::vector<std::string> chars = Characters(centimes);
    for (std::size_t j = 0; j < chars.size(); ++j) {
      slip.DrawZoneLine({start + static_cast<double>(j) * p, box.Top, p, box.height}, 0, chars[j]);
    }
  } else {
    slip.DrawZoneLine({start, box.Top, static_cast<double>(m.decimalWidth()), box.height}, 0,
                      centimes);
  }
}

// Francs ending at the comma gap: one character a cell when a character width is set, else
// the whole text in one cell as wide as the text.
void DrawFrancs(TSlipCanvas& slip, const TMontant& m, const TFontBaseZone& zone,
                const std::string& francs) {
  if (!zone.Imprime) {
    return;
  }
  slip.ApplyZoneFont(zone.Font());
  const ZoneBox box = BoxOf(zone);
  const double end = box.Left + box.Width - m.decimalWidth() - m.CommaWidth();
  const double p = m.CharWidth();
  if (p != 0) {
    const std::vector<std::string> chars = Characters(francs);
    const auto n = static_cast<double>(chars.size());
    for (std::size_t j = 0; j < chars.size(); ++j) {
      slip.DrawZoneLine({end - n * p + static_cast<double>(j) * p, box.Top, p, box.height}, 0,
                        chars[j]);
    }
  } else {
    const double w = slip.ToModelWidth(slip.Canvas().TextWidth(francs));
    slip.DrawZoneLine({end - w, box.Top, w, box.height}, 0, francs);
  }
}

}  // namespace

AmountTexts AmountTextsFor(const TMontant& settings, double amount) {
  if (!(amount > 0) && !settings.ShowNegativeAmount) {
    return {CharText(settings.NegativeAmountChar, 1), CharText(settings.NegativeAmountChar, 2)};
  }
  const bool negative = std::signbit(amount) && amount != 0.0;
  const double magnitude = std::fabs(amount);
  AmountTexts t;
  if (const std::optional<SplitAmountResult> split = TrySplitAmount(magnitude)) {
    t = {WithoutLeadingZeros(split->francs), split->centimes};
  } else {
    t = DigitsOfGeneralText(magnitude);
  }
  if (negative) {
    t.Francs.insert(0, "-");
  }
  return t;
}

void DrawSlip(TSlipCanvas& slip, const TBvrProperties& layout, const PaymentValues& payment) {
  DrawLines(slip, layout.PaymentFor().Receipt(), layout.PaymentFor().Receipt().Text());
  DrawLines(slip, layout.PaymentFor().Processing(), layout.PaymentFor().Processing().Text());
  DrawLines(slip, layout.PaymentBy().Receipt(), payment.PayerLines);
  DrawLines(slip, layout.PaymentBy().Processing(), payment.PayerLines);

  // Built even when no reference zone prints: the coding line needs it.
  const std::string reference =
      BuildReferenceNumber(layout.Reference().number(), payment.InternalNumber);
  DrawOneLine(slip, layout.Reference().Processing(), GroupReference(reference));
  DrawOneLine(slip, layout.Reference().Receipt(), reference);

  const std::string& account = layout.Account().number();
  DrawOneLine(slip, layout.Account().Processing(), account);
  DrawOneLine(slip, layout.Account().Receipt(), account);

  const TMontant& m = layout.Amount();
  const AmountTexts amount = AmountTextsFor(m, payment.Amount);
  DrawCentimes(slip, m, m.Receipt(), amount.Centimes);
  DrawCentimes(slip, m, m.Processing(), amount.Centimes);
  DrawFrancs(slip, m, m.Receipt(), amount.Francs);
  DrawFrancs(slip, m, m.Processing(), amount.Francs);

  const bool noAmount = !CodingLineCarriesAmount(m.Processing().Imprime, payment.Amount);
  const std::string codingLine = BuildCodingLine(noAmount, reference, account, payment.Amount);
  // In double: offsets read from a file may be anything a 32-bit integer holds.
  slip.DrawCodingLine(codingLine, static_cast<double>(kSlipWidth) - layout.CodageZone().fromRight,
                      static_cast<double>(kSlipHeight) - layout.CodageZone().fromBottom);
}

void DrawSettingOverlay(TSlipCanvas& slip, const TBvrProperties& layout, double width,
                        double height) {
  ICanvas& canvas = slip.Canvas();
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(clInactiveCaptionText);
  canvas.Rectangle(slip.ToDeviceX(0), slip.ToDeviceY(0), slip.ToDeviceX(width),
                   slip.ToDeviceY(height));
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.SetBrushColor(clWhite);  // a colour makes the fill solid again

  slip.Line(0, 0, width, height);
  slip.Line(0, 0, width, 0);
  slip.Line(600, 0, 600, height);

  const double crossX = static_cast<double>(kSlipWidth) - layout.CodageZone().fromRight;
  const double crossY = static_cast<double>(kSlipHeight) - layout.CodageZone().fromBottom;
  slip.DrawCodingLine("042>123456789012345678901234567+ 019876544>", crossX, crossY);

  const TBaseZone* frames[] = {&layout.PaymentFor().Receipt(), &layout.PaymentFor().Processing(),
                               &layout.PaymentBy().Receipt(),  &layout.PaymentBy().Processing(),
                               &layout.Account().Receipt(),    &layout.Amount().Processing(),
                               &layout.Reference().Receipt(),  &layout.Reference().Processing(),
                               &layout.Account().Processing(), &layout.Amount().Receipt()};
  for (const TBaseZone* zone : frames) {
    slip.DrawZoneFrame(BoxOf(*zone));
  }

  const TMontant& m = layout.Amount();
  for (const TFontBaseZone* zone : {&m.Receipt(), &m.Processing()}) {
    const ZoneBox box = BoxOf(*zone);
    const double decimals = box.Left + box.Width - m.decimalWidth();
    const double top = box.Top;
    const double bottom = box.Top + box.height;
    slip.Line(decimals, top, decimals, bottom);
    const double comma = decimals - m.CommaWidth();
    slip.Line(comma, top, comma, bottom);
  }

  slip.Line(crossX, 10, crossX, 1150);
  slip.Line(600, crossY, kSlipWidth, crossY);

  canvas.SetBrushColor(clInactiveCaptionText);
  slip.Line(kMeasureMarkLeft, kMeasureMarkY, kMeasureMarkRight, kMeasureMarkY);
  for (const double x : {kMeasureMarkLeft, kMeasureMarkRight}) {
    slip.Line(x, kMeasureMarkY - kMeasureMarkTick, x, kMeasureMarkY + kMeasureMarkTick);
  }

  CanvasFont font = canvas.Font();
  font.Name = "Courrier New";
  font.Size = 8;
  canvas.SetFont(font);
  canvas.TextOut(slip.ToDeviceX(1450), slip.ToDeviceY(170), " largeur : 3 cm");
  canvas.TextOut(slip.ToDeviceX(1450), slip.ToDeviceY(210), " x : 14 cm");
  canvas.TextOut(slip.ToDeviceX(1450), slip.ToDeviceY(250), " y : 1.5 cm");
}

}  // namespace bvr
