#include "qrbill/BillJson.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>

#include "qrbill/Mod97.h"
#include "qrbill/SwicoJson.h"
#include "qrbill/Utf8.h"
#include "strings/BvrError.h"
#include "strings/MessageText.h"

namespace bvr::qr {

namespace {

using Json = nlohmann::json;

// Builds the document as nlohmann does, except that a number with a fraction or an
// exponent is kept as the text it was written as (a binary value, which JSON text cannot
// produce otherwise), so that amounts are never rounded through a double; and notes keys that
// an object repeats, which the document would silently reduce to the last.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text), dom_(document_, false) {}

  bool null() { return dom_.null(); }
  bool boolean(bool value) { return dom_.boolean(value); }
  bool number_integer(Json::number_integer_t value) { return dom_.number_integer(value); }
  bool number_unsigned(Json::number_unsigned_t value) { return dom_.number_unsigned(value); }
  bool number_float(Json::number_float_t, const std::string& written) {
    Json::binary_t raw(std::vector<std::uint8_t>(written.begin(), written.end()));
    return dom_.binary(raw);
  }
  bool string(std::string& value) { return dom_.string(value); }
  bool binary(Json::binary_t& value) { return dom_.binary(value); }
  bool start_object(std::size_t size) {
    open_.emplace_back();
    return dom_.start_object(size);
  }
  bool key(std::string& name) {
    if (!open_.back().keys.insert(name).second) {
      repeated_.push_back(PathTo(name));
    }
    open_.back().key = name;
    return dom_.key(name);
  }
  bool end_object() {
    open_.pop_back();
    return dom_.end_object();
  }
  bool start_array(std::size_t size) {
    open_.emplace_back();
    return dom_.start_array(size);
  }
  bool end_array() {
    open_.pop_back();
    return dom_.end_array();
  }
  bool parse_error(std::size_t byte, const std::string&, const nlohmann::detail::exception& e) {
    error_ = Fmt("JSON mal formé, %s : %s").s(Where(byte)).s(EscapedForMessage(Detail(e.what())));
    return false;
  }

  // "ligne L, colonne C" of the byte at offset (counted from 0).
  std::string WhereByte(std::size_t offset) const { return Where(offset + 1); }

  Json& Document() { return document_; }
  const std::string& Error() const { return error_; }
  const std::vector<std::string>& Repeated() const { return repeated_; }

 private:
  // "ligne L, colonne C" of the byte the parser stopped at (counted from 1).
  std::string Where(std::size_t byte) const {
    const std::size_t at = std::min(byte == 0 ? 0 : byte - 1, text_.size());
    const std::string_view before = text_.substr(0, at);
    const std::size_t lineStart = before.rfind('\n') + 1;  // npos + 1 == 0
    const std::size_t line =
        1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    std::size_t column = 1;
    for (std::size_t i = lineStart; i < at; ++i) {
      column += (static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80 ? 1 : 0;
    }
    return "ligne " + std::to_string(line) + ", colonne " + std::to_string(column);
  }
  // "creditor.name": the enclosing objects' keys, then the repeated one.
  std::string PathTo(const std::string& name) const {
    std::string path;
    for (std::size_t i = 0; i + 1 < open_.size(); ++i) {
      if (!open_[i].key.empty()) {
        path += open_[i].key + ".";
      }
    }
    return path + name;
  }
  static std::string Detail(std::string_view what) {
    const std::size_t start = what.find("parse error");
    const std::size_t colon = what.find(": ", start == std::string_view::npos ? 0 : start);
    return std::string(colon == std::string_view::npos ? what : what.substr(colon + 2));
  }

  std::string_view text_;
  Json document_;
  nlohmann::detail::json_sax_dom_parser<Json> dom_;
  struct Open {  // one per open object or array (whose keys stay empty)
    std::set<std::string> keys;
    std::string key;  // the latest key
  };
  std::vector<Open> open_;
  std::vector<std::string> repeated_;
  std::string error_;
};

class Fields {
 public:
  explicit Fields(Problems& problems) : problems_(problems) {}

  // A key may hold any character written as \uXXXX: echoed escaped.
  void Wrong(const std::string& path, const std::string& message) {
    problems_.push_back({EscapedForMessage(path), message});
  }

  std::string Text(const Json& value, const std::string& path) {
    if (value.is_null()) {
      return {};
    }
    if (!value.is_string()) {
      Wrong(path, "chaîne de caractères attendue");
      return {};
    }
    return value.get<std::string>();
  }

  // A string, an integer, or a number with a fraction as written.
  std::string Amount(const Json& value) {
    if (value.is_binary()) {
      const Json::binary_t& raw = value.get_binary();
      return std::string(raw.begin(), raw.end());
    }
    if (value.is_number_integer()) {
      return value.dump();
    }
    if (value.is_string() || value.is_null()) {
      return Text(value, "amount");
    }
    Wrong("amount", "chaîne ou nombre attendu");
    return {};
  }

  std::optional<Address> AddressOf(const Json& value, const std::string& path) {
    if (value.is_null()) {
      return std::nullopt;
    }
    if (!value.is_object()) {
      Wrong(path, "objet attendu (name, street, number, postcode, town, country)");
      return std::nullopt;
    }
    Address a;
    const std::pair<const char*, std::string*> keys[] = {
        {"name", &a.name},         {"street", &a.street}, {"number", &a.number},
        {"postcode", &a.postcode}, {"town", &a.town},     {"country", &a.country}};
    for (const auto& [key, text] : keys) {
      if (value.contains(key)) {
        *text = Text(value.at(key), path + "." + key);
      }
    }
    for (const auto& item : value.items()) {
      const std::string& key = item.key();
      if (std::none_of(std::begin(keys), std::end(keys),
                       [&](const auto& k) { return key == k.first; })) {
        Wrong(path + "." + key, "clé inconnue");
      }
    }
    return a;
  }

  // The raw text, or the S1 fields as an object written as their text.
  std::string Billing(const Json& value) {
    if (value.is_object()) {
      return WriteSwicoBilling(SwicoFromJson(value, problems_));
    }
    return Text(value, "billing");
  }

  std::vector<std::string> List(const Json& value, const std::string& path) {
    std::vector<std::string> list;
    if (value.is_null()) {
      return list;
    }
    if (!value.is_array()) {
      Wrong(path, "liste de chaînes attendue");
      return list;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
      list.push_back(Text(value[i], path + "[" + std::to_string(i) + "]"));
    }
    return list;
  }

 private:
  Problems& problems_;
};

constexpr const char* kKeys[] = {"account",   "creditor", "amount",  "currency",     "debtor",
                                 "reference", "message",  "billing", "alternatives", "language"};

Bill BillOf(const Json& doc, Fields& fields) {
  static const Json kAbsent;
  const auto at = [&](const char* key) -> const Json& {
    return doc.contains(key) ? doc.at(key) : kAbsent;
  };
  Bill bill;
  bill.account = fields.Text(at("account"), "account");
  bill.creditor = fields.AddressOf(at("creditor"), "creditor").value_or(Address{});
  bill.amount = fields.Amount(at("amount"));
  bill.currency = fields.Text(at("currency"), "currency");
  bill.debtor = fields.AddressOf(at("debtor"), "debtor");
  bill.reference = fields.Text(at("reference"), "reference");
  bill.referenceType = ReferenceTypeOf(bill.reference);
  bill.message = fields.Text(at("message"), "message");
  bill.billing = fields.Billing(at("billing"));
  bill.alternatives = fields.List(at("alternatives"), "alternatives");
  const std::string language = fields.Text(at("language"), "language");
  if (!language.empty()) {
    const std::optional<Language> known = LanguageFromCode(language);
    if (!known) {
      fields.Wrong("language", "fr, de, it ou en attendu");
    }
    bill.language = known.value_or(Language::fr);
  }
  for (const auto& item : doc.items()) {
    const std::string& key = item.key();
    if (std::none_of(std::begin(kKeys), std::end(kKeys), [&](const char* k) { return key == k; })) {
      fields.Wrong(key, "clé inconnue");
    }
  }
  return bill;
}

}  // namespace

ReferenceType ReferenceTypeOf(const std::string& reference) {
  const std::string compact = Compact(reference);
  if (compact.empty()) {
    return ReferenceType::NON;
  }
  return compact.rfind("RF", 0) == 0 ? ReferenceType::SCOR : ReferenceType::QRR;
}

namespace {

// The encoding of a JSON text in UTF-16 or UTF-32, told by its byte-order mark or, without
// one, by where the NUL bytes of its first (ASCII) character lie; nullptr for anything else.
const char* WideEncoding(std::string_view text) {
  const auto at = [&](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0x100u;
  };
  if (at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0) {
    return "UTF-32 (little-endian)";
  }
  if (at(0) == 0 && at(1) == 0 && at(2) == 0xFE && at(3) == 0xFF) {
    return "UTF-32 (big-endian)";
  }
  if (at(0) == 0xFF && at(1) == 0xFE) {
    return "UTF-16 (little-endian)";
  }
  if (at(0) == 0xFE && at(1) == 0xFF) {
    return "UTF-16 (big-endian)";
  }
  if (text.size() >= 4 && at(0) == 0 && at(1) == 0 && at(2) == 0 && at(3) != 0) {
    return "UTF-32 (big-endian)";
  }
  if (text.size() >= 4 && at(0) != 0 && at(1) == 0 && at(2) == 0 && at(3) == 0) {
    return "UTF-32 (little-endian)";
  }
  if (text.size() >= 2 && at(0) == 0 && at(1) != 0) {
    return "UTF-16 (big-endian)";
  }
  if (text.size() >= 2 && at(0) != 0 && at(1) == 0) {
    return "UTF-16 (little-endian)";
  }
  return nullptr;
}

}  // namespace

BillReading ReadBillJson(std::string_view text) {
  if (const char* wide = WideEncoding(text)) {
    throw EBvrError(Fmt("JSON : le fichier est en %s, enregistrez-le en UTF-8").s(wide));
  }
  Reader reader(text);
  // The parser would stop at a NUL and take what follows for the end of the text.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    throw EBvrError(Fmt("JSON mal formé, %s : octet NUL").s(reader.WhereByte(nul)));
  }
  if (!Json::sax_parse(text, &reader)) {
    throw EBvrError(reader.Error());
  }
  if (!reader.Document().is_object()) {
    throw EBvrError("JSON : la facture doit être un objet { … }");
  }
  BillReading reading;
  for (const std::string& key : reader.Repeated()) {
    reading.problems.push_back({EscapedForMessage(key), "clé répétée"});
  }
  Fields fields(reading.problems);
  reading.bill = BillOf(reader.Document(), fields);
  return reading;
}

}  // namespace bvr::qr
