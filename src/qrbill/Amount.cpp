#include "qrbill/Amount.h"

#include <algorithm>

namespace bvr::qr {

namespace {

constexpr std::size_t kFrancsDigitsMax = 9;

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct Parts {
  std::string_view units;
  std::string_view decimals;
};

// The amount's two parts when it is written as the rule says, whatever its value.
std::optional<Parts> SplitWritten(std::string_view amount) {
  const std::size_t point = amount.find('.');
  Parts parts{amount.substr(0, point),
              point == std::string_view::npos ? std::string_view{} : amount.substr(point + 1)};
  const bool written = !parts.units.empty() && AllDigits(parts.units) &&
                       AllDigits(parts.decimals) && parts.decimals.size() <= 2 &&
                       (point == std::string_view::npos || !parts.decimals.empty()) &&
                       (parts.units.size() == 1 || parts.units[0] != '0');
  return written ? std::optional<Parts>(parts) : std::nullopt;
}

}  // namespace

std::optional<std::string> AmountProblem(std::string_view amount) {
  const std::optional<Parts> parts = SplitWritten(amount);
  if (!parts) {
    return "montant mal écrit « " + std::string(amount) +
           " » : chiffres sans zéro en tête, puis « . » et deux décimales au plus (1949.75)";
  }
  const bool zero =
      parts->units == "0" && parts->decimals.find_first_not_of('0') == std::string_view::npos;
  if (zero || parts->units.size() > kFrancsDigitsMax) {
    return "montant hors limites « " + std::string(amount) + " » : de 0.01 à 999999999.99";
  }
  return std::nullopt;
}

std::string AmountWithTwoDecimals(std::string_view amount) {
  const std::optional<Parts> parts = SplitWritten(amount);
  if (!parts) {
    return std::string(amount);
  }
  std::string decimals(parts->decimals);
  decimals.resize(2, '0');
  return std::string(parts->units) + "." + decimals;
}

}  // namespace bvr::qr
