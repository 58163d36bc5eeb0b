// The layout file writer: the object's published properties, depth first in publishing order,
// one "path = value" line each, in 7-bit text with CR LF line ends.
#include <cstdint>
#include <string>

#include "model/BvrProperties.h"
#include "model/BvrText.h"
#include "strings/Windows1252.h"

namespace bvr {

namespace {

using bvrtext::kStringLineChars;

constexpr std::string_view kEol = "\r\n";

bool IsIdentifier(std::string_view s) {
  if (s.empty()) {
    return false;
  }
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !(digit && i > 0)) {
      return false;
    }
  }
  return true;
}

std::size_t CodePointCount(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    NextUtf8(text, pos);
  }
  return count;
}

class Writer {
 public:
  std::string Take() { return std::move(out_); }

  void Header(const TBvrProperties& object) {
    out_ += "object ";
    // A name that is not an identifier could not be read back (and might not be 7-bit):
    // such an object is written as an unnamed one. Reading never uses the name anyway.
    if (IsIdentifier(object.Name)) {
      out_ += object.Name;
      out_ += ": ";
    }
    out_ += object.ClassName();
    out_ += kEol;
  }

  void Footer() {
    out_ += "end";
    out_ += kEol;
  }

  // Walks the published properties of object; path holds the names leading to it, each
  // followed by ".". The depth is the model's, never the data's.
  void Object(const TPersistent& object, std::string& path) {
    for (const PropInfo& prop : object.Properties()) {
      if (!prop.IsStored(object)) {
        continue;
      }
      const std::size_t mark = path.size();
      path += prop.name;
      if (prop.kind == PropKind::Object) {
        path += '.';
        Object(prop.getObject(object), path);
      } else {
        Property(object, prop, path);
      }
      path.resize(mark);
    }
  }

  void IntegerLine(std::string_view name, std::int64_t value) {
    out_ += "  ";
    out_ += name;
    out_ += " = ";
    out_ += std::to_string(value);
    out_ += kEol;
  }

 private:
  void Property(const TPersistent& object, const PropInfo& prop, const std::string& path) {
    out_ += "  ";
    out_ += path;
    if (prop.kind == PropKind::StringList) {
      out_ += ".Strings = (";
      for (const std::string& line : prop.getList(object)) {
        out_ += kEol;
        out_ += "    ";
        String(line, "      ");
      }
      out_ += ')';
      out_ += kEol;
      return;
    }
    out_ += " = ";
    switch (prop.kind) {
      case PropKind::String:
        String(prop.getString(object), "    ");
        break;
      case PropKind::Char: {
        std::string text;
        AppendUtf8(text, Windows1252ToUnicode(static_cast<std::uint8_t>(prop.getOrdinal(object))));
        String(text, "    ");
        break;
      }
      default:
        Ordinal(prop.kind, prop.getOrdinal(object));
        break;
    }
    out_ += kEol;
  }

  void Ordinal(PropKind kind, std::int64_t value) {
    std::optional<std::string_view> name;
    switch (kind) {
      case PropKind::Boolean:
        name = value != 0 ? "True" : "False";
        break;
      case PropKind::Color:
        name = bvrtext::ColorName(static_cast<std::int32_t>(value));
        break;
      case PropKind::Charset:
        name = bvrtext::CharsetName(value);
        break;
      case PropKind::Pitch:
        name = bvrtext::PitchName(value);
        break;
      case PropKind::FontStyle: {
        out_ += '[';
        bool first = true;
        for (const auto& style : bvrtext::kStyleNames) {
          if ((value & style.bit) != 0) {
            out_ += first ? "" : ", ";
            out_ += style.name;
            first = false;
          }
        }
        out_ += ']';
        return;
      }
      default:
        break;
    }
    if (name) {
      out_ += *name;
    } else {
      out_ += std::to_string(value);
    }
  }

  // A string value as quoted runs of printable ASCII and #-escapes of everything else (the
  // code point in decimal). Content lines hold at most kStringLineChars characters; a longer
  // value starts on a new line indented by continuationIndent, and each full line ends " +".
  // Two passes over the UTF-8 text (count, then write), so no copy of the value is made.
  void String(const std::string& text, std::string_view continuationIndent) {
    const std::size_t count = CodePointCount(text);
    if (count == 0) {
      out_ += "''";
      return;
    }
    if (count > kStringLineChars) {
      out_ += kEol;
      out_ += continuationIndent;
    }
    bool quoted = false;
    std::size_t onLine = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      if (onLine == kStringLineChars) {
        if (quoted) {
          out_ += '\'';
          quoted = false;
        }
        out_ += " +";
        out_ += kEol;
        out_ += continuationIndent;
        onLine = 0;
      }
      const char32_t c = NextUtf8(text, pos);
      if (c >= 32 && c <= 127 && c != '\'') {
        if (!quoted) {
          out_ += '\'';
          quoted = true;
        }
        out_ += static_cast<char>(c);
      } else {
        if (quoted) {
          out_ += '\'';
          quoted = false;
        }
        out_ += '#';
        out_ += std::to_string(static_cast<std::uint32_t>(c));
      }
      ++onLine;
    }
    if (quoted) {
      out_ += '\'';
    }
  }

  std::string out_;
};

}  // namespace

std::string TBvrProperties::SaveToText() const {
  Writer writer;
  writer.Header(*this);
  std::string path;
  writer.Object(*this, path);
  // The component base's design position comes after the published properties.
  if (DesignLeft != 0) {
    writer.IntegerLine("Left", DesignLeft);
  }
  if (DesignTop != 0) {
    writer.IntegerLine("Top", DesignTop);
  }
  writer.Footer();
  return writer.Take();
}

}  // namespace bvr
