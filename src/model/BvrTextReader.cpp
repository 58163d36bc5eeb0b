// The layout file reader. The whole text is parsed into (path, value) entries before anything
// is applied, so a syntax error leaves the object as the defaults made it; the entries are
// then applied in file order through the published-property tables.
//
// The parser is a flat loop over the bytes: no recursion, nothing nested (a string list holds
// strings only, a set identifiers only), so no input can deepen the stack. A nested object
// section is refused at its "object" line with "'end' expected": the slip object has no
// children. Text after the final "end" is not read.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/BvrProperties.h"
#include "model/BvrText.h"
#include "strings/BvrError.h"
#include "strings/Windows1252.h"

namespace bvr {

namespace {

struct Value {
  enum class Kind : std::uint8_t { Integer, Identifier, String, Set, List };
  Kind kind = Kind::Integer;
  // Integer: the value, or nothing when it does not fit 32 bits.
  std::optional<std::int32_t> number;
  // Identifier: its name (ASCII); String: its UTF-8 text.
  std::string text;
  // Set: the identifiers; List: the strings.
  std::vector<std::string> items;
};

struct Entry {
  std::string path;  // as written, names joined by "."
  Value value;
  std::size_t at = 0;  // where the path starts in the text
};

// CR, LF and CR LF each end one line. Counted only when failing.
long long LineAt(std::string_view s, std::size_t at) {
  long long line = 1;
  for (std::size_t i = 0; i < at && i < s.size(); ++i) {
    if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))) {
      ++line;
    }
  }
  return line;
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexDigit(char c) {
  if (IsDigit(c)) {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

bool IsUnicodeScalar(std::uint32_t code) {
  return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  std::vector<Entry> Parse() {
    SkipBlanks();
    if (!SameTextAscii(Identifier(), "object")) {
      Fail("'object' expected");
    }
    // "object Name: Class", or "object Class" for an unnamed object. Neither is used.
    SkipBlanks();
    if (Identifier().empty()) {
      Fail("Identifier expected");
    }
    SkipBlanks();
    if (Is(':')) {
      ++pos_;
      SkipBlanks();
      if (Identifier().empty()) {
        Fail("Identifier expected");
      }
    }
    std::vector<Entry> entries;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) {
        Fail("'end' expected");
      }
      const std::string_view first = Identifier();
      if (first.empty()) {
        Fail("Identifier expected");
      }
      if (SameTextAscii(first, "end")) {
        return entries;
      }
      if (SameTextAscii(first, "object") || SameTextAscii(first, "inherited") ||
          SameTextAscii(first, "inline")) {
        Fail("'end' expected");
      }
      Entry entry;
      entry.path = first;
      entry.at = pos_ - first.size();
      for (;;) {
        SkipBlanks();
        if (!Is('.')) {
          break;
        }
        ++pos_;
        SkipBlanks();
        const std::string_view name = Identifier();
        if (name.empty()) {
          Fail("Identifier expected");
        }
        entry.path += '.';
        entry.path += name;
      }
      if (!Is('=')) {
        FailAfterLastToken("'=' expected");
      }
      ++pos_;
      entry.value = ParseValue();
      entries.push_back(std::move(entry));
    }
  }

 private:
  // Reported on the line where the offending token starts.
  [[noreturn]] void Fail(std::string_view what) const { FailAt(what, pos_); }

  // For a token missing at the end of a line: reported on that line, not on the next one,
  // whose first token was read in its place.
  [[noreturn]] void FailAfterLastToken(std::string_view what) const {
    std::size_t at = std::min(pos_, s_.size());
    while (at > 0 && IsBlank(s_[at - 1])) {
      --at;
    }
    FailAt(what, at);
  }

  [[noreturn]] void FailAt(std::string_view what, std::size_t at) const {
    const long long line = LineAt(s_, at);
    throw EBvrError(Fmt("%s on line %d").s(std::string(what)).d(line), line);
  }

  static bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u != 0 && u <= 32;
  }

  // An identifier followed by "." or "=": the start of a property line, never a value.
  bool StartsPath() const {
    std::size_t at = pos_;
    if (at >= s_.size() || !IsLetter(s_[at])) {
      return false;
    }
    while (at < s_.size() && (IsLetter(s_[at]) || IsDigit(s_[at]))) {
      ++at;
    }
    while (at < s_.size() && IsBlank(s_[at])) {
      ++at;
    }
    return at < s_.size() && (s_[at] == '.' || s_[at] == '=');
  }

  bool LineEndBetween(std::size_t from, std::size_t to) const {
    return s_.substr(from, to - from).find_first_of("\r\n") != std::string_view::npos;
  }

  bool AtEnd() const { return pos_ >= s_.size(); }
  bool Is(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

  // Bytes 1 to 32 separate tokens.
  void SkipBlanks() {
    while (pos_ < s_.size() && IsBlank(s_[pos_])) {
      ++pos_;
    }
  }

  // An ASCII identifier, or an empty view when none starts here.
  std::string_view Identifier() {
    if (AtEnd() || !IsLetter(s_[pos_])) {
      return {};
    }
    const std::size_t start = pos_;
    while (pos_ < s_.size() && (IsLetter(s_[pos_]) || IsDigit(s_[pos_]))) {
      ++pos_;
    }
    return s_.substr(start, pos_ - start);
  }

  Value ParseValue() {
    const std::size_t afterEquals = pos_;
    SkipBlanks();
    if (AtEnd()) {
      Fail("Invalid property value");
    }
    // A value may start on the next line, but a path there means this line lacks its value.
    if (LineEndBetween(afterEquals, pos_) && StartsPath()) {
      FailAt("Invalid property value", afterEquals);
    }
    Value value;
    const char c = s_[pos_];
    if (c == '\'' || c == '#') {
      value.kind = Value::Kind::String;
      value.text = StringValue();
    } else if (c == '-' || c == '$' || IsDigit(c)) {
      value.kind = Value::Kind::Integer;
      value.number = Integer();
    } else if (IsLetter(c)) {
      value.kind = Value::Kind::Identifier;
      value.text = Identifier();
    } else if (c == '[') {
      value.kind = Value::Kind::Set;
      ++pos_;
      SkipBlanks();
      if (Is(']')) {
        ++pos_;
        return value;
      }
      for (;;) {
        SkipBlanks();
        const std::string_view name = Identifier();
        if (name.empty()) {
          Fail("Identifier expected");
        }
        value.items.emplace_back(name);
        SkipBlanks();
        if (Is(',')) {
          ++pos_;
        } else if (Is(']')) {
          ++pos_;
          return value;
        } else {
          Fail("']' expected");
        }
      }
    } else if (c == '(') {
      value.kind = Value::Kind::List;
      ++pos_;
      for (;;) {
        SkipBlanks();
        if (Is(')')) {
          ++pos_;
          return value;
        }
        if (AtEnd()) {
          Fail("')' expected");
        }
        if (!Is('\'') && !Is('#')) {
          Fail("String expected");
        }
        value.items.push_back(StringValue());
      }
    } else {
      // Also floating-point values, binary data in braces and collections in angle
      // brackets: none belongs in a layout.
      Fail("Invalid property value");
    }
    return value;
  }

  struct DigitRun {
    std::uint64_t value = 0;
    bool overflow = false;  // the value passed the limit (it stops growing there)
  };

  // Decimal or hexadecimal digits from the current position, at least one.
  DigitRun Digits(bool hex, std::uint64_t limit) {
    DigitRun run;
    std::size_t digits = 0;
    for (; pos_ < s_.size(); ++pos_, ++digits) {
      const int d = hex ? HexDigit(s_[pos_]) : (IsDigit(s_[pos_]) ? s_[pos_] - '0' : -1);
      if (d < 0) {
        break;
      }
      if (!run.overflow) {
        run.value = run.value * (hex ? 16u : 10u) + static_cast<std::uint64_t>(d);
        run.overflow = run.value > limit;
      }
    }
    if (digits == 0) {
      Fail("Number expected");
    }
    return run;
  }

  // "-"? then decimal digits or "$" and hexadecimal digits. Hexadecimal runs over 32 bits as
  // they stand ($FFFFFFFF is -1). Nothing when the value does not fit 32 bits.
  std::optional<std::int32_t> Integer() {
    const bool negative = Is('-');
    if (negative) {
      ++pos_;
    }
    const bool hex = Is('$');
    if (hex) {
      ++pos_;
    }
    const DigitRun run = Digits(hex, 0xFFFFFFFFu);
    if (!hex && (Is('.') || Is('e') || Is('E'))) {
      Fail("Invalid property value");
    }
    if (run.overflow) {
      return std::nullopt;
    }
    auto value = static_cast<std::int64_t>(run.value);
    if (hex) {
      value = static_cast<std::int32_t>(static_cast<std::uint32_t>(run.value));
    }
    if (negative) {
      value = -value;
    }
    if (value < INT32_MIN || value > INT32_MAX) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
  }

  // The code after "#": decimal digits or "$" and hexadecimal digits; nothing when it is
  // not a Unicode scalar value.
  std::optional<std::uint32_t> CharCode() {
    const bool hex = Is('$');
    if (hex) {
      ++pos_;
    }
    const DigitRun run = Digits(hex, 0x10FFFF);
    const auto code = static_cast<std::uint32_t>(run.value);
    if (run.overflow || !IsUnicodeScalar(code)) {
      return std::nullopt;
    }
    return code;
  }

  // A string value: string tokens (quoted runs and #-codes with nothing between them) joined
  // by "+". Raw bytes above 127 inside quotes are Windows-1252, unless the value holds a
  // #-code above 127: then they are taken as code points. Deciding needs the whole value, so
  // a first pass checks it and a second one builds it.
  std::string StringValue() {
    const std::size_t startPos = pos_;
    const bool hasHighCode = StringPass(nullptr, false);
    const std::size_t endPos = pos_;
    pos_ = startPos;
    std::string out;
    out.reserve(endPos - startPos);
    StringPass(&out, hasHighCode);
    return out;
  }

  // Walks one string value from pos_, appending it to out when there is one. Returns whether
  // a #-code above 127 occurs.
  bool StringPass(std::string* out, bool rawBytesAreCodePoints) {
    bool hasHighCode = false;
    for (;;) {
      for (;;) {
        if (Is('\'')) {
          ++pos_;
          for (;;) {
            const std::size_t start = pos_;
            pos_ = s_.find_first_of("'\r\n", pos_);
            if (pos_ == std::string_view::npos) {
              pos_ = s_.size();
            }
            if (out != nullptr) {
              AppendRaw(*out, s_.substr(start, pos_ - start), rawBytesAreCodePoints);
            }
            if (!Is('\'')) {
              Fail("Invalid string constant");
            }
            ++pos_;
            if (!Is('\'')) {
              break;
            }
            ++pos_;  // a doubled apostrophe stands for one
            if (out != nullptr) {
              *out += '\'';
            }
          }
        } else if (Is('#')) {
          ++pos_;
          const std::optional<std::uint32_t> code = CharCode();
          if (!code) {
            Fail("Invalid string constant");
          }
          hasHighCode = hasHighCode || *code > 127;
          if (out != nullptr) {
            AppendUtf8(*out, *code);
          }
        } else {
          break;
        }
      }
      const std::size_t afterToken = pos_;
      SkipBlanks();
      if (!Is('+')) {
        pos_ = afterToken;
        return hasHighCode;
      }
      ++pos_;
      SkipBlanks();
      if (!Is('\'') && !Is('#')) {
        Fail("String expected");
      }
    }
  }

  static void AppendRaw(std::string& out, std::string_view raw, bool bytesAreCodePoints) {
    std::size_t i = 0;
    while (i < raw.size()) {
      std::size_t ascii = i;
      while (ascii < raw.size() && static_cast<unsigned char>(raw[ascii]) < 128) {
        ++ascii;
      }
      out.append(raw.data() + i, ascii - i);
      if (ascii == raw.size()) {
        return;
      }
      const auto byte = static_cast<std::uint8_t>(raw[ascii]);
      AppendUtf8(out, bytesAreCodePoints ? char32_t{byte} : Windows1252ToUnicode(byte));
      i = ascii + 1;
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

// Applies entries to the object: each path is followed through the published sub-objects,
// and the value stored through the last property's setter after its range is checked.
class Applier {
 public:
  Applier(TBvrProperties& root, std::string_view text) : root_(root), text_(text) {}

  void Apply(const Entry& entry) {
    std::vector<std::string_view> names;
    for (std::size_t start = 0;;) {
      const std::size_t dot = entry.path.find('.', start);
      names.push_back(std::string_view(entry.path).substr(start, dot - start));
      if (dot == std::string::npos) {
        break;
      }
      start = dot + 1;
    }
    TPersistent* object = &root_;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const bool last = i + 1 == names.size();
      if (i == 0 && SameTextAscii(names[0], "Name")) {
        // Read and ignored: the object keeps its own name, as with the header's.
        if (!last) {
          Fail(entry, "Invalid property path");
        }
        if (entry.value.kind != Value::Kind::String) {
          Fail(entry, "Invalid property value");
        }
        return;
      }
      const PropInfo* prop = object->FindProperty(names[i]);
      if (prop == nullptr) {
        if (i == 0 && ApplyComponentBase(entry, names[0], last)) {
          return;
        }
        Fail(entry, Fmt("Property %s does not exist").s(std::string(names[i])));
      }
      if (prop->kind == PropKind::Object) {
        if (last || prop->editObject == nullptr) {
          Fail(entry, "Invalid property value");
        }
        object = &prop->editObject(*object);
        continue;
      }
      if (prop->kind == PropKind::StringList) {
        // The lines live under "<name>.Strings".
        if (last) {
          Fail(entry, "Invalid property value");
        }
        if (!SameTextAscii(names[i + 1], "Strings")) {
          Fail(entry, Fmt("Property %s does not exist").s(std::string(names[i + 1])));
        }
        if (i + 2 != names.size()) {
          Fail(entry, "Invalid property path");
        }
        if (entry.value.kind != Value::Kind::List || prop->setList == nullptr) {
          Fail(entry, "Invalid property value");
        }
        prop->setList(*object, entry.value.items);
        return;
      }
      if (!last) {
        Fail(entry, "Invalid property path");
      }
      if (!Store(*object, *prop, entry.value)) {
        Fail(entry, "Invalid property value");
      }
    }
  }

 private:
  [[noreturn]] void Fail(const Entry& entry, const std::string& message) const {
    const std::string& name = root_.Name;
    throw EBvrError(
        Fmt("Error reading %s%s%s: %s").s(name).s(name.empty() ? "" : ".").s(entry.path).s(message),
        LineAt(text_, entry.at));
  }

  // The component base's design position, "Left" and "Top", which no table lists.
  bool ApplyComponentBase(const Entry& entry, std::string_view name, bool last) {
    const bool left = SameTextAscii(name, "Left");
    if (!left && !SameTextAscii(name, "Top")) {
      return false;
    }
    if (!last) {
      Fail(entry, "Invalid property path");
    }
    if (entry.value.kind != Value::Kind::Integer || !entry.value.number) {
      Fail(entry, "Invalid property value");
    }
    (left ? root_.DesignLeft : root_.DesignTop) = *entry.value.number;
    return true;
  }

  // Stores a plain value; false when it is of the wrong kind or out of range.
  static bool Store(TPersistent& object, const PropInfo& prop, const Value& v) {
    if (prop.kind == PropKind::String) {
      if (v.kind != Value::Kind::String || prop.setString == nullptr) {
        return false;
      }
      prop.setString(object, v.text);
      return true;
    }
    const std::optional<std::int64_t> ordinal = Ordinal(prop.kind, v);
    if (!ordinal || prop.setOrdinal == nullptr) {
      return false;
    }
    prop.setOrdinal(object, *ordinal);
    return true;
  }

  static std::optional<std::int64_t> Ordinal(PropKind kind, const Value& v) {
    using K = Value::Kind;
    switch (kind) {
      case PropKind::Integer:
        if (v.kind == K::Integer && v.number) {
          return *v.number;
        }
        return std::nullopt;
      case PropKind::Boolean:
        if (v.kind == K::Identifier && SameTextAscii(v.text, "True")) {
          return 1;
        }
        if (v.kind == K::Identifier && SameTextAscii(v.text, "False")) {
          return 0;
        }
        return std::nullopt;
      case PropKind::Color:
        if (v.kind == K::Identifier) {
          return bvrtext::ColorFromName(v.text);
        }
        if (v.kind == K::Integer && v.number) {
          return *v.number;
        }
        return std::nullopt;
      case PropKind::Charset:
        if (v.kind == K::Identifier) {
          return bvrtext::CharsetFromName(v.text);
        }
        if (v.kind == K::Integer && v.number && *v.number >= 0 && *v.number <= 255) {
          return *v.number;
        }
        return std::nullopt;
      case PropKind::Pitch:
        if (v.kind == K::Identifier) {
          return bvrtext::PitchFromName(v.text);
        }
        return std::nullopt;
      case PropKind::FontStyle: {
        if (v.kind != K::Set) {
          return std::nullopt;
        }
        std::int64_t bits = 0;
        for (const std::string& item : v.items) {
          bool known = false;
          for (const auto& style : bvrtext::kStyleNames) {
            if (SameTextAscii(item, style.name)) {
              bits |= style.bit;
              known = true;
            }
          }
          if (!known) {
            return std::nullopt;
          }
        }
        return bits;
      }
      case PropKind::Char: {
        // Exactly one character, one that the code page holds.
        if (v.kind != K::String || v.text.empty()) {
          return std::nullopt;
        }
        std::size_t pos = 0;
        const char32_t c = NextUtf8(v.text, pos);
        if (pos != v.text.size()) {
          return std::nullopt;
        }
        const std::optional<std::uint8_t> byte = UnicodeToWindows1252(c);
        if (!byte) {
          return std::nullopt;
        }
        return *byte;
      }
      default:
        return std::nullopt;
    }
  }

  TBvrProperties& root_;
  std::string_view text_;
};

}  // namespace

void TBvrProperties::LoadFromText(const std::string& text) {
  SetDefaults();
  const std::vector<Entry> entries = Parser(text).Parse();
  Applier applier(*this, text);
  for (const Entry& entry : entries) {
    applier.Apply(entry);
  }
  UpdateZones();
}

}  // namespace bvr
