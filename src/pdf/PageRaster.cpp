#include "pdf/PageRaster.h"

#include <poppler-image.h>
#include <poppler-page-renderer.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pdf/PdfLimits.h"
#include "strings/BvrError.h"

namespace bvr::pdf {

namespace {

constexpr double kMmPerInch = 25.4;

// The resolution at which width x height mm stays within the pixel budget.
double BoundedDpi(double widthMm, double heightMm, double dpi) {
  dpi = std::clamp(dpi, 1.0, kMaxDpi);
  const double pixels = (widthMm / kMmPerInch * dpi) * (heightMm / kMmPerInch * dpi);
  if (pixels > static_cast<double>(kMaxRasterPixels)) {
    dpi *= std::sqrt(static_cast<double>(kMaxRasterPixels) / pixels);
  }
  return std::floor(dpi);
}

GreyImage Render(const PdfDocument& pdf, int page, const RectMm& region, double dpi) {
  if (!PageRenderable(pdf, page)) {
    throw EBvrError(Fmt("page %d has no usable size").d(page + 1));
  }
  const SizeMm size = pdf.PageSize(page);
  const double left = std::clamp(region.x, 0.0, size.width);
  const double top = std::clamp(region.y, 0.0, size.height);
  const double right = std::clamp(region.x + region.width, left, size.width);
  const double bottom = std::clamp(region.y + region.height, top, size.height);
  dpi = BoundedDpi(right - left, bottom - top, dpi);
  const auto px = [&](double mm) { return static_cast<int>(std::lround(mm / kMmPerInch * dpi)); };
  const int x = px(left);
  const int y = px(top);
  const int w = std::max(1, px(right) - x);
  const int h = std::max(1, px(bottom) - y);

  poppler::page_renderer renderer;
  renderer.set_image_format(poppler::image::format_gray8);
  renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
  renderer.set_paper_color(0xFFFFFFFF);
  const poppler::image image = renderer.render_page(&pdf.Page(page), dpi, dpi, x, y, w, h);
  if (!image.is_valid() || image.format() != poppler::image::format_gray8) {
    throw EBvrError(Fmt("page %d cannot be rendered").d(page + 1));
  }
  GreyImage grey;
  grey.width = image.width();
  grey.height = image.height();
  grey.dpi = dpi;
  grey.pixels.resize(static_cast<std::size_t>(grey.width) * static_cast<std::size_t>(grey.height));
  const char* data = image.const_data();
  for (int row = 0; row < grey.height; ++row) {
    std::memcpy(grey.pixels.data() + static_cast<std::size_t>(row) * grey.width,
                data + static_cast<std::ptrdiff_t>(row) * image.bytes_per_row(),
                static_cast<std::size_t>(grey.width));
  }
  return grey;
}

}  // namespace

bool PageRenderable(const PdfDocument& pdf, int page) {
  const SizeMm size = pdf.PageSize(page);
  return size.width > 0 && size.height > 0 && size.width <= kMaxPageSideMm &&
         size.height <= kMaxPageSideMm;
}

GreyImage RenderPage(const PdfDocument& pdf, int page, double dpi) {
  const SizeMm size = pdf.PageSize(page);
  return Render(pdf, page, {0, 0, size.width, size.height}, dpi);
}

GreyImage RenderRegion(const PdfDocument& pdf, int page, const RectMm& region, double dpi) {
  return Render(pdf, page, region, dpi);
}

}  // namespace bvr::pdf
