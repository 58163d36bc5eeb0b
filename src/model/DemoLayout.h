// The demonstration layout: the layout the demonstration application starts with, kept as
// the layout-file text that saving it produces (one source of truth).
#pragma once

#include <string_view>

namespace bvr {

class TBvrProperties;

// The text, with CR LF line ends.
std::string_view DemonstrationLayoutText();

// Loads the demonstration layout into the object (as LoadFromText does).
void LoadDemonstrationLayout(TBvrProperties& properties);

}  // namespace bvr
