#include "report/QtPdfTextSource.h"

#include <QByteArray>
#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>

#include "pdfwrite/FontTables.h"
#include "report/QtFont.h"

namespace bvr {

namespace {

constexpr double kPointsPerUnit = 72.0 / RecordingCanvas::kUnitsPerInch;

// Every text drawn in a PDF is laid out in points: the scalable form of its face.
CanvasFont Scalable(CanvasFont font) {
  font.Scalable = true;
  return font;
}

std::string FontKey(const CanvasFont& font) {
  return font.Name + '\x1f' + std::to_string(static_cast<int>(font.Style)) + '\x1f';
}

// From the family and style where the name table has no PostScript name: "LiberationSans-Bold".
std::string DerivedName(const QRawFont& font) {
  std::string name = pdf::NameSafe(font.familyName().toStdString());
  const std::string style = pdf::NameSafe(font.styleName().toStdString());
  if (!style.empty() && style != "Regular") {
    name += (name.empty() ? "" : "-") + style;
  }
  return name.empty() ? "Font" : name;
}

// The character each glyph of the run shows: the text's characters through the face's own
// character map.
std::vector<char32_t> CharactersOf(const QRawFont& font, const QString& text,
                                   const QList<quint32>& glyphs) {
  std::vector<char32_t> characters(static_cast<std::size_t>(glyphs.size()), 0);
  for (const char32_t c : text.toUcs4()) {
    const QList<quint32> nominal = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
    if (nominal.isEmpty()) {
      continue;
    }
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      if (glyphs[i] == nominal.front() && characters[static_cast<std::size_t>(i)] == 0) {
        characters[static_cast<std::size_t>(i)] = c;
      }
    }
  }
  return characters;
}

}  // namespace

const pdf::ShapedText& QtPdfTextSource::Shape(const CanvasFont& font, const std::string& text) {
  key_ = FontKey(font);
  key_ += text;
  if (const auto found = shaped_.find(key_); found != shaped_.end()) {
    return found->second;
  }
  if (shaped_.size() >= kMaxShaped) {
    shaped_.clear();  // the repeated lines come back at once; a long run's payers do not
  }
  return shaped_.emplace(key_, ShapeNew(font, text)).first->second;
}

pdf::ShapedText QtPdfTextSource::ShapeNew(const CanvasFont& font, const std::string& text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QTextLayout layout(s, ToQFont(Scalable(font)));
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  pdf::ShapedText shaped;
  if (!line.isValid()) {
    return shaped;
  }
  line.setPosition(QPointF(0, 0));
  for (const QGlyphRun& glyphRun : line.glyphRuns()) {
    const QRawFont raw = glyphRun.rawFont();
    const QList<quint32> glyphs = glyphRun.glyphIndexes();
    const QList<QPointF> positions = glyphRun.positions();
    pdf::ShapedRun run;
    run.face = FaceOf(raw);
    const double perEm = 1000.0 / raw.pixelSize();
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
      run.glyphs.push_back(static_cast<std::uint16_t>(glyphs[i]));
      run.x.push_back(positions[i].x() * perEm);
    }
    run.advances = Advances(run.face, run.glyphs);
    run.characters = CharactersOf(raw, s, glyphs);
    shaped.runs.push_back(std::move(run));
  }
  return shaped;
}

int QtPdfTextSource::FaceOf(const QRawFont& font) {
  for (std::size_t i = 0; i < faces_.size(); ++i) {
    const QRawFont& known = faces_[i].font;
    if (known.familyName() == font.familyName() && known.styleName() == font.styleName() &&
        known.weight() == font.weight() && known.style() == font.style()) {
      return static_cast<int>(i);
    }
  }
  QRawFont design = font;
  design.setPixelSize(font.unitsPerEm());
  faces_.push_back({design, {}});
  return static_cast<int>(faces_.size() - 1);
}

double QtPdfTextSource::Width(const CanvasFont& font, const std::string& text) {
  return measure_.Width(Scalable(font), text) * kPointsPerUnit;
}

pdf::TextLine QtPdfTextSource::Line(const CanvasFont& font) {
  key_ = FontKey(font);
  key_ += std::to_string(font.Size);
  if (const auto found = lines_.find(key_); found != lines_.end()) {
    return found->second;
  }
  const CanvasFont scalable = Scalable(font);
  const pdf::TextLine line{measure_.Height(scalable) * kPointsPerUnit,
                           measure_.Ascent(scalable) * kPointsPerUnit};
  lines_.emplace(key_, line);
  return line;
}

pdf::FaceInfo QtPdfTextSource::Info(int face) {
  const QRawFont& font = Design(face);
  const double perEm = 1000.0 / font.unitsPerEm();
  pdf::FaceInfo info;
  info.postScriptName = pdf::PostScriptName(Table(face, "name"));
  if (info.postScriptName.empty()) {
    info.postScriptName = DerivedName(font);
  }
  info.ascent = font.ascent() * perEm;
  info.descent = -font.descent() * perEm;
  info.capHeight = font.capHeight() * perEm;
  const pdf::TableMetrics tables = pdf::ReadTableMetrics(Table(face, "head"), Table(face, "post"));
  for (std::size_t i = 0; i < info.box.size(); ++i) {
    info.box[i] = tables.box[i] * perEm;
  }
  info.italicAngle = tables.italicAngle;
  info.fixedPitch = tables.fixedPitch;
  return info;
}

std::string QtPdfTextSource::Table(int face, const char* tag) {
  const QByteArray table = Design(face).fontTable(tag);
  return std::string(table.constData(), static_cast<std::size_t>(table.size()));
}

std::vector<double> QtPdfTextSource::Advances(int face, const std::vector<std::uint16_t>& glyphs) {
  // Each glyph loaded once: loading one is the dearest part of a new text.
  Face& known = faces_.at(static_cast<std::size_t>(face));
  std::vector<double> out;
  out.reserve(glyphs.size());
  for (const std::uint16_t g : glyphs) {
    if (g >= known.advances.size()) {
      known.advances.resize(std::size_t{g} + 1, -1.0);
    }
    double& advance = known.advances[g];
    if (advance < 0) {
      const quint32 index = g;
      QPointF design;
      known.font.advancesForGlyphIndexes(&index, &design, 1, QRawFont::UseDesignMetrics);
      advance = std::max(0.0, design.x() * 1000.0 / known.font.unitsPerEm());
    }
    out.push_back(advance);
  }
  return out;
}

}  // namespace bvr
