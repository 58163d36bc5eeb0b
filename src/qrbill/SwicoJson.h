// The S1 billing information in a bill's JSON form, structured:
//   "billing": {"invoice": "10201409", "date": "2019-05-12", "customer_reference": "1400.000-53",
//               "vat_number": "106017086", "vat_date": "2018-05-08"
//                 (or "vat_period": {"start": "2018-02-26", "end": "2018-02-27"}),
//               "vat": [{"rate": "7.7"}] (or [{"rate": "3.7", "amount": "400.19"}, …]),
//               "import_tax": [{"rate": "2.5", "amount": "14.85"}],
//               "conditions": [{"discount": "2", "days": 10}, {"discount": "0", "days": 30}]}
// Dates ISO (20YY), rates and amounts strings or numbers as written. Internal to the library.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "qrbill/Problem.h"
#include "qrbill/SwicoBilling.h"

namespace bvr::qr {

// The fields of a "billing" object, each fault of form noted under "billing.KEY".
SwicoBilling SwicoFromJson(const nlohmann::json& value, Problems& problems);

// The structured form of fields read from a text.
nlohmann::ordered_json SwicoToJson(const SwicoBilling& fields);

}  // namespace bvr::qr
