#include "qrprint/TextFitter.h"

#include <algorithm>
#include <utility>

namespace bvr::qr {

namespace {
constexpr double kReferencePoints = 100;  // large enough that no pixel rounding shows
constexpr double kUnitsPerMm = 10;        // the measure's 254 units per inch
constexpr const char* kEllipsis = "...";
}  // namespace

std::size_t NextCodePoint(const std::string& text, std::size_t i) {
  ++i;
  while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
    ++i;
  }
  return i;
}

TextFitter::TextFitter(const ITextMeasure& measure, std::string face)
    : measure_(measure), face_(std::move(face)) {}

double TextFitter::AdvanceMm(std::string_view character, bool bold) const {
  std::uint64_t key = bold ? 1 : 0;
  for (std::size_t i = 0; i < character.size() && i < 7; ++i) {
    key |= static_cast<std::uint64_t>(static_cast<unsigned char>(character[i])) << (8 * i + 8);
  }
  if (auto found = advances_.find(key); found != advances_.end()) {
    return found->second;
  }
  CanvasFont font;
  font.Name = face_;
  font.Size = kReferencePoints;
  font.Style = bold ? static_cast<TFontStyles>(fsBold) : 0;
  font.Scalable = true;
  const double mm = measure_.Width(font, std::string(character)) / kUnitsPerMm / kReferencePoints;
  advances_.emplace(key, mm);
  return mm;
}

double TextFitter::WidthMm(const std::string& text, double points, bool bold) const {
  double mm = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = NextCodePoint(text, i);
    mm += AdvanceMm(std::string_view(text).substr(i, next - i), bold);
    i = next;
  }
  return mm * points;
}

std::vector<std::string> TextFitter::Wrap(const std::string& text, double points, bool bold,
                                          double widthMm) const {
  std::vector<std::string> lines;
  auto fits = [&](const std::string& s) { return WidthMm(s, points, bold) <= widthMm + 1e-9; };
  std::string line;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = std::min(text.find(' ', pos), text.size());
    std::string word = text.substr(pos, end - pos);
    pos = end + 1;
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (fits(candidate)) {
      line = candidate;
      continue;
    }
    if (!line.empty()) {
      lines.push_back(line);
      line.clear();
    }
    while (!fits(word)) {
      std::size_t cut = NextCodePoint(word, 0);  // one character at least: no endless loop
      for (std::size_t next = NextCodePoint(word, cut);
           next <= word.size() && fits(word.substr(0, next)); next = NextCodePoint(word, next)) {
        cut = next;
      }
      lines.push_back(word.substr(0, cut));
      word.erase(0, cut);
    }
    line = word;
  }
  if (!line.empty()) {
    lines.push_back(line);
  }
  return lines;
}

std::string TextFitter::Shorten(const std::string& text, double points, bool bold,
                                double widthMm) const {
  if (WidthMm(text, points, bold) <= widthMm + 1e-9) {
    return text;
  }
  const double room = widthMm - WidthMm(kEllipsis, points, bold);
  std::size_t cut = 0;
  double used = 0;
  for (std::size_t next = 0; cut < text.size(); cut = next) {
    next = NextCodePoint(text, cut);
    used += AdvanceMm(std::string_view(text).substr(cut, next - cut), bold) * points;
    if (used > room + 1e-9) {
      break;
    }
  }
  std::string kept = text.substr(0, cut);
  while (!kept.empty() && kept.back() == ' ') {
    kept.pop_back();
  }
  return kept + kEllipsis;
}

}  // namespace bvr::qr
