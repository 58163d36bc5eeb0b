// The few pieces of PDF syntax the page writer needs: numbers as short as their precision
// allows, and text strings that hold any character.
#pragma once

#include <string>
#include <string_view>

namespace bvr::pdf {

// value with at most decimals places, trailing zeros dropped ("12.5", "0", "-3.125").
void AppendNumber(std::string& out, double value, int decimals = 3);

void AppendInteger(std::string& out, long long value);

// A text string in UTF-16BE with its byte-order mark, as hex ("<FEFF0042>"): any title.
std::string TextString(std::string_view utf8);

// A character as UTF-16BE hex: four digits, eight for a surrogate pair.
void AppendUtf16Hex(std::string& out, char32_t c);

// Four hex digits of a 16-bit code ("<0041>" without the brackets).
void AppendHex4(std::string& out, unsigned code);

}  // namespace bvr::pdf
