// A PDF file written front to back: numbered objects as they come, streams compressed, the
// cross-reference table at the end. Nothing is kept but each object's offset.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bvr::pdf {

// Where the bytes go. A sink that cannot take them throws.
class IPdfSink {
 public:
  virtual ~IPdfSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

class PdfObjects {
 public:
  // Writes the file header.
  explicit PdfObjects(IPdfSink& sink);

  // A new object number, to be written later (pages refer to fonts written at the end).
  int Reserve();
  // body is what goes between "n 0 obj" and "endobj".
  void Object(int number, std::string_view body);
  // A stream compressed with deflate; entries are the dictionary's other entries.
  void Stream(int number, std::string_view entries, std::string_view data);
  // The cross-reference table and trailer. Every reserved object must have been written.
  void Finish(int root, int info);

 private:
  void Put(std::string_view bytes);
  void Begin(int number);

  IPdfSink& sink_;
  std::uint64_t offset_ = 0;
  std::vector<std::uint64_t> offsets_;  // by number - 1; 0 while reserved
  std::string compressed_;              // reused from stream to stream
  std::string head_;
};

}  // namespace bvr::pdf
