#include "pdfwrite/FontSubset.h"

#include <hb-subset.h>
#include <hb.h>

#include <memory>
#include <stdexcept>
#include <utility>

#include "strings/BvrError.h"

namespace bvr::pdf {

namespace {

// The tables a PDF's embedded font program uses, and cmap, post and name that some readers
// look into, in the tags' sorted order. Layout tables (GSUB, GPOS, kern) are not: the pages
// carry positions.
constexpr const char* kTrueTypeTables[] = {"OS/2", "cmap", "cvt ", "fpgm", "glyf", "head", "hhea",
                                           "hmtx", "loca", "maxp", "name", "post", "prep"};
constexpr const char* kCffTables[] = {"CFF ", "OS/2", "cmap", "head", "hhea",
                                      "hmtx", "maxp", "name", "post"};

void PutU16(std::string& out, unsigned value) {
  out += static_cast<char>((value >> 8) & 0xFF);
  out += static_cast<char>(value & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, value >> 16);
  PutU16(out, value & 0xFFFF);
}

std::uint32_t CheckSum(const std::string& data) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < data.size(); i += 4) {
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      word = (word << 8) | (i + k < data.size() ? static_cast<unsigned char>(data[i + k]) : 0u);
    }
    sum += word;
  }
  return sum;
}

// The tables back into one font file.
template <std::size_t N>
std::string FontFile(const std::function<std::string(const char* tag)>& table,
                     const char* const (&tags)[N], std::uint32_t version) {
  std::vector<std::pair<const char*, std::string>> present;
  for (const char* tag : tags) {
    std::string data = table(tag);
    if (!data.empty()) {
      present.emplace_back(tag, std::move(data));
    }
  }
  const auto count = static_cast<unsigned>(present.size());
  unsigned power = 1;
  unsigned log = 0;
  while (power * 2 <= count) {
    power *= 2;
    ++log;
  }
  std::string out;
  PutU32(out, version);
  PutU16(out, count);
  PutU16(out, power * 16);
  PutU16(out, log);
  PutU16(out, count * 16 - power * 16);
  std::uint32_t offset = 12 + 16 * count;
  for (const auto& [tag, data] : present) {
    out.append(tag, 4);
    PutU32(out, CheckSum(data));
    PutU32(out, offset);
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    offset += static_cast<std::uint32_t>((data.size() + 3) & ~std::size_t{3});
  }
  for (const auto& [tag, data] : present) {
    out += data;
    out.append((4 - data.size() % 4) % 4, '\0');
  }
  return out;
}

template <typename T, void (*Destroy)(T*)>
struct HbDeleter {
  void operator()(T* p) const { Destroy(p); }
};
using Blob = std::unique_ptr<hb_blob_t, HbDeleter<hb_blob_t, hb_blob_destroy>>;
using Face = std::unique_ptr<hb_face_t, HbDeleter<hb_face_t, hb_face_destroy>>;
using Input =
    std::unique_ptr<hb_subset_input_t, HbDeleter<hb_subset_input_t, hb_subset_input_destroy>>;

}  // namespace

FontProgram SubsetFont(const std::function<std::string(const char* tag)>& table,
                       const std::vector<std::uint16_t>& glyphs) {
  FontProgram program;
  std::string file;
  if (!table("glyf").empty() && !table("loca").empty()) {
    file = FontFile(table, kTrueTypeTables, 0x00010000);
  } else if (!table("CFF ").empty()) {
    program.cff = true;
    file = FontFile(table, kCffTables, 0x4F54544F);  // "OTTO"
  } else {
    throw EBvrError("PDF: a face with neither TrueType nor CFF outlines cannot be embedded");
  }
  const Blob blob(hb_blob_create(file.data(), static_cast<unsigned>(file.size()),
                                 HB_MEMORY_MODE_READONLY, nullptr, nullptr));
  const Face face(hb_face_create(blob.get(), 0));
  const Input input(hb_subset_input_create_or_fail());
  if (!input) {
    throw EBvrError("PDF: no memory to cut a font");
  }
  hb_set_t* set = hb_subset_input_glyph_set(input.get());
  hb_set_add(set, 0);  // .notdef, which every font program keeps
  for (const std::uint16_t glyph : glyphs) {
    hb_set_add(set, glyph);
  }
  hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS);
  const Face subset(hb_subset_or_fail(face.get(), input.get()));
  if (!subset) {
    throw EBvrError("PDF: a font could not be cut to the glyphs used");
  }
  const Blob result(hb_face_reference_blob(subset.get()));
  unsigned length = 0;
  const char* data = hb_blob_get_data(result.get(), &length);
  if (data == nullptr || length == 0) {
    throw EBvrError("PDF: a font cut to its glyphs came out empty");
  }
  program.data.assign(data, length);
  return program;
}

}  // namespace bvr::pdf
