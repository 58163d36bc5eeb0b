#include "numbers/VYKBVRFunctions.h"

#include <cmath>
#include <cstdio>

#include "numbers/Conversions.h"
#include "strings/BvrError.h"
#include "strings/VYKBVRResources.h"

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The run of digits that starts at pos; pos ends on the first non-digit.
std::string DigitRun(const std::string& text, std::size_t& pos) {
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
  for (char ch : digits) {
    // A single character is a valid integer only when it is a digit.
    const std::int32_t d = StrToInt(std::string(1, ch));
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
  const auto take = [](const std::string& text, std::int32_t length) {
    return length <= 0 ? std::string() : text.substr(0, static_cast<std::size_t>(length));
  };
  const std::string a = take(layout.AccountNumber, layout.AccountNumberLength);
  std::string n = take(internalNumber, layout.InternalNumberLength);
  if (layout.InternalNumberLength > 0) {
    n = PadLeft(n, static_cast<std::size_t>(layout.InternalNumberLength));
  }
  std::string r(26, '0');
  // Places outside 1..26 are dropped: nothing is ever written outside the 26 places.
  const auto place = [&r](const std::string& part, std::int64_t start) {
    for (std::size_t i = 0; i < part.size(); ++i) {
      const std::int64_t at = start + static_cast<std::int64_t>(i);
      if (at >= 1 && at <= 26) {
        r[static_cast<std::size_t>(at - 1)] = part[i];
      }
    }
  };
  place(a, layout.AccountNumberIndexStart);
  place(n, layout.InternalNumberIndexStart);
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

SplitAmountResult SplitAmount(double amount) {
  if (!std::isfinite(amount)) {
    throw EBvrError(FormatGeneral(amount) + " : " +
                    std::string(LoadResString(SAmountNotRepresentable)));
  }
  // A minus sign would end the francs run and the amount would reach the code as positive.
  if (std::signbit(amount) && amount != 0.0) {
    throw EBvrError(FormatGeneral(amount) + " : " + std::string(LoadResString(SNegativeAmount)));
  }
  // The general text goes to exponent form for tiny and huge amounts; the digits are then
  // taken from a fixed-point rendering of the same 15 significant digits instead.
  std::string text = FormatGeneral(amount);
  if (text.find('E') != std::string::npos || text.find('e') != std::string::npos) {
    if (amount >= 1e15) {
      char buffer[400];
      std::snprintf(buffer, sizeof buffer, "%.0f", amount);
      throw EBvrError(std::string(buffer) + " : " + std::string(LoadResString(SAmountTooLarge)));
    }
    text = "0";  // below 0.0001: no centime survives the cut to two decimals
  }
  std::size_t pos = 0;
  std::string francs = PadLeft(DigitRun(text, pos), 8);
  if (francs.size() > 8) {
    throw EBvrError(francs + " : " + std::string(LoadResString(SAmountTooLarge)));
  }
  ++pos;
  std::string centimes = pos < text.size() ? DigitRun(text, pos) : std::string();
  centimes = centimes.substr(0, 2);
  centimes.append(2 - centimes.size(), '0');
  return {francs, centimes};
}

std::string BuildCodingLine(bool noAmount, const std::string& reference,
                            const std::string& account, double amount) {
  std::string code = "04";
  if (!noAmount) {
    const SplitAmountResult split = SplitAmount(amount);
    code = "01" + split.francs + split.centimes;
  }
  code += std::to_string(CheckDigit(code, 0));
  return code + ">" + reference + "+ " + AccountToCodingForm(account) + ">";
}

}  // namespace bvr
