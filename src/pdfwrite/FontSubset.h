// A font cut down to the glyphs a document shows, glyph numbers kept, so that the pages can
// be written before the set of glyphs is known. TrueType outlines, or CFF ones (an OpenType
// ".otf" face) where a system has no TrueType face for a name.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bvr::pdf {

struct FontProgram {
  std::string data;  // a whole font file
  bool cff = false;  // CFF outlines in an OpenType file; TrueType otherwise
};

// table gives the font's table of a tag ("glyf"), empty when it has none. Throws when the
// font cannot be cut (outlines of neither kind, damaged tables), with EBvrError.
FontProgram SubsetFont(const std::function<std::string(const char* tag)>& table,
                       const std::vector<std::uint16_t>& glyphs);

}  // namespace bvr::pdf
