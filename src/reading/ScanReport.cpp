#include "reading/ScanReport.h"

#include <nlohmann/json.hpp>

#include <cmath>

#include "qrbill/BillJson.h"

namespace bvr::reading {

namespace {

using Json = nlohmann::ordered_json;

double Tenth(double mm) {
  return std::round(mm * 10) / 10;
}

std::string Dump(const Json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string AddressLine(const qr::Address& a) {
  std::string line = a.name;
  const auto add = [&](const std::string& part, const char* separator) {
    if (!part.empty()) {
      line += (line.empty() ? "" : separator) + part;
    }
  };
  add(a.street, ", ");
  add(a.number, " ");
  add(a.postcode, ", ");
  add(a.town, " ");
  add(a.country, ", ");
  return line;
}

std::string Quoted(const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos) {
    return cell;
  }
  std::string quoted = "\"";
  for (char c : cell) {
    quoted += c == '"' ? "\"\"" : std::string(1, c);
  }
  return quoted + "\"";
}

std::string ProblemsLine(const ScannedCode& code) {
  if (!code.swiss) {
    return "not a Swiss QR Code";
  }
  std::string line;
  for (const qr::Problem& problem : code.problems) {
    line += (line.empty() ? "" : "; ") + problem.Text();
  }
  return line;
}

}  // namespace

std::string CodeJson(const ScannedCode& code, const std::string& file) {
  Json json = {{"file", file}, {"page", code.page}};
  json["code"] = {{"x", Tenth(code.place.x)},
                  {"y", Tenth(code.place.y)},
                  {"size", Tenth(code.place.size)},
                  {"rotation", code.place.rotation},
                  {"dpi", code.place.dpi}};
  if (code.place.dpiAssumed) {
    json["code"]["dpi_assumed"] = true;
  }
  json["kind"] = code.swiss ? "bill" : "not a Swiss QR Code";
  if (code.bill) {
    const Json bill = Json::parse(qr::WriteBillJson(*code.bill));
    for (auto it = bill.begin(); it != bill.end(); ++it) {
      if (it.key() != "language") {  // not in the code: the reader's default says nothing
        json[it.key()] = it.value();
      }
    }
  } else {
    json["text"] = code.text;
  }
  json["problems"] = Json::array();
  for (const qr::Problem& problem : code.problems) {
    json["problems"].push_back({{"field", problem.field}, {"message", problem.message}});
  }
  return Dump(json);
}

std::string PrintJson(const BillPrint& bill, const std::string& file) {
  Json checks = Json::array();
  for (const Measure& m : bill.measures) {
    checks.push_back(
        {{"check", m.check}, {"measured", m.measured}, {"required", m.required}, {"pass", m.pass}});
  }
  return Dump(
      {{"file", file}, {"page", bill.page}, {"pass", bill.Pass()}, {"checks", std::move(checks)}});
}

std::string CsvHeader() {
  return "account,creditor,amount,currency,reference,debtor,message,billing,file,page,problems";
}

std::string CodeCsv(const ScannedCode& code, const std::string& file) {
  const qr::Bill bill = code.bill.value_or(qr::Bill{});
  const std::string cells[] = {bill.account,
                               AddressLine(bill.creditor),
                               bill.amount,
                               bill.currency,
                               bill.reference,
                               bill.debtor ? AddressLine(*bill.debtor) : "",
                               code.bill ? bill.message : "",
                               bill.billing,
                               file,
                               std::to_string(code.page),
                               ProblemsLine(code)};
  std::string row;
  for (const std::string& cell : cells) {
    row += (row.empty() ? "" : ",") + Quoted(cell);
  }
  return row;
}

}  // namespace bvr::reading
