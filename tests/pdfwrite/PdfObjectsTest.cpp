#include <gtest/gtest.h>
#include <zlib.h>

#include <stdexcept>
#include <string>

#include "pdfwrite/PdfObjects.h"

namespace bvr::pdf {
namespace {

class StringSink final : public IPdfSink {
 public:
  void Write(std::string_view bytes) override { text += bytes; }
  std::string text;
};

std::string Inflate(const std::string& data) {
  std::string out(1 << 16, '\0');
  uLongf size = out.size();
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                       reinterpret_cast<const Bytef*>(data.data()), data.size()),
            Z_OK);
  out.resize(size);
  return out;
}

TEST(PdfObjects, TheCrossReferencePointsAtEveryObject) {
  StringSink sink;
  PdfObjects objects(sink);
  const int root = objects.Reserve();
  const int later = objects.Reserve();
  const int stream = objects.Reserve();
  objects.Stream(stream, "/Kind /Test", "q 1 0 0 1 0 0 cm Q");
  objects.Object(later, "<< /Later true >>");
  objects.Object(root, "<< /Type /Catalog >>");
  const int info = objects.Reserve();
  objects.Object(info, "<< >>");
  objects.Finish(root, info);

  const std::string& pdf = sink.text;
  const std::size_t startxref = pdf.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  const std::size_t xref = std::stoul(pdf.substr(startxref + 10));
  ASSERT_EQ(pdf.compare(xref, 12, "xref\n0 5\n000"), 0);
  // Entries of 20 bytes after the free head entry, in object order.
  std::size_t entry = xref + 9 + 20;
  for (int number = 1; number <= 4; ++number, entry += 20) {
    const std::size_t offset = std::stoul(pdf.substr(entry, 10));
    EXPECT_EQ(
        pdf.compare(offset, std::to_string(number).size() + 6, std::to_string(number) + " 0 obj"),
        0)
        << "object " << number;
  }
  EXPECT_NE(pdf.find("/Root 1 0 R /Info 4 0 R"), std::string::npos);

  const std::size_t data = pdf.find("stream\n") + 7;
  const std::size_t end = pdf.find("\nendstream", data);
  EXPECT_EQ(Inflate(pdf.substr(data, end - data)), "q 1 0 0 1 0 0 cm Q");
  EXPECT_NE(pdf.find("/Length " + std::to_string(end - data) + " /Filter /FlateDecode /Kind /Test"),
            std::string::npos);
}

TEST(PdfObjects, AnObjectMissingOrWrittenTwiceIsAnError) {
  StringSink sink;
  PdfObjects objects(sink);
  const int root = objects.Reserve();
  objects.Reserve();  // never written
  objects.Object(root, "<< >>");
  EXPECT_THROW(objects.Object(root, "<< >>"), std::logic_error);
  EXPECT_THROW(objects.Object(7, "<< >>"), std::logic_error);
  EXPECT_THROW(objects.Finish(root, root), std::logic_error);
}

}  // namespace
}  // namespace bvr::pdf
