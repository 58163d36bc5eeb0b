// Windows-1252, the code page of layout files and of the amount's replacement character.
// A fixed table (bytes 0x80-0x9F) plus Latin-1 for the rest: portable and deterministic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bvr {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value.
char32_t Windows1252ToUnicode(std::uint8_t byte);

// The Windows-1252 byte of a code point, when the code page holds it.
std::optional<std::uint8_t> UnicodeToWindows1252(char32_t codePoint);

// UTF-8 helpers for the model's text: append one code point; decode the next one.
void AppendUtf8(std::string& out, char32_t codePoint);
// Decodes the code point at text[pos] and advances pos. Malformed input yields U+FFFD and
// consumes one byte, so every byte sequence decodes without reading out of bounds.
char32_t NextUtf8(const std::string& text, std::size_t& pos);

}  // namespace bvr
