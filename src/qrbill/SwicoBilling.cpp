#include "qrbill/SwicoBilling.h"

#include <algorithm>
#include <utility>

namespace bvr::qr {

namespace {

constexpr std::string_view kPrefix = "//S1";

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "7.7", "400", "553.39": digits, optionally a point and digits.
bool IsDecimal(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) {
    return IsDigits(text);
  }
  return IsDigits(text.substr(0, point)) && IsDigits(text.substr(point + 1));
}

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// YYMMDD of the 21st century, a day that exists.
bool IsDate(std::string_view text) {
  if (text.size() != 6 || !IsDigits(text)) {
    return false;
  }
  const int year = 2000 + (text[0] - '0') * 10 + (text[1] - '0');
  const int month = (text[2] - '0') * 10 + (text[3] - '0');
  const int day = (text[4] - '0') * 10 + (text[5] - '0');
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) {
    return false;
  }
  return day <= kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) {
      return parts;
    }
    start = end + 1;
  }
}

// "3.7:400.19;7.7:553.39" (or "7.7" alone where single is allowed).
std::vector<RateAmount> RateList(std::string_view text, bool single) {
  std::vector<RateAmount> list;
  if (single && text.find(':') == std::string_view::npos) {
    list.push_back({std::string(text), {}});
    return list;
  }
  for (std::string_view item : Split(text, ';')) {
    const std::size_t colon = item.find(':');
    list.push_back({std::string(item.substr(0, colon)), colon == std::string_view::npos
                                                            ? std::string()
                                                            : std::string(item.substr(colon + 1))});
  }
  return list;
}

std::vector<Condition> ConditionList(std::string_view text) {
  std::vector<Condition> list;
  for (std::string_view item : Split(text, ';')) {
    const std::size_t colon = item.find(':');
    list.push_back({std::string(item.substr(0, colon)), colon == std::string_view::npos
                                                            ? std::string()
                                                            : std::string(item.substr(colon + 1))});
  }
  return list;
}

std::string Escaped(const std::string& value) {
  std::string text;
  for (char c : value) {
    if (c == '/' || c == '\\') {
      text += '\\';
    }
    text += c;
  }
  return text;
}

std::string RateText(const std::vector<RateAmount>& list) {
  std::string text;
  for (const RateAmount& item : list) {
    text += (text.empty() ? "" : ";") + item.rate + (item.amount.empty() ? "" : ":" + item.amount);
  }
  return text;
}

std::string ConditionText(const std::vector<Condition>& list) {
  std::string text;
  for (const Condition& item : list) {
    text += (text.empty() ? "" : ";") + item.discount + ":" + item.days;
  }
  return text;
}

// The text after "//S1" cut at its unescaped slashes, escapes resolved. A backslash before
// anything but "/" or "\" is a fault, reported once.
std::vector<std::string> Tokens(std::string_view rest, Problems& problems) {
  std::vector<std::string> tokens;
  bool badEscape = false;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '/') {
      tokens.emplace_back();
    } else if (c == '\\' && i + 1 < rest.size() && (rest[i + 1] == '/' || rest[i + 1] == '\\')) {
      tokens.back() += rest[++i];
    } else {
      badEscape = badEscape || c == '\\';
      tokens.back() += c;
    }
  }
  if (badEscape) {
    problems.push_back({"billing", "« \\ » s'écrit « \\\\ » et « / » « \\/ » dans une valeur"});
  }
  return tokens;
}

// The tags known, ascending.
constexpr std::string_view kTags[] = {"10", "11", "20", "30", "31", "32", "33", "40"};

void Assign(SwicoBilling& fields, std::string_view tag, const std::string& value) {
  if (tag == "10")
    fields.invoice = value;
  if (tag == "11")
    fields.date = value;
  if (tag == "20")
    fields.customerReference = value;
  if (tag == "30")
    fields.vatNumber = value;
  if (tag == "31")
    fields.vatDate = value;
  if (tag == "32")
    fields.vat = RateList(value, /*single=*/true);
  if (tag == "33")
    fields.importTax = RateList(value, /*single=*/false);
  if (tag == "40")
    fields.conditions = ConditionList(value);
}

void CheckRates(const std::vector<RateAmount>& list, const std::string& path, bool single,
                Problems& problems) {
  const bool alone = single && list.size() == 1 && list.front().amount.empty();
  for (const RateAmount& item : list) {
    if (!IsDecimal(item.rate) || (!alone && !IsDecimal(item.amount))) {
      problems.push_back({path, alone || !single ? "taux:montant;… attendu (« 7.7:16.15 »)"
                                                 : "un taux (« 7.7 ») ou taux:montant;… attendu"});
      return;
    }
  }
}

}  // namespace

bool IsSwicoS1(std::string_view billing) {
  return billing.starts_with("//S1/");
}

SwicoReading ParseSwicoBilling(std::string_view text) {
  SwicoReading reading;
  if (!IsSwicoS1(text)) {
    reading.problems.push_back({"billing", "« //S1/ » attendu au début"});
    return reading;
  }
  const std::vector<std::string> tokens = Tokens(text.substr(kPrefix.size()), reading.problems);
  std::string_view last;
  for (std::size_t i = 0; i < tokens.size(); i += 2) {
    const std::string& tag = tokens[i];
    const std::string value = i + 1 < tokens.size() ? tokens[i + 1] : std::string();
    const auto known = std::find(std::begin(kTags), std::end(kTags), tag);
    if (known == std::end(kTags)) {
      reading.problems.push_back({"billing", "balise inconnue « " + tag + " »"});
      continue;
    }
    if (!last.empty() && *known <= last) {
      reading.problems.push_back({"billing", *known == last
                                                 ? "balise " + tag + " répétée"
                                                 : "balise " + tag + " après " + std::string(last) +
                                                       " : les balises vont en ordre croissant"});
      continue;
    }
    last = *known;
    Assign(reading.fields, tag, value);
  }
  Problems values = CheckSwicoBilling(reading.fields);
  reading.problems.insert(reading.problems.end(), values.begin(), values.end());
  return reading;
}

Problems CheckSwicoBilling(const SwicoBilling& fields) {
  Problems problems;
  if (!fields.date.empty() && !IsDate(fields.date)) {
    problems.push_back({"billing.date", "date AAMMJJ attendue"});
  }
  if (!fields.vatNumber.empty() && (fields.vatNumber.size() != 9 || !IsDigits(fields.vatNumber))) {
    problems.push_back({"billing.vat_number", "les 9 chiffres de l'IDE attendus"});
  }
  const std::string& d = fields.vatDate;
  if (!d.empty()) {
    const bool date = IsDate(d);
    const bool period = d.size() == 12 && IsDate(d.substr(0, 6)) && IsDate(d.substr(6)) &&
                        d.substr(0, 6) <= d.substr(6);
    if (!date && !period) {
      problems.push_back({"billing.vat_date", "date AAMMJJ ou période AAMMJJAAMMJJ attendue"});
    }
  }
  CheckRates(fields.vat, "billing.vat", /*single=*/true, problems);
  CheckRates(fields.importTax, "billing.import_tax", /*single=*/false, problems);
  for (const Condition& item : fields.conditions) {
    if (!IsDecimal(item.discount) || !IsDigits(item.days)) {
      problems.push_back({"billing.conditions", "escompte:jours;… attendu (« 2:10;0:30 »)"});
      break;
    }
  }
  return problems;
}

std::string WriteSwicoBilling(const SwicoBilling& fields) {
  const std::pair<std::string_view, std::string> values[] = {
      {"10", Escaped(fields.invoice)},
      {"11", fields.date},
      {"20", Escaped(fields.customerReference)},
      {"30", fields.vatNumber},
      {"31", fields.vatDate},
      {"32", Escaped(RateText(fields.vat))},
      {"33", Escaped(RateText(fields.importTax))},
      {"40", Escaped(ConditionText(fields.conditions))}};
  std::string text;
  for (const auto& [tag, value] : values) {
    if (!value.empty()) {
      text += "/" + std::string(tag) + "/" + value;
    }
  }
  return text.empty() ? text : std::string(kPrefix) + text;
}

}  // namespace bvr::qr
