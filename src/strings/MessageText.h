// Text from a file or the command line echoed into a message: on one line, and never bytes a
// terminal would act on or could not show.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bvr {

// text with control characters (line breaks included), DEL and bytes that are not part of
// well-formed UTF-8 written as \xNN; cut after maxBytes of text, then "...".
std::string EscapedForMessage(std::string_view text, std::size_t maxBytes = 200);

}  // namespace bvr
