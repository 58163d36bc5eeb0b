#include "qrbill/Bill.h"

#include <array>
#include <utility>

namespace bvr::qr {

namespace {

constexpr std::array<std::pair<ReferenceType, std::string_view>, 3> kReferenceTypes{{
    {ReferenceType::QRR, "QRR"},
    {ReferenceType::SCOR, "SCOR"},
    {ReferenceType::NON, "NON"},
}};

constexpr std::array<std::pair<Language, std::string_view>, 4> kLanguages{{
    {Language::fr, "fr"},
    {Language::de, "de"},
    {Language::it, "it"},
    {Language::en, "en"},
}};

template <class Enum, std::size_t N>
std::string_view CodeOf(const std::array<std::pair<Enum, std::string_view>, N>& table, Enum value) {
  for (const auto& [e, code] : table) {
    if (e == value) {
      return code;
    }
  }
  return {};
}

template <class Enum, std::size_t N>
std::optional<Enum> ValueOf(const std::array<std::pair<Enum, std::string_view>, N>& table,
                            std::string_view code) {
  for (const auto& [e, c] : table) {
    if (c == code) {
      return e;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string_view ReferenceTypeCode(ReferenceType type) {
  return CodeOf(kReferenceTypes, type);
}

std::optional<ReferenceType> ReferenceTypeFromCode(std::string_view code) {
  return ValueOf(kReferenceTypes, code);
}

std::string_view LanguageCode(Language language) {
  return CodeOf(kLanguages, language);
}

std::optional<Language> LanguageFromCode(std::string_view code) {
  return ValueOf(kLanguages, code);
}

}  // namespace bvr::qr
