// Shared vocabulary of the layout file's writer and reader: the names under which colours,
// character sets, pitches and font styles are written, and the line limit of string values.
// Internal to the model; the public entry points are TBvrProperties::SaveToText / LoadFromText.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace bvr::bvrtext {

// A string value's content is cut into lines of at most this many characters (an escape
// counts as one); longer values start on a line of their own.
inline constexpr std::size_t kStringLineChars = 64;

std::optional<std::string_view> ColorName(std::int32_t color);
std::optional<std::int32_t> ColorFromName(std::string_view name);

std::optional<std::string_view> CharsetName(std::int64_t charset);
std::optional<std::int64_t> CharsetFromName(std::string_view name);

std::optional<std::string_view> PitchName(std::int64_t pitch);
std::optional<std::int64_t> PitchFromName(std::string_view name);

struct StyleName {
  std::string_view name;
  std::uint8_t bit;
};
// In writing order.
inline constexpr std::array<StyleName, 4> kStyleNames = {{
    {"fsBold", 1},
    {"fsItalic", 2},
    {"fsUnderline", 4},
    {"fsStrikeOut", 8},
}};

}  // namespace bvr::bvrtext
