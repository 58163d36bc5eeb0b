// TIFF through libtiff, read from memory; the first page, any photometry, as grey.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "reading/PictureDecoding.h"
#include "strings/BvrError.h"

namespace bvr::reading {

namespace {

// The bytes libtiff reads through its client callbacks.
struct Source {
  std::string_view bytes;
  toff_t at = 0;
};

tmsize_t ReadBytes(thandle_t handle, void* buffer, tmsize_t size) {
  auto* source = static_cast<Source*>(handle);
  if (size <= 0 || source->at >= source->bytes.size()) {
    return 0;
  }
  const auto n = std::min<toff_t>(static_cast<toff_t>(size), source->bytes.size() - source->at);
  std::memcpy(buffer, source->bytes.data() + source->at, n);
  source->at += n;
  return static_cast<tmsize_t>(n);
}
tmsize_t WriteBytes(thandle_t, void*, tmsize_t) {
  return 0;
}
toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* source = static_cast<Source*>(handle);
  const toff_t base = whence == SEEK_CUR   ? source->at
                      : whence == SEEK_END ? source->bytes.size()
                                           : 0;
  source->at = base + offset;
  return source->at;
}
int Close(thandle_t) {
  return 0;
}
toff_t Size(thandle_t handle) {
  return static_cast<Source*>(handle)->bytes.size();
}
int Map(thandle_t, void**, toff_t*) {
  return 0;
}
void Unmap(thandle_t, void*, toff_t) {}

void Quiet(const char*, const char*, va_list) {}

struct TiffClose {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

double TiffDpi(TIFF* tiff) {
  float x = 0;
  std::uint16_t unit = RESUNIT_INCH;
  if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x)) {
    return 0;
  }
  TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
  if (unit == RESUNIT_INCH) {
    return x;
  }
  return unit == RESUNIT_CENTIMETER ? x * 2.54 : 0;
}

}  // namespace

pdf::GreyImage DecodeTiff(std::string_view bytes) {
  // libtiff prints every warning and error on standard error; ours are the messages.
  TIFFSetWarningHandler(Quiet);
  TIFFSetErrorHandler(Quiet);
  Source source{bytes};
  const std::unique_ptr<TIFF, TiffClose> tiff(TIFFClientOpen(
      "picture", "rm", &source, ReadBytes, WriteBytes, Seek, Close, Size, Map, Unmap));
  if (!tiff) {
    throw EBvrError("broken TIFF");
  }
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
  CheckPictureSize(width, height);
  std::vector<std::uint32_t> rgba(static_cast<std::size_t>(width) * height);
  if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, rgba.data(), ORIENTATION_TOPLEFT, 0)) {
    throw EBvrError("broken TIFF");
  }
  pdf::GreyImage grey;
  grey.width = static_cast<int>(width);
  grey.height = static_cast<int>(height);
  grey.dpi = TiffDpi(tiff.get());
  grey.pixels.resize(rgba.size());
  std::transform(rgba.begin(), rgba.end(), grey.pixels.begin(), [](std::uint32_t p) {
    // Luma of the composed pixel, transparency on white.
    const unsigned a = TIFFGetA(p);
    const unsigned luma = (TIFFGetR(p) * 77 + TIFFGetG(p) * 150 + TIFFGetB(p) * 29) >> 8;
    return static_cast<std::uint8_t>((luma * a + 255 * (255 - a)) / 255);
  });
  return grey;
}

}  // namespace bvr::reading
