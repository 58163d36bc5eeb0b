#include "pdfwrite/PdfObjects.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace bvr::pdf {

namespace {

// Page content is short and written once: the default level's extra squeeze costs more time
// than the bytes it saves.
constexpr int kDeflateLevel = 1;

void Deflate(std::string_view data, std::string& out) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  out.resize(size);
  const int status = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                               reinterpret_cast<const Bytef*>(data.data()),
                               static_cast<uLong>(data.size()), kDeflateLevel);
  if (status != Z_OK) {
    throw std::runtime_error("PDF: a stream could not be compressed");
  }
  out.resize(size);
}

}  // namespace

PdfObjects::PdfObjects(IPdfSink& sink) : sink_(sink) {
  // The binary comment tells transfer programs that the file is not text.
  Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

int PdfObjects::Reserve() {
  offsets_.push_back(0);
  return static_cast<int>(offsets_.size());
}

void PdfObjects::Put(std::string_view bytes) {
  sink_.Write(bytes);
  offset_ += bytes.size();
}

void PdfObjects::Begin(int number) {
  if (number < 1 || static_cast<std::size_t>(number) > offsets_.size() ||
      offsets_[static_cast<std::size_t>(number) - 1] != 0) {
    throw std::logic_error("PDF: object written twice or never reserved");
  }
  offsets_[static_cast<std::size_t>(number) - 1] = offset_;
  head_ = std::to_string(number);
  head_ += " 0 obj\n";
  Put(head_);
}

void PdfObjects::Object(int number, std::string_view body) {
  Begin(number);
  Put(body);
  Put("\nendobj\n");
}

void PdfObjects::Stream(int number, std::string_view entries, std::string_view data) {
  Deflate(data, compressed_);
  Begin(number);
  head_ = "<< /Length ";
  head_ += std::to_string(compressed_.size());
  head_ += " /Filter /FlateDecode";
  if (!entries.empty()) {
    head_ += ' ';
    head_ += entries;
  }
  head_ += " >>\nstream\n";
  Put(head_);
  Put(compressed_);
  Put("\nendstream\nendobj\n");
}

void PdfObjects::Finish(int root, int info) {
  for (const std::uint64_t offset : offsets_) {
    if (offset == 0) {
      throw std::logic_error("PDF: an object was reserved but never written");
    }
  }
  const std::uint64_t xref = offset_;
  std::string table = "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
  std::array<char, 24> entry{};
  for (const std::uint64_t offset : offsets_) {
    std::snprintf(entry.data(), entry.size(), "%010llu 00000 n \n",
                  static_cast<unsigned long long>(offset));
    table += entry.data();
  }
  table += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
           std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
  Put(table);
}

}  // namespace bvr::pdf
