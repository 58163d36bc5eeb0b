#include "model/LayoutFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "model/BvrProperties.h"
#include "strings/BvrError.h"

namespace bvr {

namespace {
[[noreturn]] void CannotOpen(const std::string& path, const std::string& reason) {
  throw EBvrError(Fmt("Cannot open file \"%s\". %s").s(path).s(reason));
}
}  // namespace

std::string WithCrLfLineEnds(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + 64);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      text += "\r\n";
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
    } else {
      text += c;
    }
  }
  return text;
}

std::string ReadLayoutFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    CannotOpen(path, std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) {
    // A folder opens as an empty stream, a pipe or device would be read without end.
    CannotOpen(path, "Not a regular file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    CannotOpen(path, std::strerror(errno));
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    CannotOpen(path, std::strerror(errno));
  }
  return WithCrLfLineEnds(bytes);
}

void LoadLayoutAllOrNothing(TBvrProperties& target, const std::string& text) {
  // The copy starts as the target, so values a file does not mention end as loading into
  // the target itself would leave them.
  TBvrProperties candidate;
  candidate.Name = target.Name;
  candidate.Assign(target);
  candidate.readOnly = target.readOnly;
  candidate.Tag = target.Tag;
  candidate.DesignLeft = target.DesignLeft;
  candidate.DesignTop = target.DesignTop;
  candidate.LoadFromText(text);

  target.Assign(candidate);
  target.readOnly = candidate.readOnly;
  target.Tag = candidate.Tag;
  target.DesignLeft = candidate.DesignLeft;
  target.DesignTop = candidate.DesignTop;
  target.UpdateZones();
}

}  // namespace bvr
