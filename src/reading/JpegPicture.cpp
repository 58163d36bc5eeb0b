// JPEG through TurboJPEG, decoded straight to grey.
#include <turbojpeg.h>

#include <memory>
#include <string_view>

#include "reading/PictureDecoding.h"
#include "strings/BvrError.h"

namespace bvr::reading {

namespace {

using namespace std::string_view_literals;

struct TjFree {
  void operator()(void* handle) const { tjDestroy(handle); }
};

// The JFIF header's density (APP0 right after the start), in pixels per inch, or 0.
double JfifDpi(std::string_view bytes) {
  if (bytes.size() < 18 || bytes.substr(2, 2) != "\xff\xe0" || bytes.substr(6, 5) != "JFIF\0"sv) {
    return 0;
  }
  const int unit = static_cast<unsigned char>(bytes[13]);
  const int x =
      (static_cast<unsigned char>(bytes[14]) << 8) | static_cast<unsigned char>(bytes[15]);
  if (unit == 1) {
    return x;
  }
  return unit == 2 ? x * 2.54 : 0;
}

}  // namespace

pdf::GreyImage DecodeJpeg(std::string_view bytes) {
  const std::unique_ptr<void, TjFree> handle(tjInitDecompress());
  if (!handle) {
    throw EBvrError("JPEG decoder unavailable");
  }
  auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto size = static_cast<unsigned long>(bytes.size());
  int width = 0;
  int height = 0;
  int subsampling = 0;
  int colourspace = 0;
  if (tjDecompressHeader3(handle.get(), data, size, &width, &height, &subsampling, &colourspace) !=
      0) {
    throw EBvrError(std::string("broken JPEG: ") + tjGetErrorStr2(handle.get()));
  }
  CheckPictureSize(width, height);
  pdf::GreyImage grey;
  grey.width = width;
  grey.height = height;
  grey.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (tjDecompress2(handle.get(), data, size, grey.pixels.data(), width, 0, height, TJPF_GRAY,
                    TJFLAG_ACCURATEDCT) != 0 &&
      tjGetErrorCode(handle.get()) == TJERR_FATAL) {
    throw EBvrError(std::string("broken JPEG: ") + tjGetErrorStr2(handle.get()));
  }
  grey.dpi = JfifDpi(bytes);
  return grey;
}

}  // namespace bvr::reading
