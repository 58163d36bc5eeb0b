// Output files the commands share: the ending that chooses a format, and PNG files written
// whole or not at all.
#pragma once

#include <QImage>
#include <string>

namespace bvr::cli {

// Whether text ends with lowerSuffix (".pdf"), in any letter case.
bool EndsWith(const std::string& text, const std::string& lowerSuffix);

// As WritePngFile.
void WritePng(const QImage& image, const std::string& path);

}  // namespace bvr::cli
