// What a picture from anywhere may cost us: checked on its header, before its pixels are
// decoded.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bvr::reading {

// A phone photo is 12 to 50 million pixels; an A4 scan at 600 dpi 35 million.
inline constexpr std::int64_t kMaxPicturePixels = 60'000'000;
// A side longer than this is no page or photo.
inline constexpr int kMaxPictureSide = 30'000;
// Pictures are compressed: far fewer bytes than pixels.
inline constexpr std::size_t kMaxPictureBytes = std::size_t{64} << 20;
// Pages of one picture file (a scanner's multi-page TIFF): each is decoded in turn.
inline constexpr int kMaxPicturePages = 500;
// Codes looked for on one page or picture: a sheet of bills holds a few.
inline constexpr int kMaxCodesPerPage = 16;

}  // namespace bvr::reading
