#include "numbers/VYKBVRFunctions.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <variant>

#include "numbers/Conversions.h"
#include "strings/BvrError.h"
#include "strings/VYKBVRResources.h"
#include "strings/Windows1252.h"

namespace bvr {

namespace {

constexpr std::array<std::uint8_t, 10> kSequence = {0, 9, 4, 6, 8, 2, 7, 1, 3, 5};

constexpr std::array<std::array<std::uint8_t, 10>, 11> MakeModulo10Table() {
  std::array<std::array<std::uint8_t, 10>, 11> table{};
  for (int digit = 0; digit < 10; ++digit) {
    for (int carry = 0; carry < 10; ++carry) {
      table[digit][carry] = kSequence[(digit + carry) % 10];
    }
  }
  for (int carry = 0; carry < 10; ++carry) {
    table[10][carry] = static_cast<std::uint8_t>((10 - carry) % 10);
  }
  return table;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The run of digits that starts at pos; pos ends on the first non-digit. A pos past the end
// (a skip over a separator that is not there) gives an empty run.
std::string DigitRun(const std::string& text, std::size_t& pos) {
  if (pos >= text.size()) {
    pos = text.size();
    return {};
  }
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) {
    ++pos;
  }
  return text.substr(start, pos - start);
}

std::string PadLeft(std::string text, std::size_t width) {
  if (text.size() < width) {
    text.insert(0, width - text.size(), '0');
  }
  return text;
}

// The whole digits of a general text in exponent form with a positive exponent
// ("1.5e+15" -> "1500000000000000"): the same significant digits, written out.
std::string InvalidAccountMessage(const std::string& account) {
  return std::string(LoadResString(SInvalidAccountFormat)) + " : " + account;
}

}  // namespace

const std::array<std::array<std::uint8_t, 10>, 11> Modulo10Table = MakeModulo10Table();

std::uint8_t Modulo10Lookup(std::uint8_t carry, std::uint8_t row) {
  return Modulo10Table.at(row).at(carry);
}

std::uint8_t CheckDigit(const std::string& digits, int carry) {
  // Iterative form of the recursive definition: same result, no stack depth per character.
  auto c = static_cast<std::uint8_t>(carry);
  for (std::size_t pos = 0; pos < digits.size();) {
    // One character at a time (a non-ASCII one is reported whole, not as a lone byte); a
    // single character is a valid integer only when it is a digit.
    const std::size_t start = pos;
    NextUtf8(digits, pos);
    const std::int32_t d = StrToInt(digits.substr(start, pos - start));
    c = Modulo10Lookup(c, static_cast<std::uint8_t>(d));
  }
  return Modulo10Lookup(c, 10);
}

std::string AccountToCodingForm(const std::string& account) {
  std::size_t pos = 0;
  const std::string prefix = DigitRun(account, pos);
  if (prefix.size() != 2) {
    throw EBvrError(InvalidAccountMessage(account));
  }
  ++pos;
  const std::string serial = PadLeft(DigitRun(account, pos), 6);
  if (serial.size() > 6) {
    throw EBvrError(InvalidAccountMessage(account));
  }
  ++pos;
  const std::string key = DigitRun(account, pos);
  // A key of more than one digit would put ten digits into the nine-digit account field of
  // the coding line, which no bank reader accepts: refuse it like any malformed number.
  if (key.size() > 1) {
    throw EBvrError(InvalidAccountMessage(account));
  }
  if (CheckDigit(prefix + serial, 0) != StrToInt(key)) {
    throw EBvrError(InvalidAccountMessage(account) + " clef invalide");
  }
  return prefix + serial + key;
}

std::string BuildReferenceNumber(const ReferenceLayout& layout, const std::string& internalNumber) {
  std::string r(26, '0');
  // Writes a part of `length` characters (the first characters of text, padded in front with
  // `padTo - taken` zeros) from place `start`. Only places 1..26 are ever touched, and the
  // part is never built in full: a layout read from a file may hold any lengths.
  const auto place = [&r](const std::string& text, std::int64_t length, std::int64_t start,
                          bool pad) {
    if (length <= 0) {
      return;
    }
    const std::int64_t taken = std::min<std::int64_t>(length, std::ssize(text));
    const std::int64_t size = pad ? length : taken;
    const std::int64_t zeros = size - taken;
    for (std::int64_t at = std::max<std::int64_t>(start, 1); at <= 26; ++at) {
      const std::int64_t i = at - start;  // index within the part
      if (i >= size) {
        break;
      }
      r[static_cast<std::size_t>(at - 1)] =
          i < zeros ? '0' : text[static_cast<std::size_t>(i - zeros)];
    }
  };
  // The participant number is not padded; the internal number is, and goes second so that it
  // wins where the two overlap.
  place(layout.AccountNumber, layout.AccountNumberLength, layout.AccountNumberIndexStart, false);
  place(internalNumber, layout.InternalNumberLength, layout.InternalNumberIndexStart, true);
  return r + std::to_string(CheckDigit(r, 0));
}

std::string GroupReference(const std::string& reference) {
  const auto part = [&reference](std::size_t from, std::size_t count) {
    return from < reference.size() ? reference.substr(from, count) : std::string();
  };
  std::string grouped = part(0, 2);
  for (std::size_t from = 2; from < 27; from += 5) {
    grouped += "  " + part(from, 5);
  }
  return grouped + "  ";
}

namespace {

// The split, or the message SplitAmount fails with.
std::variant<SplitAmountResult, std::string> SplitOrReason(double amount) {
  if (!std::isfinite(amount)) {
    return FormatGeneral(amount) + " : " + std::string(LoadResString(SAmountNotRepresentable));
  }
  // A minus sign would end the francs run and the amount would reach the code as positive.
  if (std::signbit(amount) && amount != 0.0) {
    return FormatPlainDecimal(amount) + " : " + std::string(LoadResString(SNegativeAmount));
  }
  std::string text = FormatGeneral(amount);
  // The general text turns to exponent form below 0.0001 and from 15 whole digits on (which
  // rounding can reach from just below 1e15). An exponent would end the francs run and read
  // a huge amount as a few francs: decide by the exponent's sign instead.
  if (const auto e = text.find_first_of("eE"); e != std::string::npos) {
    if (text[e + 1] == '-') {
      text = "0";  // no centime survives the cut to two decimals
    } else {
      return FormatPlainDecimal(amount) + " : " + std::string(LoadResString(SAmountTooLarge));
    }
  }
  std::size_t pos = 0;
  std::string francs = PadLeft(DigitRun(text, pos), 8);
  if (francs.size() > 8) {
    return francs + " : " + std::string(LoadResString(SAmountTooLarge));
  }
  ++pos;
  std::string centimes = DigitRun(text, pos).substr(0, 2);
  centimes.append(2 - centimes.size(), '0');
  return SplitAmountResult{francs, centimes};
}

}  // namespace

std::optional<SplitAmountResult> TrySplitAmount(double amount) {
  auto split = SplitOrReason(amount);
  if (auto* result = std::get_if<SplitAmountResult>(&split)) {
    return std::move(*result);
  }
  return std::nullopt;
}

SplitAmountResult SplitAmount(double amount) {
  auto split = SplitOrReason(amount);
  if (auto* reason = std::get_if<std::string>(&split)) {
    throw EBvrError(*reason);
  }
  return std::get<SplitAmountResult>(std::move(split));
}

bool CodingLineCarriesAmount(bool processingPrintsAmount, double amount) {
  return processingPrintsAmount && !(amount < 0);
}

std::string BuildCodingLine(bool noAmount, const std::string& reference, const std::string& account,
                            double amount) {
  std::string code = "04";
  if (!noAmount) {
    const SplitAmountResult split = SplitAmount(amount);
    code = "01" + split.francs + split.centimes;
  }
  code += std::to_string(CheckDigit(code, 0));
  return code + ">" + reference + "+ " + AccountToCodingForm(account) + ">";
}

}  // namespace bvr
