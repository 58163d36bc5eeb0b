// Layout files for the application: opened through the library's one reader (all or
// nothing), messages naming the full path; saving replaces the file atomically.
#pragma once

#include <QString>
#include <string>

#include "model/LayoutFile.h"

namespace bvr {

// The file's text with every line end made CR LF.
// Fails with "Cannot open file "%s". %s", naming the full path.
std::string ReadLayoutFile(const QString& path);

// Writes text through a temporary file that replaces path only once complete.
// Fails with "Cannot create file "%s". %s" or, when the disk refuses data, "Cannot write "%s":
// %s" with the reason, leaving any previous file whole.
void SaveLayoutFile(const QString& path, const std::string& text);

}  // namespace bvr
