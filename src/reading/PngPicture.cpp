// PNG: libpng's simplified interface decodes to grey in one call. Its resolution is in the
// pHYs chunk, which that interface does not give: read from the chunks before the pixels.
#include <png.h>

#include <cstring>

#include "reading/PictureDecoding.h"
#include "strings/BvrError.h"

namespace bvr::reading {

namespace {

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// Pixels per inch of a pHYs chunk in metres (unit 1), or 0.
double PngDpi(std::string_view bytes) {
  std::size_t at = 8;
  while (at + 12 <= bytes.size()) {
    const std::uint32_t length = BigEndian32(bytes, at);
    const std::string_view type = bytes.substr(at + 4, 4);
    if (type == "IDAT" || length > bytes.size() - at - 12) {
      return 0;
    }
    if (type == "pHYs" && length == 9 && bytes[at + 16] == 1) {
      return BigEndian32(bytes, at + 8) * 0.0254;
    }
    at += 12 + length;
  }
  return 0;
}

}  // namespace

pdf::GreyImage DecodePng(std::string_view bytes) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    throw EBvrError(std::string("broken PNG: ") + image.message);
  }
  try {
    CheckPictureSize(image.width, image.height);
  } catch (...) {
    png_image_free(&image);
    throw;
  }
  image.format = PNG_FORMAT_GRAY;
  pdf::GreyImage grey;
  grey.width = static_cast<int>(image.width);
  grey.height = static_cast<int>(image.height);
  grey.pixels.resize(PNG_IMAGE_SIZE(image));
  // Transparent pixels composed on white: a code on a transparent page stays readable.
  png_color background{255, 255, 255};
  if (!png_image_finish_read(&image, &background, grey.pixels.data(), 0, nullptr)) {
    const std::string message = image.message;
    png_image_free(&image);
    throw EBvrError("broken PNG: " + message);
  }
  grey.dpi = PngDpi(bytes);
  return grey;
}

}  // namespace bvr::reading
