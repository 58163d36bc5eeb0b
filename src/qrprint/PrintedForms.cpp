#include "qrprint/PrintedForms.h"

#include "qrbill/Amount.h"

namespace bvr::qr {

namespace {
std::string Compact(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') {
      out += c;
    }
  }
  return out;
}

// Blocks of `size` characters from the right end of the first `head` ones: "2" + blocks.
std::string Grouped(const std::string& text, std::size_t head, std::size_t size) {
  std::string out = text.substr(0, head);
  for (std::size_t i = head; i < text.size(); i += size) {
    if (!out.empty()) {
      out += ' ';
    }
    out += text.substr(i, size);
  }
  return out;
}
}  // namespace

std::string PrintedIban(std::string_view account) {
  return Grouped(Compact(account), 0, 4);
}

std::string PrintedReference(ReferenceType type, std::string_view reference) {
  const std::string compact = Compact(reference);
  switch (type) {
    case ReferenceType::QRR:
      // 27 digits: two in front so that the remaining 25 make five blocks of five.
      return Grouped(compact, compact.size() % 5, 5);
    case ReferenceType::SCOR:
      return Grouped(compact, 0, 4);
    case ReferenceType::NON:
      break;
  }
  return {};
}

std::string PrintedAmount(std::string_view amount) {
  if (amount.empty()) {
    return {};
  }
  const std::string full = AmountWithTwoDecimals(amount);
  const std::size_t point = full.find('.');
  const std::string whole = full.substr(0, point);
  std::string out;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) {
      out += ' ';
    }
    out += whole[i];
  }
  return out + (point == std::string::npos ? std::string() : full.substr(point));
}

std::vector<AddressLine> AddressLines(const Address& address) {
  std::vector<AddressLine> lines;
  auto add = [&lines](const char* field, std::string line) {
    if (!line.empty()) {
      lines.push_back({field, std::move(line)});
    }
  };
  add("name", address.name);
  add("street", address.street.empty() || address.number.empty()
                    ? address.street + address.number
                    : address.street + " " + address.number);
  std::string town = address.postcode.empty() || address.town.empty()
                         ? address.postcode + address.town
                         : address.postcode + " " + address.town;
  if (!address.country.empty() && address.country != "CH") {
    town = address.country + "-" + town;
  }
  add("town", town);
  return lines;
}

}  // namespace bvr::qr
