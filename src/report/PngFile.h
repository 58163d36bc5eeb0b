// A PNG file written whole or not at all.
#pragma once

#include <QImage>
#include <string>

namespace bvr {

// Encoded in memory first, so that a refused write keeps the system's reason instead of
// becoming a libpng error; then written atomically. EBvrError as WriteFileAtomically says.
void WritePngFile(const QImage& image, const std::string& path);

}  // namespace bvr
