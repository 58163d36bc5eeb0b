// A TrueType font cut down to the glyphs a document shows, glyph numbers kept, so that the
// pages can be written before the set of glyphs is known.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bvr::pdf {

// table gives the font's table of a tag ("glyf"), empty when it has none. Throws when the
// font cannot be cut (not TrueType outlines, damaged tables).
std::string SubsetTrueType(const std::function<std::string(const char* tag)>& table,
                           const std::vector<std::uint16_t>& glyphs);

}  // namespace bvr::pdf
