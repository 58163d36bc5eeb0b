// The persistent-object base of the slip model and its published-property table.
// Every class lists its published properties once, in declaration order, with their kind,
// default and accessors; the layout file's writer and reader both walk that one table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bvr {

class TPersistent;

enum class PropKind {
  Integer,     // int32
  Boolean,     // 0 / 1
  Color,       // TColor, int32
  Charset,     // 0..255
  FontStyle,   // set of TFontStyle bits
  Pitch,       // TFontPitch
  String,      // UTF-8 text
  Char,        // one Windows-1252 character (ordinal 0..255)
  StringList,  // ordered lines, written under "<name>.Strings"
  Object,      // a published sub-object
};

struct PropInfo {
  std::string_view name;
  PropKind kind;
  // Ordinal kinds: the declared default, when there is one (a value equal to it is not
  // written). Strings are not written empty unless storedWhenEmpty; lists are never written
  // empty.
  bool hasDefault = false;
  std::int64_t defaultValue = 0;
  // False for a published property that is never written (the font's Size).
  bool stored = true;
  // A string without an empty default (a font's name): written even when empty, so that
  // reading the file back gives the empty string rather than the object's default.
  bool storedWhenEmpty = false;

  std::int64_t (*getOrdinal)(const TPersistent&) = nullptr;
  void (*setOrdinal)(TPersistent&, std::int64_t) = nullptr;
  std::string (*getString)(const TPersistent&) = nullptr;
  void (*setString)(TPersistent&, const std::string&) = nullptr;
  const std::vector<std::string>& (*getList)(const TPersistent&) = nullptr;
  void (*setList)(TPersistent&, const std::vector<std::string>&) = nullptr;
  const TPersistent& (*getObject)(const TPersistent&) = nullptr;
  TPersistent& (*editObject)(TPersistent&) = nullptr;

  // Should the writer put this property into the file for this object?
  bool IsStored(const TPersistent& owner) const;
};

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  virtual std::string_view ClassName() const = 0;

  // Copies the values of source. The base fails with "Cannot assign a %s to a %s".
  virtual void Assign(const TPersistent& source);

  // Published properties in declaration order.
  virtual std::span<const PropInfo> Properties() const = 0;

  // Case-insensitive lookup by name; nullptr when there is no such published property.
  const PropInfo* FindProperty(std::string_view name) const;

 protected:
  [[noreturn]] void AssignError(const TPersistent& source) const;
};

bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace bvr
