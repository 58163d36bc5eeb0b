#include "strings/BvrError.h"

namespace bvr {

void Fmt::Replace(char directive, const std::string& value) {
  while (pos_ + 1 < text_.size()) {
    std::size_t at = text_.find('%', pos_);
    if (at == std::string::npos || at + 1 >= text_.size()) {
      break;
    }
    if (text_[at + 1] == directive) {
      text_.replace(at, 2, value);
      pos_ = at + value.size();
      return;
    }
    pos_ = at + 1;
  }
}

Fmt& Fmt::s(const std::string& value) {
  Replace('s', value);
  return *this;
}

Fmt& Fmt::d(long long value) {
  Replace('d', std::to_string(value));
  return *this;
}

}  // namespace bvr
