// Fuzz target of the layout reader: any bytes either load or end in the reader's message;
// whatever loads must survive saving, loading into a fresh object and saving again unchanged,
// and its saved text must be 7-bit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/BvrProperties.h"
#include "strings/BvrError.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "layout_reader_fuzz: %s\n--- saved text ---\n%s\n", what, text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bvr::TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  try {
    layout.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const bvr::EBvrError&) {
    return 0;
  }
  const std::string saved = layout.SaveToText();
  for (const char c : saved) {
    if (static_cast<unsigned char>(c) > 127) {
      Fail("saved text holds a byte above 127", saved);
    }
  }
  bvr::TBvrProperties copy;
  copy.Name = layout.Name;
  try {
    copy.LoadFromText(saved);
  } catch (const bvr::EBvrError& e) {
    Fail(e.what(), saved);
  }
  if (copy.SaveToText() != saved) {
    Fail("saving the reloaded layout gives another text", saved);
  }
  return 0;
}
