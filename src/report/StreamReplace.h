// Replaces one byte string by another of the same length in a stream passed on in pieces, so
// that what follows (offsets into the stream) stays valid. A match may span pieces: the last
// few bytes are held back until the next piece or the end.
#pragma once

#include <string>
#include <string_view>

namespace bvr {

class StreamReplace {
 public:
  // to is padded with blanks or cut to the length of from.
  StreamReplace(std::string from, std::string to);

  // The bytes that may be passed on now.
  std::string Feed(std::string_view bytes);
  // The bytes still held back, at the end of the stream.
  std::string Finish();
  int Replaced() const { return replaced_; }

 private:
  std::string from_;
  std::string to_;
  std::string pending_;
  int replaced_ = 0;
};

}  // namespace bvr
