#include "cli/ImageFiles.h"

#include <cctype>

#include "report/PngFile.h"

namespace bvr::cli {

bool EndsWith(const std::string& text, const std::string& lowerSuffix) {
  if (text.size() < lowerSuffix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < lowerSuffix.size(); ++i) {
    const char c = text[text.size() - lowerSuffix.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != lowerSuffix[i]) {
      return false;
    }
  }
  return true;
}

void WritePng(const QImage& image, const std::string& path) {
  WritePngFile(image, path);
}

}  // namespace bvr::cli
