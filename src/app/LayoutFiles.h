// Reading and writing layout files for the application: opening is all or nothing, saving
// replaces the file atomically.
#pragma once

#include <QString>

namespace bvr {

class TBvrProperties;

// The file's text with every line end (CR, LF or CR LF) made CR LF.
// Fails with "Cannot open file "%s". %s".
std::string ReadLayoutFile(const QString& path);

// Loads text into target only when the whole text loads: it is read into a copy first, and
// on failure target and its designer stay exactly as they were (the error propagates).
void LoadLayoutAllOrNothing(TBvrProperties& target, const std::string& text);

// Writes text through a temporary file that replaces path only once complete.
// Fails with "Cannot create file "%s". %s" or, when the disk refuses data, "Cannot write "%s":
// %s" with the reason, leaving any previous file whole.
void SaveLayoutFile(const QString& path, const std::string& text);

}  // namespace bvr
