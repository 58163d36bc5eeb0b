#include <nlohmann/json.hpp>

#include "qrbill/BillJson.h"
#include "qrbill/SwicoBilling.h"
#include "qrbill/SwicoJson.h"

namespace bvr::qr {

namespace {

using Json = nlohmann::ordered_json;

Json AddressJson(const Address& a) {
  Json json = Json::object();
  const std::pair<const char*, const std::string*> keys[] = {
      {"name", &a.name},         {"street", &a.street}, {"number", &a.number},
      {"postcode", &a.postcode}, {"town", &a.town},     {"country", &a.country}};
  for (const auto& [key, text] : keys) {
    if (!text->empty()) {
      json[key] = *text;
    }
  }
  return json;
}

Json BillingJson(const std::string& billing) {
  if (IsSwicoS1(billing)) {
    const SwicoReading reading = ParseSwicoBilling(billing);
    if (reading.problems.empty() && WriteSwicoBilling(reading.fields) == billing) {
      return SwicoToJson(reading.fields);
    }
  }
  return billing;
}

}  // namespace

std::string WriteBillJson(const Bill& bill) {
  Json json = Json::object();
  json["account"] = bill.account;
  json["creditor"] = AddressJson(bill.creditor);
  if (!bill.amount.empty()) {
    json["amount"] = bill.amount;
  }
  json["currency"] = bill.currency;
  if (bill.debtor) {
    json["debtor"] = AddressJson(*bill.debtor);
  }
  if (!bill.reference.empty()) {
    json["reference"] = bill.reference;
  }
  if (!bill.message.empty()) {
    json["message"] = bill.message;
  }
  if (!bill.billing.empty()) {
    json["billing"] = BillingJson(bill.billing);
  }
  if (!bill.alternatives.empty()) {
    json["alternatives"] = bill.alternatives;
  }
  json["language"] = std::string(LanguageCode(bill.language));
  // Invalid UTF-8 is written replaced rather than refused: the file must always be saved.
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace bvr::qr
