// The one error type of the library: a message for the user. Raised by the library, never
// caught inside it; the user interface shows the message.
#pragma once

#include <stdexcept>
#include <string>

namespace bvr {

class EBvrError : public std::runtime_error {
 public:
  explicit EBvrError(const std::string& message) : std::runtime_error(message) {}
  // A fault of a text read from a file, on that line (from 1). The message stays as it is.
  EBvrError(const std::string& message, long long line)
      : std::runtime_error(message), line_(line) {}

  // The line of the file the fault is on; 0 when the error is not about a place in a file.
  long long Line() const { return line_; }

 private:
  long long line_ = 0;
};

// printf-like formatting of the library's message patterns, where every %s takes a string
// and every %d an integer, in order. Unknown directives are copied as they stand.
class Fmt {
 public:
  explicit Fmt(std::string pattern) : text_(std::move(pattern)) {}
  Fmt& s(const std::string& value);
  Fmt& d(long long value);
  const std::string& str() const { return text_; }
  operator std::string() const { return text_; }

 private:
  void Replace(char directive, const std::string& value);
  std::string text_;
  std::size_t pos_ = 0;
};

}  // namespace bvr
