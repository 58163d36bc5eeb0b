#include "qrbill/SwicoJson.h"

#include <algorithm>

namespace bvr::qr {

namespace {

using Json = nlohmann::json;

// "2019-05-12" from "190512"; anything else as it stands.
std::string IsoDate(const std::string& yymmdd) {
  if (yymmdd.size() != 6) {
    return yymmdd;
  }
  return "20" + yymmdd.substr(0, 2) + "-" + yymmdd.substr(2, 2) + "-" + yymmdd.substr(4, 2);
}

class Reader {
 public:
  explicit Reader(Problems& problems) : problems_(problems) {}

  // A string, or a number as written (the bill reader keeps fractions as binary text).
  std::string Value(const Json& value, const std::string& key) {
    if (value.is_string()) {
      return value.get<std::string>();
    }
    if (value.is_number_integer()) {
      return value.dump();
    }
    if (value.is_binary()) {
      return {value.get_binary().begin(), value.get_binary().end()};
    }
    problems_.push_back({"billing." + key, "chaîne ou nombre attendu"});
    return {};
  }

  // "YYMMDD" from "20YY-MM-DD"; the day itself is checked with the other values.
  std::string Date(const Json& value, const std::string& key) {
    const std::string iso = Value(value, key);
    const bool form = iso.size() == 10 && iso.starts_with("20") && iso[4] == '-' && iso[7] == '-';
    if (!form) {
      problems_.push_back({"billing." + key, "date AAAA-MM-JJ (20..) attendue"});
      return {};
    }
    return iso.substr(2, 2) + iso.substr(5, 2) + iso.substr(8, 2);
  }

  template <typename Item, typename Fill>
  std::vector<Item> List(const Json& value, const std::string& key, Fill fill) {
    std::vector<Item> list;
    if (!value.is_array()) {
      problems_.push_back({"billing." + key, "liste d'objets attendue"});
      return list;
    }
    for (const Json& entry : value) {
      if (!entry.is_object()) {
        problems_.push_back({"billing." + key, "liste d'objets attendue"});
        return {};
      }
      list.push_back(fill(entry));
    }
    return list;
  }

 private:
  Problems& problems_;
};

constexpr const char* kKeys[] = {"invoice",    "date",       "customer_reference",
                                 "vat_number", "vat_date",   "vat_period",
                                 "vat",        "import_tax", "conditions"};

}  // namespace

SwicoBilling SwicoFromJson(const Json& value, Problems& problems) {
  Reader read(problems);
  SwicoBilling fields;
  const auto field = [&](const char* key) -> const Json* {
    return value.contains(key) ? &value.at(key) : nullptr;
  };
  if (const Json* v = field("invoice"))
    fields.invoice = read.Value(*v, "invoice");
  if (const Json* v = field("date"))
    fields.date = read.Date(*v, "date");
  if (const Json* v = field("customer_reference")) {
    fields.customerReference = read.Value(*v, "customer_reference");
  }
  if (const Json* v = field("vat_number"))
    fields.vatNumber = read.Value(*v, "vat_number");
  if (const Json* v = field("vat_date"))
    fields.vatDate = read.Date(*v, "vat_date");
  if (const Json* v = field("vat_period")) {
    if (field("vat_date") || !v->is_object() || !v->contains("start") || !v->contains("end")) {
      problems.push_back(
          {"billing.vat_period", "{\"start\": …, \"end\": …} sans vat_date attendu"});
    } else {
      fields.vatDate =
          read.Date(v->at("start"), "vat_period.start") + read.Date(v->at("end"), "vat_period.end");
    }
  }
  const auto rate = [&](const char* key) {
    return [&read, key](const Json& entry) {
      return RateAmount{entry.contains("rate") ? read.Value(entry.at("rate"), key) : "",
                        entry.contains("amount") ? read.Value(entry.at("amount"), key) : ""};
    };
  };
  if (const Json* v = field("vat"))
    fields.vat = read.List<RateAmount>(*v, "vat", rate("vat"));
  if (const Json* v = field("import_tax")) {
    fields.importTax = read.List<RateAmount>(*v, "import_tax", rate("import_tax"));
  }
  if (const Json* v = field("conditions")) {
    fields.conditions = read.List<Condition>(*v, "conditions", [&](const Json& entry) {
      return Condition{
          entry.contains("discount") ? read.Value(entry.at("discount"), "conditions") : "",
          entry.contains("days") ? read.Value(entry.at("days"), "conditions") : ""};
    });
  }
  for (const auto& item : value.items()) {
    if (std::none_of(std::begin(kKeys), std::end(kKeys),
                     [&](const char* k) { return item.key() == k; })) {
      problems.push_back({"billing." + item.key(), "clé inconnue"});
    }
  }
  Problems values = CheckSwicoBilling(fields);
  problems.insert(problems.end(), values.begin(), values.end());
  return fields;
}

nlohmann::ordered_json SwicoToJson(const SwicoBilling& fields) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  const auto text = [&](const char* key, const std::string& value) {
    if (!value.empty()) {
      json[key] = value;
    }
  };
  text("invoice", fields.invoice);
  text("date", IsoDate(fields.date));
  text("customer_reference", fields.customerReference);
  text("vat_number", fields.vatNumber);
  if (fields.vatDate.size() == 12) {
    json["vat_period"] = {{"start", IsoDate(fields.vatDate.substr(0, 6))},
                          {"end", IsoDate(fields.vatDate.substr(6))}};
  } else {
    text("vat_date", IsoDate(fields.vatDate));
  }
  const auto rates = [&](const char* key, const std::vector<RateAmount>& list) {
    for (const RateAmount& item : list) {
      nlohmann::ordered_json entry = {{"rate", item.rate}};
      if (!item.amount.empty()) {
        entry["amount"] = item.amount;
      }
      json[key].push_back(entry);
    }
  };
  rates("vat", fields.vat);
  rates("import_tax", fields.importTax);
  for (const Condition& item : fields.conditions) {
    json["conditions"].push_back({{"discount", item.discount}, {"days", item.days}});
  }
  return json;
}

}  // namespace bvr::qr
