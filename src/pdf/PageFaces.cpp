#include "pdf/PageFaces.h"

#include <poppler-document.h>
#include <poppler-font.h>
#include <poppler-page.h>

#include <algorithm>
#include <memory>

namespace bvr::pdf {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;

}  // namespace

std::string WithoutSubsetPrefix(const std::string& name) {
  if (name.size() > 7 && name[6] == '+' &&
      std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; })) {
    return name.substr(7);
  }
  return name;
}

std::vector<Face> FacesOnPage(const PdfDocument& pdf, int page) {
  std::vector<Face> faces;
  const std::unique_ptr<poppler::font_iterator> fonts(pdf.Document().create_font_iterator(page));
  if (!fonts || !fonts->has_next()) {
    return faces;
  }
  for (const poppler::font_info& font : fonts->next()) {
    Face face{WithoutSubsetPrefix(font.name()), font.is_embedded()};
    if (std::find(faces.begin(), faces.end(), face) == faces.end()) {
      faces.push_back(std::move(face));
    }
  }
  return faces;
}

std::vector<Word> WordsOnPage(const PdfDocument& pdf, int page) {
  std::vector<Word> words;
  const poppler::page& p = pdf.Page(page);
  for (const poppler::text_box& box : p.text_list(poppler::page::text_list_include_font)) {
    const poppler::rectf r = box.bbox();
    const poppler::byte_array utf8 = box.text().to_utf8();
    words.push_back({std::string(utf8.begin(), utf8.end()),
                     WithoutSubsetPrefix(box.get_font_name()),
                     RectMm{r.x() * kMmPerPoint, r.y() * kMmPerPoint, r.width() * kMmPerPoint,
                            r.height() * kMmPerPoint}});
  }
  return words;
}

}  // namespace bvr::pdf
