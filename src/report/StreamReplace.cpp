#include "report/StreamReplace.h"

#include <algorithm>

namespace bvr {

StreamReplace::StreamReplace(std::string from, std::string to)
    : from_(std::move(from)), to_(std::move(to)) {
  to_.resize(from_.size(), ' ');
}

std::string StreamReplace::Feed(std::string_view bytes) {
  pending_.append(bytes);
  if (from_.empty()) {
    return Finish();
  }
  std::size_t searched = 0;  // past the last replacement: never matched again
  for (std::size_t pos = pending_.find(from_); pos != std::string::npos;
       pos = pending_.find(from_, pos)) {
    pending_.replace(pos, from_.size(), to_);
    pos += from_.size();
    searched = pos;
    ++replaced_;
  }
  // Hold back what could still be the start of a match.
  const std::size_t keep = std::min(pending_.size() - searched, from_.size() - 1);
  std::string out = pending_.substr(0, pending_.size() - keep);
  pending_.erase(0, pending_.size() - keep);
  return out;
}

std::string StreamReplace::Finish() {
  std::string out;
  out.swap(pending_);
  return out;
}

}  // namespace bvr
