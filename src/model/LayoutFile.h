// Reading layout files: the one reader of the application and the tool. Opening is all or
// nothing; a fault of the text carries its line (EBvrError::Line).
#pragma once

#include <string>
#include <string_view>

namespace bvr {

class TBvrProperties;

// The text with every line end (CR, LF or CR LF) made CR LF, as saving writes it.
std::string WithCrLfLineEnds(std::string_view bytes);

// The file's text, line ends made CR LF. Fails with "Cannot open file "%s". %s", path as
// given, also when path is not a regular file (a folder, a device, a pipe).
std::string ReadLayoutFile(const std::string& path);

// Loads text into target only when the whole text loads: it is read into a copy first, and
// on failure target and its designer stay exactly as they were (the error propagates).
void LoadLayoutAllOrNothing(TBvrProperties& target, const std::string& text);

}  // namespace bvr
