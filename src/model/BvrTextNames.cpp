#include <cstdint>

#include "model/BvrText.h"
#include "model/Persistent.h"

namespace bvr::bvrtext {

namespace {

template <class T>
struct Named {
  std::string_view name;
  T value;
};

constexpr std::int32_t Sys(std::uint32_t index) {
  return static_cast<std::int32_t>(0xFF000000u | index);
}

// Fixed colours are 0x00BBGGRR; system colours carry their index under the top byte 0xFF
// (index 25 has no name).
constexpr std::array<Named<std::int32_t>, 52> kColors = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
}};

constexpr std::array<Named<std::int64_t>, 18> kCharsets = {{
    {"ANSI_CHARSET", 0},
    {"DEFAULT_CHARSET", 1},
    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},
    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

constexpr std::array<Named<std::int64_t>, 3> kPitches = {{
    {"fpDefault", 0},
    {"fpVariable", 1},
    {"fpFixed", 2},
}};

template <class Table, class T>
std::optional<std::string_view> NameOf(const Table& table, T value) {
  for (const auto& entry : table) {
    if (entry.value == value) {
      return entry.name;
    }
  }
  return std::nullopt;
}

template <class Table>
auto ValueOf(const Table& table, std::string_view name) -> std::optional<decltype(table[0].value)> {
  for (const auto& entry : table) {
    if (SameTextAscii(entry.name, name)) {
      return entry.value;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string_view> ColorName(std::int32_t color) {
  return NameOf(kColors, color);
}

std::optional<std::int32_t> ColorFromName(std::string_view name) {
  return ValueOf(kColors, name);
}

std::optional<std::string_view> CharsetName(std::int64_t charset) {
  return NameOf(kCharsets, charset);
}

std::optional<std::int64_t> CharsetFromName(std::string_view name) {
  return ValueOf(kCharsets, name);
}

std::optional<std::string_view> PitchName(std::int64_t pitch) {
  return NameOf(kPitches, pitch);
}

std::optional<std::int64_t> PitchFromName(std::string_view name) {
  return ValueOf(kPitches, name);
}

}  // namespace bvr::bvrtext
