// TIFF through libtiff, read from memory; each page, any photometry, as grey.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "reading/PictureDecoding.h"
#include "reading/PictureLimits.h"
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

using Tiff = std::unique_ptr<TIFF, TiffClose>;

Tiff Open(Source& source) {
  // libtiff prints every warning and error on standard error; ours are the messages.
  TIFFSetWarningHandler(Quiet);
  TIFFSetErrorHandler(Quiet);
  Tiff tiff(TIFFClientOpen("picture", "rm", &source, ReadBytes, WriteBytes, Seek, Close, Size, Map,
                           Unmap));
  if (!tiff) {
    throw EBvrError("broken TIFF");
  }
  return tiff;
}

// The page the directory points at.
pdf::GreyImage ReadPage(TIFF* tiff) {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  CheckPictureSize(width, height);
  std::vector<std::uint32_t> rgba(static_cast<std::size_t>(width) * height);
  if (!TIFFReadRGBAImageOriented(tiff, width, height, rgba.data(), ORIENTATION_TOPLEFT, 0)) {
    throw EBvrError("broken TIFF");
  }
  pdf::GreyImage grey;
  grey.width = static_cast<int>(width);
  grey.height = static_cast<int>(height);
  grey.dpi = TiffDpi(tiff);
  grey.pixels.resize(rgba.size());
  std::transform(rgba.begin(), rgba.end(), grey.pixels.begin(), [](std::uint32_t p) {
    // Luma of the composed pixel, transparency on white.
    const unsigned a = TIFFGetA(p);
    const unsigned luma = (TIFFGetR(p) * 77 + TIFFGetG(p) * 150 + TIFFGetB(p) * 29) >> 8;
    return static_cast<std::uint8_t>((luma * a + 255 * (255 - a)) / 255);
  });
  return grey;
}

}  // namespace

pdf::GreyImage DecodeTiff(std::string_view bytes) {
  Source source{bytes};
  const Tiff tiff = Open(source);
  return ReadPage(tiff.get());
}

void DecodeTiffPages(std::string_view bytes, const PictureUse& use) {
  Source source{bytes};
  const Tiff tiff = Open(source);
  // Counted first (libtiff stops at a directory chain that loops): a file of too many pages
  // is refused before the work, not after the first few hundred.
  const tdir_t pages = TIFFNumberOfDirectories(tiff.get());
  if (pages > kMaxPicturePages) {
    throw EBvrError(Fmt("TIFF of %d pages, at most %d")
                        .d(static_cast<long long>(pages))
                        .d(static_cast<long long>(kMaxPicturePages)));
  }
  int number = 1;
  do {
    try {
      use(ReadPage(tiff.get()), number);
    } catch (const EBvrError& e) {
      throw EBvrError(Fmt("page %d: %s").d(static_cast<long long>(number)).s(e.what()));
    }
    ++number;
  } while (number <= static_cast<int>(pages) && TIFFReadDirectory(tiff.get()));
}

}  // namespace bvr::reading
