#include "reading/PictureDecoding.h"

#include "pdf/PdfDocument.h"
#include "reading/PictureLimits.h"
#include "strings/BvrError.h"

namespace bvr::reading {

FileKind KindOf(std::string_view bytes) {
  if (bytes.starts_with("\x89PNG\r\n\x1a\n")) {
    return FileKind::Png;
  }
  if (bytes.starts_with("\xff\xd8\xff")) {
    return FileKind::Jpeg;
  }
  if (bytes.starts_with(std::string_view("II*\0", 4)) ||
      bytes.starts_with(std::string_view("MM\0*", 4))) {
    return FileKind::Tiff;
  }
  if (pdf::LooksLikePdf(bytes)) {
    return FileKind::Pdf;
  }
  return FileKind::Unknown;
}

void CheckPictureSize(long long width, long long height) {
  if (width <= 0 || height <= 0) {
    throw EBvrError("picture without pixels");
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    throw EBvrError(Fmt("picture of %d x %d pixels, at most %d pixels")
                        .d(width)
                        .d(height)
                        .d(kMaxPicturePixels));
  }
}

namespace {

void CheckPictureBytes(std::string_view bytes) {
  if (bytes.size() > kMaxPictureBytes) {
    throw EBvrError(Fmt("picture too large: %d bytes, at most %d")
                        .d(static_cast<long long>(bytes.size()))
                        .d(static_cast<long long>(kMaxPictureBytes)));
  }
}

}  // namespace

void ForEachPicturePage(std::string_view bytes, const PictureUse& use) {
  CheckPictureBytes(bytes);
  if (KindOf(bytes) == FileKind::Tiff) {
    DecodeTiffPages(bytes, use);
    return;
  }
  use(DecodePicture(bytes), 1);
}

pdf::GreyImage DecodePicture(std::string_view bytes) {
  CheckPictureBytes(bytes);
  switch (KindOf(bytes)) {
    case FileKind::Png:
      return DecodePng(bytes);
    case FileKind::Jpeg:
      return DecodeJpeg(bytes);
    case FileKind::Tiff:
      return DecodeTiff(bytes);
    default:
      throw EBvrError("neither PDF, PNG, JPEG nor TIFF");
  }
}

}  // namespace bvr::reading
