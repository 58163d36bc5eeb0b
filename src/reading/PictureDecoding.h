// Pictures (PNG, JPEG, TIFF) decoded to grey, with the resolution they carry. PNG through
// libpng's simplified interface, JPEG through TurboJPEG, TIFF through libtiff: Debian's own
// decoders, without a toolkit, so that the fuzzer reaches them too.
#pragma once

#include <functional>
#include <string_view>

#include "pdf/GreyImage.h"

namespace bvr::reading {

enum class FileKind { Pdf, Png, Jpeg, Tiff, Unknown };

// By the first bytes, never by the name.
FileKind KindOf(std::string_view bytes);

// The first page of a PNG, JPEG or TIFF as grey. Fails with EBvrError for another kind, a
// broken file or one beyond the limits of PictureLimits.h. dpi is 0 when the file says none.
pdf::GreyImage DecodePicture(std::string_view bytes);

// Each page of a PNG, JPEG or TIFF as grey, in order, numbered from 1, one page held at a
// time: a scanner puts a whole batch into one TIFF. Fails like DecodePicture, and for a TIFF
// of more than kMaxPicturePages pages before any is decoded.
using PictureUse = std::function<void(const pdf::GreyImage& page, int number)>;
void ForEachPicturePage(std::string_view bytes, const PictureUse& use);

// Per kind, for DecodePicture.
pdf::GreyImage DecodePng(std::string_view bytes);
pdf::GreyImage DecodeJpeg(std::string_view bytes);
pdf::GreyImage DecodeTiff(std::string_view bytes);
void DecodeTiffPages(std::string_view bytes, const PictureUse& use);

// Refuses (EBvrError) a width x height beyond the limits.
void CheckPictureSize(long long width, long long height);

}  // namespace bvr::reading
