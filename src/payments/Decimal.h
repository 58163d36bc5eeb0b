// Amounts as bank files write them: decimal text with up to five fraction digits, held as
// whole hundred-thousandths so that sums and balances are exact. Never a binary float.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bvr::pay {

// Hundred-thousandths of the currency unit: 1.5 is 150000.
using Units = std::int64_t;
inline constexpr Units kUnitsPerWhole = 100000;

// "80", "209.7", "1.00", "0.00001" and " 12.50 " (blanks around); nothing for a sign, an exponent,
// a comma, more than five fraction digits or more than 13 whole digits (sums of a year's
// payments stay far from overflow).
std::optional<Units> ParseDecimal(std::string_view text);

// At least two fraction digits, more only where the amount has them: 150000 is "1.50",
// 123456 is "1.23456", -5000000 is "-50.00".
std::string FormatDecimal(Units units);

}  // namespace bvr::pay
