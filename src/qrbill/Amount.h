// The bill's amount as decimal text: digits, optionally "." and one or two decimals, no
// leading zeros, from 0.01 to 999999999.99. Kept as text so that nothing is ever rounded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bvr::qr {

// What is wrong with a non-empty amount, in French; empty when valid.
std::optional<std::string> AmountProblem(std::string_view amount);

// A valid amount with exactly two decimals ("50" -> "50.00", "7.5" -> "7.50"); any other
// text unchanged.
std::string AmountWithTwoDecimals(std::string_view amount);

}  // namespace bvr::qr
