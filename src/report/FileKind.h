// Why a path that should be a regular file is refused, in the words of the tool's messages.
#pragma once

#include <sys/types.h>

#include <string>

namespace bvr {

// "it is a FIFO, not a regular file", "it is a directory, not a regular file", …
std::string NotARegularFile(mode_t mode);

}  // namespace bvr
