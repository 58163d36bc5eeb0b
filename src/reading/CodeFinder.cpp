#include "reading/CodeFinder.h"

#include <ZXing/ReadBarcode.h>

#include "reading/PictureLimits.h"

namespace bvr::reading {

std::vector<FoundCode> FindQrCodes(const pdf::GreyImage& image, RasterSource source) {
  std::vector<FoundCode> codes;
  if (image.width <= 0 || image.height <= 0) {
    return codes;
  }
  // QR only; try-harder looks at every row band and tries the inverted finder patterns,
  // try-rotate turns the picture for symbols the detector misses upright. The quiet zone
  // plus the Swiss cross in the middle are harmless to ZXing's detector.
  const ZXing::DecodeHints hints = ZXing::DecodeHints()
                                       .setFormats(ZXing::BarcodeFormat::QRCode)
                                       .setTryHarder(true)
                                       .setTryRotate(true)
                                       .setTryDownscale(source == RasterSource::Picture)
                                       .setMaxNumberOfSymbols(kMaxCodesPerPage);
  const ZXing::ImageView view(image.pixels.data(), image.width, image.height,
                              ZXing::ImageFormat::Lum);
  for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
    if (!result.isValid()) {
      continue;
    }
    FoundCode code;
    const ZXing::ByteArray& bytes = result.bytes();
    code.bytes.assign(bytes.begin(), bytes.end());
    const ZXing::Position& p = result.position();
    const ZXing::PointI corners[] = {p.topLeft(), p.topRight(), p.bottomRight(), p.bottomLeft()};
    for (std::size_t i = 0; i < 4; ++i) {
      code.corners[i] = {static_cast<double>(corners[i].x), static_cast<double>(corners[i].y)};
    }
    code.rotation = (result.orientation() + 360) % 360;
    codes.push_back(std::move(code));
  }
  return codes;
}

}  // namespace bvr::reading
