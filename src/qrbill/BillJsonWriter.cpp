#include <nlohmann/json.hpp>

#include "qrbill/BillJson.h"

namespace bvr::qr {

namespace {

using Json = nlohmann::ordered_json;

Json AddressJson(const Address& a) {
  return Json{{"name", a.name},         {"street", a.street}, {"number", a.number},
              {"postcode", a.postcode}, {"town", a.town},     {"country", a.country}};
}

void PutIfAny(Json& json, const char* key, const std::string& value) {
  if (!value.empty()) {
    json[key] = value;
  }
}

}  // namespace

std::string WriteBillJson(const Bill& bill) {
  Json json;
  json["account"] = bill.account;
  json["creditor"] = AddressJson(bill.creditor);
  PutIfAny(json, "amount", bill.amount);  // a string: the amount as typed, never a double
  json["currency"] = bill.currency;
  if (bill.debtor) {
    json["debtor"] = AddressJson(*bill.debtor);
  }
  PutIfAny(json, "reference", bill.reference);
  PutIfAny(json, "message", bill.message);
  PutIfAny(json, "billing", bill.billing);
  if (!bill.alternatives.empty()) {
    json["alternatives"] = bill.alternatives;
  }
  json["language"] = std::string(LanguageCode(bill.language));
  // Invalid UTF-8 is written replaced rather than refused: the file must always be saved.
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace bvr::qr
